#include "latency/NetworkSetupPage.h"

#include <algorithm>

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

#include "controls/AccessibleDisplays.h"
#include "controls/Artwork.h"
#include "controls/Guarded.h"
#include "controls/VorlPanels.h"
#include "latency/NetworkButton.h"
#include "latency/NetworkButtonForm.h"
#include "latency/NetworkChain.h"

namespace {

constexpr int HalfButton = 25; // centre of a 50-pixel element

// A menu caption shows "&" literally.
QString MenuText(const QString &text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

TNetworkSetupPage::TNetworkSetupPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("NetworkSetupTabSheet"));

    NetworkSetupPanel = new TCanvasPanel(this);
    NetworkSetupPanel->setObjectName(QStringLiteral("NetworkSetupPanel"));
    NetworkSetupPanel->setGeometry(0, 0, 268, 257);
    NetworkSetupPanel->setAcceptDrops(true);
    NetworkSetupPanel->setContextMenuPolicy(Qt::CustomContextMenu);
    // A picture for assistive technology; its description is the chain.
    NetworkSetupPanel->setAccessibleName(QStringLiteral("Network layout"));
    GuardedConnect(NetworkSetupPanel, &TVorlCustomPanel::OnPaint, this, &TNetworkSetupPage::NetworkSetupPanelPaint);
    GuardedConnect(NetworkSetupPanel, &TCanvasPanel::DragEnter, this, [this](TCanvasPanel *, QDragEnterEvent *event) {
        if (NetworkSetupPanelDragOver(DraggedNetworkButton(event->mimeData()), event->position().toPoint()))
            event->acceptProposedAction();
    });
    GuardedConnect(NetworkSetupPanel, &TCanvasPanel::DragOver, this,
                   [this](TCanvasPanel *, QDragMoveEvent *event) { PanelDragOver(event); });
    GuardedConnect(NetworkSetupPanel, &TCanvasPanel::DragDrop, this, [](TCanvasPanel *, QDropEvent *event) {
        // The element already sits in its cell; the drop only ends the drag.
        if (DraggedNetworkButton(event->mimeData()))
            event->acceptProposedAction();
    });

    NetworkSetupPopupMenu = new QMenu(this);
    NetworkSetupPopupMenu->setObjectName(QStringLiteral("NetworkSetupPopupMenu"));
    NewNetwork1 = NetworkSetupPopupMenu->addAction(QStringLiteral("&Insert Network"));
    NewNetwork1->setObjectName(QStringLiteral("NewNetwork1"));
    RemoveNetwork1 = new QMenu(QStringLiteral("&Remove Network"), NetworkSetupPopupMenu);
    RemoveNetwork1->setObjectName(QStringLiteral("RemoveNetwork1"));
    NetworkSetupPopupMenu->addMenu(RemoveNetwork1);
    RemoveNetwork1->menuAction()->setVisible(false);
    GuardedConnect(NewNetwork1, &QAction::triggered, this, &TNetworkSetupPage::NewNetworkButtonClick);
    GuardedConnect(RemoveNetwork1, &QMenu::aboutToShow, this, &TNetworkSetupPage::RemoveNetwork1Click);
    GuardedConnect(RemoveNetwork1, &QMenu::triggered, this, &TNetworkSetupPage::RemoveSubmenuClick);
    GuardedConnect(NetworkSetupPanel, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        NetworkSetupPopupMenu->popup(NetworkSetupPanel->mapToGlobal(pos));
    });

    const auto button = [this](const char *name, const QString &caption, const QString &hint,
                               const QRect &geometry) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(geometry);
        b->setToolTip(hint);
        b->setAutoDefault(false);
        return b;
    };
    MoveNetworkLeftButton = button("MoveNetworkLeftButton", QStringLiteral("<<"),
                                   QStringLiteral("Move currently selected network left"), QRect(8, 260, 21, 25));
    NewNetworkButton = button("NewNetworkButton", QStringLiteral("&Insert Network"),
                              QStringLiteral("Insert new network before currently selected network"),
                              QRect(33, 260, 83, 25));
    ResetNetworkButton = button("ResetNetworkButton", QStringLiteral("&Reset Layout"),
                                QStringLiteral("Clear all networks"), QRect(152, 260, 83, 25));
    MoveNetworkRightButton = button("MoveNetworkRightButton", QStringLiteral(">>"),
                                    QStringLiteral("Move currently selected network right"), QRect(239, 260, 21, 25));
    MoveNetworkLeftButton->setAccessibleName(MoveNetworkLeftButton->toolTip());
    MoveNetworkRightButton->setAccessibleName(MoveNetworkRightButton->toolTip());

    CopyNetworkSetupButton = CreateCopyButton(this, "CopyNetworkSetupButton",
                                              QStringLiteral("Copy network setup to clipboard"), QRect(121, 260, 25, 25));
    // A stop in the page's tab order, between Insert and Reset.
    CopyNetworkSetupButton->setFocusPolicy(Qt::TabFocus);

    GuardedConnect(MoveNetworkLeftButton, &QPushButton::clicked, this,
                   [this] { MoveNetworkButtonClick(MoveNetworkLeftButton); });
    GuardedConnect(MoveNetworkRightButton, &QPushButton::clicked, this,
                   [this] { MoveNetworkButtonClick(MoveNetworkRightButton); });
    GuardedConnect(NewNetworkButton, &QPushButton::clicked, this, &TNetworkSetupPage::NewNetworkButtonClick);
    GuardedConnect(ResetNetworkButton, &QPushButton::clicked, this, &TNetworkSetupPage::ResetNetworkButtonClick);
    GuardedConnect(CopyNetworkSetupButton, &QToolButton::clicked, this,
                   &TNetworkSetupPage::CopyNetworkSetupButtonClick);

    FNetworkList.reserve(MaxElements);
    DesktopNetworkButton = CreateNode("DesktopNetworkButton", TNetworkButtonKind::nbDesktopCPU,
                                      QStringLiteral("Node A"), QPoint(8, 8));
    TowerNetworkButton = CreateNode("TowerNetworkButton", TNetworkButtonKind::nbTowerCPU,
                                    QStringLiteral("Node B"), QPoint(210, 200));
    FNetworkList << DesktopNetworkButton << TowerNetworkButton;
    FSelectedButton = TowerNetworkButton;
    UpdateLayoutDescription();
}

TNetworkSetupPage::~TNetworkSetupPage() = default;

TNetworkButton *TNetworkSetupPage::CreateNode(const char *name, TNetworkButtonKind kind, const QString &caption,
                                              const QPoint &position)
{
    auto *node = new TNetworkButton(NetworkSetupPanel);
    node->setObjectName(QLatin1String(name));
    node->SetNetworkButtonKind(kind);
    node->NetworkName = caption;
    node->move(position);
    node->SetInLayout(true);
    node->RebuildDisplayName();
    GuardedConnect(node, &TNetworkButton::MouseDown, this,
                   [this](TNetworkButton *sender, Qt::MouseButton button) { NetworkButtonMouseDown(sender, button); });
    return node;
}

int TNetworkSetupPage::SnapToGrid(int coordinate, Qt::Orientation axis)
{
    return ::SnapToGrid(coordinate, axis);
}

void TNetworkSetupPage::PlaceNetworkButton(TNetworkButton *element)
{
    for (int row = 1; row <= 4; ++row) {
        const int top = SnapToGrid(60 * row, Qt::Vertical);
        for (int column = 1; column <= 4; ++column) {
            const int left = SnapToGrid(60 * column, Qt::Horizontal);
            const bool occupied = std::any_of(FNetworkList.cbegin(), FNetworkList.cend(),
                                              [&](const TNetworkButton *other) {
                                                  return other != element && other->x() == left && other->y() == top;
                                              });
            if (!occupied) {
                element->move(left, top);
                return;
            }
        }
    }
}

void TNetworkSetupPage::SelectNetworkButton(TNetworkButton *element)
{
    if (!element)
        return;
    FSelectedButton = element;
    element->setFocus(Qt::OtherFocusReason);
    const qsizetype i = FNetworkList.indexOf(element);
    const qsizetype n = FNetworkList.size();
    MoveNetworkLeftButton->setEnabled(i >= 2 && i <= n - 2);
    MoveNetworkRightButton->setEnabled(i >= 1 && i <= n - 3);
    TNetworkButtonForm *form = TNetworkButtonForm::GetNetworkButtonForm(false);
    if (form && form->isVisible())
        form->EditNetworkButton(element);
}

void TNetworkSetupPage::PaintNetworkLinks(QPainter &canvas)
{
    if (FNetworkList.isEmpty())
        return;
    QPolygon line;
    for (const TNetworkButton *element : std::as_const(FNetworkList))
        line << element->pos() + QPoint(HalfButton, HalfButton);
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(QPen(palette().color(QPalette::WindowText), 2));
    canvas.drawPolyline(line);
}

void TNetworkSetupPage::UpdateRemoveCommands()
{
    const bool several = FNetworkList.size() > 3;
    for (qsizetype i = 1; i + 1 < FNetworkList.size(); ++i) {
        if (several)
            FNetworkList[i]->ShowRemoveCommand();
        else
            FNetworkList[i]->HideRemoveCommand();
    }
    RemoveNetwork1->menuAction()->setVisible(several);
    SetInsertEnabled(FNetworkList.size() < MaxElements);
}

QList<TNetworkElement *> TNetworkSetupPage::Chain() const
{
    QList<TNetworkElement *> chain;
    chain.reserve(FNetworkList.size());
    for (TNetworkButton *element : FNetworkList)
        chain << element;
    return chain;
}

void TNetworkSetupPage::SetLatencyDirty()
{
    FLatencyDirty = true;
    UpdateLayoutDescription();
    emit LatencyDirtied();
}

void TNetworkSetupPage::UpdateLayoutDescription()
{
    QStringList names;
    for (const TNetworkButton *element : std::as_const(FNetworkList))
        names << element->DisplayName();
    SetAccessibleDescriptionText(NetworkSetupPanel, names.join(QStringLiteral(", then ")));
}

void TNetworkSetupPage::SetInsertEnabled(bool enabled)
{
    NewNetworkButton->setEnabled(enabled);
    NewNetwork1->setEnabled(enabled);
}

void TNetworkSetupPage::NetworkSetupTabSheetEnter()
{
    emit CopyTargetChanged(CopyNetworkSetupButton);
}

void TNetworkSetupPage::NetworkSetupTabSheetExit()
{
    emit CopyEnabledChanged(false);
}

void TNetworkSetupPage::NewNetworkButtonClick()
{
    if (FNetworkList.size() >= MaxElements)
        return;

    auto *element = new TNetworkButton(NetworkSetupPanel);
    element->setObjectName(QStringLiteral("NetworkButton"));
    GuardedConnect(element, &TNetworkButton::DragOver, this,
                   [this](TNetworkButton *sender, QDragMoveEvent *event) {
                       if (NetworkButtonDragOver(sender, DraggedNetworkButton(event->mimeData())))
                           event->acceptProposedAction();
                   });
    GuardedConnect(element, &TNetworkButton::EndDrag, this, &TNetworkSetupPage::NetworkButtonEndDrag);
    GuardedConnect(element, &TNetworkButton::MouseDown, this,
                   [this](TNetworkButton *sender, Qt::MouseButton button) { NetworkButtonMouseDown(sender, button); });
    GuardedConnect(element, &TNetworkButton::OnRemove, this, &TNetworkSetupPage::NetworkButtonRemove);
    GuardedConnect(element, &TNetworkButton::StartDrag, this, &TNetworkSetupPage::NetworkButtonStartDrag);

    PlaceNetworkButton(element);
    element->show();
    NetworkSetupPanel->ClearCanvas();

    qsizetype index = FSelectedButton == DesktopNetworkButton ? 1 : FNetworkList.indexOf(FSelectedButton);
    if (index < 1)
        index = FNetworkList.size() - 1;
    FNetworkList.insert(index, element);
    element->SetInLayout(true);
    NetworkSetupPanel->update();
    SelectNetworkButton(element);

    auto *item = new QAction(RemoveNetwork1);
    const QList<QAction *> items = RemoveNetwork1->actions();
    RemoveNetwork1->insertAction(items.value(index - 1, nullptr), item);

    switch (FNetworkList.size()) {
    case 3:
        element->HideRemoveCommand();
        break;
    case 4:
        FNetworkList[1]->ShowRemoveCommand();
        FNetworkList[2]->ShowRemoveCommand();
        RemoveNetwork1->menuAction()->setVisible(true);
        break;
    case MaxElements:
        SetInsertEnabled(false);
        break;
    default:
        break;
    }
    SetLatencyDirty();
}

void TNetworkSetupPage::NetworkButtonRemove(TNetworkButton *sender)
{
    const qsizetype a = FNetworkList.indexOf(sender);
    // The last network stays, and the nodes are never removed.
    if (FNetworkList.size() > 3 && a >= 1 && a <= FNetworkList.size() - 2) {
        const QList<QAction *> items = RemoveNetwork1->actions();
        if (a - 1 < items.size()) {
            // The item may be the one being triggered right now.
            QAction *item = items[a - 1];
            if (RemoveNetwork1->defaultAction() == item)
                RemoveNetwork1->setDefaultAction(nullptr);
            RemoveNetwork1->removeAction(item);
            item->deleteLater();
        }
        NetworkSetupPanel->ClearCanvas();
        sender->hide();
        sender->SetInLayout(false);
        FNetworkList.removeAt(a);
        NetworkSetupPanel->update();
        SelectNetworkButton(FNetworkList[a]);
        if (FNetworkList.size() == 3) {
            RemoveNetwork1->menuAction()->setVisible(false);
            FNetworkList[1]->HideRemoveCommand();
        }
        SetInsertEnabled(true);
    }
    SetLatencyDirty();
}

void TNetworkSetupPage::RemoveNetwork1Click()
{
    const QList<QAction *> items = RemoveNetwork1->actions();
    for (qsizetype k = 0; k < items.size() && k + 1 < FNetworkList.size(); ++k)
        items[k]->setText(MenuText(QStringLiteral("%1.  %2").arg(k + 1).arg(FNetworkList[k + 1]->DisplayName())));
    const qsizetype selected = FNetworkList.indexOf(FSelectedButton);
    if (FSelectedButton && !FSelectedButton->IsNode() && selected >= 1 && selected - 1 < items.size())
        RemoveNetwork1->setDefaultAction(items[selected - 1]);
}

void TNetworkSetupPage::RemoveSubmenuClick(QAction *item)
{
    const qsizetype k = RemoveNetwork1->actions().indexOf(item);
    if (k < 0 || k + 1 >= FNetworkList.size() - 1)
        return;
    TNetworkButton *element = FNetworkList[k + 1];
    NetworkButtonRemove(element);
    if (!element->InLayout())
        element->deleteLater();
}

void TNetworkSetupPage::ResetNetworkButtonClick()
{
    const auto removeFirstNetwork = [this] {
        TNetworkButton *element = FNetworkList[1];
        element->DoRemove();
        if (!element->InLayout())
            delete element;
    };
    while (FNetworkList.size() > 3)
        removeFirstNetwork();
    SelectNetworkButton(TowerNetworkButton);
    NewNetworkButtonClick();
    removeFirstNetwork();
    SetLatencyDirty();
    NetworkSetupPanel->update();
}

void TNetworkSetupPage::MoveNetworkButtonClick(QObject *sender)
{
    if (!FSelectedButton || FSelectedButton->IsNode())
        return;
    const qsizetype i = FNetworkList.indexOf(FSelectedButton);
    const qsizetype j = sender == MoveNetworkLeftButton ? i - 1 : i + 1;
    if (i < 0 || j < 0 || j >= FNetworkList.size() || FNetworkList[j]->IsNode())
        return;
    TNetworkButton *other = FNetworkList[j];
    const QPoint position = FSelectedButton->pos();
    FSelectedButton->hide();
    other->hide();
    FSelectedButton->move(other->pos());
    other->move(position);
    FSelectedButton->show();
    other->show();
    FNetworkList.swapItemsAt(i, j);
    NetworkSetupPanel->update();
    UpdateLayoutDescription();
    SelectNetworkButton(FSelectedButton);
}

void TNetworkSetupPage::NetworkButtonMouseDown(TNetworkButton *sender, Qt::MouseButton button)
{
    SelectNetworkButton(sender);
    if (button == Qt::LeftButton && !sender->IsNode())
        sender->BeginDrag(DragThreshold);
}

void TNetworkSetupPage::NetworkButtonStartDrag(TNetworkButton *sender)
{
    // The lines would trail behind the element; they return when it lands.
    NetworkSetupPanel->ClearCanvas();
    NetworkSetupPanel->SetGenerateOnPaint(false);
    sender->raise();
}

bool TNetworkSetupPage::NetworkSetupPanelDragOver(QObject *source, const QPoint &pos)
{
    auto *element = qobject_cast<TNetworkButton *>(source);
    if (!element || element->IsNode() || !FNetworkList.contains(element))
        return false;
    // The target cell is not checked: the element may cover another one.
    element->move(SnapToGrid(pos.x(), Qt::Horizontal), SnapToGrid(pos.y(), Qt::Vertical));
    return true;
}

bool TNetworkSetupPage::NetworkButtonDragOver(TNetworkButton *sender, QObject *source)
{
    if (!qobject_cast<TNetworkButton *>(source))
        return false;
    sender->setCursor(Qt::DragMoveCursor);
    return true;
}

void TNetworkSetupPage::NetworkButtonEndDrag(TNetworkButton *sender)
{
    // Every network the pointer crossed showed the drag cursor; none keeps it.
    sender->unsetCursor();
    for (TNetworkButton *element : std::as_const(FNetworkList))
        element->unsetCursor();
    NetworkSetupPanel->SetGenerateOnPaint(true);
    NetworkSetupPanel->update();
}

void TNetworkSetupPage::PanelDragOver(QDragMoveEvent *event)
{
    if (NetworkSetupPanelDragOver(DraggedNetworkButton(event->mimeData()), event->position().toPoint()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TNetworkSetupPage::NetworkSetupPanelPaint(TVorlCustomPanel *sender, QPainter *canvas)
{
    Q_UNUSED(sender);
    PaintNetworkLinks(*canvas);
}

void TNetworkSetupPage::CopyNetworkSetupButtonClick()
{
    NetworkSetupPanel->CopyRectToClipboard(NetworkSetupPanel->GetInnerRect());
}

void TNetworkSetupPage::NetworkButtonFormApply()
{
    SetLatencyDirty();
    // Applying a kind shows "Remove"; a sole network must not offer it.
    UpdateRemoveCommands();
}
