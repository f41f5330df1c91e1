#include "latency/NetworkSetupPage.h"

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

TNetworkSetupPage::TNetworkSetupPage(TNetworkChain &chain, QWidget *parent)
    : QWidget(parent)
    , FChain(chain)
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

    GuardedConnect(&FChain, &TNetworkChain::ElementInserted, this, &TNetworkSetupPage::ElementInserted);
    GuardedConnect(&FChain, &TNetworkChain::ElementRemoved, this, &TNetworkSetupPage::ElementRemoved);
    GuardedConnect(&FChain, &TNetworkChain::ElementsSwapped, this, &TNetworkSetupPage::ElementsSwapped);
    GuardedConnect(&FChain, &TNetworkChain::CellChanged, this, &TNetworkSetupPage::CellChanged);
    GuardedConnect(&FChain, &TNetworkChain::ElementSelected, this, &TNetworkSetupPage::ElementSelected);
    GuardedConnect(&FChain, &TNetworkChain::ElementChanged, this, &TNetworkSetupPage::ElementChanged);
    GuardedConnect(&FChain, &TNetworkChain::CommandsChanged, this, &TNetworkSetupPage::UpdateCommands);

    // The chain as it is now: the nodes, and whatever networks it holds.
    const QList<TNetworkElement *> elements = FChain.Elements();
    for (qsizetype i = 0; i < elements.size(); ++i) {
        TNetworkElement *element = elements.at(i);
        if (element == FChain.NodeA())
            DesktopNetworkButton = AddButton(element, QStringLiteral("DesktopNetworkButton"));
        else if (element == FChain.NodeB())
            TowerNetworkButton = AddButton(element, QStringLiteral("TowerNetworkButton"));
        else
            AddButton(element, QStringLiteral("NetworkButton"));
        if (i >= 1 && i + 1 < elements.size())
            RemoveNetwork1->addAction(new QAction(RemoveNetwork1));
    }
    UpdateCommands();
    UpdateLayoutDescription();
}

TNetworkSetupPage::~TNetworkSetupPage() = default;

TNetworkButton *TNetworkSetupPage::AddButton(TNetworkElement *element, const QString &name)
{
    auto *button = new TNetworkButton(element, NetworkSetupPanel);
    button->setObjectName(name);
    PlaceButton(button);
    GuardedConnect(button, &TNetworkButton::MouseDown, this, [this](TNetworkButton *sender, Qt::MouseButton pressed) {
        NetworkButtonMouseDown(sender, pressed);
    });
    GuardedConnect(button, &TNetworkButton::DragOver, this, [this](TNetworkButton *sender, QDragMoveEvent *event) {
        if (NetworkButtonDragOver(sender, DraggedNetworkButton(event->mimeData())))
            event->acceptProposedAction();
    });
    GuardedConnect(button, &TNetworkButton::DragDrop, this, [this](TNetworkButton *sender, QDropEvent *event) {
        // The dragged network already sits in its cell; a drop where the
        // drag could go only ends the drag.
        const TNetworkButton *dragged = DraggedNetworkButton(event->mimeData());
        if (dragged && FChain.AcceptsDropOn(sender->Element(), dragged->Element()))
            event->acceptProposedAction();
    });
    GuardedConnect(button, &TNetworkButton::StartDrag, this, &TNetworkSetupPage::NetworkButtonStartDrag);
    GuardedConnect(button, &TNetworkButton::EndDrag, this, &TNetworkSetupPage::NetworkButtonEndDrag);
    GuardedConnect(button, &TNetworkButton::OnRemove, this, &TNetworkSetupPage::NetworkButtonRemove);
    GuardedConnect(button, &TNetworkButton::PropertiesRequested, this,
                   [this](TNetworkButton *sender) { emit PropertiesRequested(sender->Element()); });
    FButtons.insert(element, button);
    UpdateRemoveCommand(element);
    return button;
}

void TNetworkSetupPage::PlaceButton(TNetworkButton *button)
{
    button->move(CellOrigin(FChain.Cell(button->Element())));
}

TNetworkButton *TNetworkSetupPage::NetworkButton(const TNetworkElement *element) const
{
    return FButtons.value(element, nullptr);
}

void TNetworkSetupPage::PaintNetworkLinks(QPainter &canvas)
{
    const TNetworkChain &chain = FChain;
    QPolygon line;
    for (const TNetworkElement *element : chain.Elements())
        line << CellOrigin(chain.Cell(element)) + QPoint(HalfButton, HalfButton);
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(QPen(palette().color(QPalette::WindowText), 2));
    canvas.drawPolyline(line);
}

void TNetworkSetupPage::ElementInserted(int index, TNetworkElement *element)
{
    TNetworkButton *button = AddButton(element, QStringLiteral("NetworkButton"));
    button->show();
    NetworkSetupPanel->ClearCanvas();
    RemoveNetwork1->insertAction(RemoveNetwork1->actions().value(index - 1, nullptr), new QAction(RemoveNetwork1));
    NetworkSetupPanel->update();
    UpdateLayoutDescription();
}

void TNetworkSetupPage::ElementRemoved(int index, TNetworkElement *element)
{
    const QList<QAction *> items = RemoveNetwork1->actions();
    if (index >= 1 && index - 1 < items.size()) {
        // The item may be the one being triggered right now.
        QAction *item = items[index - 1];
        if (RemoveNetwork1->defaultAction() == item)
            RemoveNetwork1->setDefaultAction(nullptr);
        RemoveNetwork1->removeAction(item);
        item->deleteLater();
    }
    NetworkSetupPanel->ClearCanvas();
    // The button may be the one whose "Remove" is running right now.
    if (TNetworkButton *button = FButtons.take(element)) {
        button->Detach();
        button->hide();
        button->deleteLater();
    }
    NetworkSetupPanel->update();
    UpdateLayoutDescription();
}

void TNetworkSetupPage::ElementsSwapped(int left, int right)
{
    TNetworkButton *first = NetworkButton(FChain.Element(left));
    TNetworkButton *second = NetworkButton(FChain.Element(right));
    if (!first || !second)
        return;
    first->hide();
    second->hide();
    PlaceButton(first);
    PlaceButton(second);
    first->show();
    second->show();
    NetworkSetupPanel->update();
    UpdateLayoutDescription();
}

void TNetworkSetupPage::CellChanged(TNetworkElement *element)
{
    if (TNetworkButton *button = NetworkButton(element)) {
        PlaceButton(button);
        NetworkSetupPanel->update();
    }
}

void TNetworkSetupPage::ElementSelected(TNetworkElement *element)
{
    // Fails quietly while the page is not shown; the focus stays where it was.
    if (TNetworkButton *button = NetworkButton(element))
        button->setFocus(Qt::OtherFocusReason);
    MoveNetworkLeftButton->setEnabled(FChain.CanMoveLeft());
    MoveNetworkRightButton->setEnabled(FChain.CanMoveRight());
}

void TNetworkSetupPage::ElementChanged(TNetworkElement *element)
{
    if (TNetworkButton *button = NetworkButton(element))
        button->Refresh();
    // A network kind would offer "Remove" even for a sole network.
    UpdateRemoveCommand(element);
    UpdateLayoutDescription();
}

void TNetworkSetupPage::UpdateCommands()
{
    for (TNetworkElement *element : FChain.Elements())
        UpdateRemoveCommand(element);
    RemoveNetwork1->menuAction()->setVisible(FChain.NetworkCount() >= 2);
    NewNetworkButton->setEnabled(FChain.CanInsert());
    NewNetwork1->setEnabled(FChain.CanInsert());
}

void TNetworkSetupPage::UpdateRemoveCommand(TNetworkElement *element)
{
    TNetworkButton *button = NetworkButton(element);
    if (!button)
        return;
    if (FChain.CanRemove(element))
        button->ShowRemoveCommand();
    else
        button->HideRemoveCommand();
}

void TNetworkSetupPage::UpdateLayoutDescription()
{
    const TNetworkChain &chain = FChain;
    QStringList names;
    for (const TNetworkElement *element : chain.Elements())
        names << element->DisplayName();
    SetAccessibleDescriptionText(NetworkSetupPanel, names.join(QStringLiteral(", then ")));
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
    FChain.Insert();
}

void TNetworkSetupPage::NetworkButtonRemove(TNetworkButton *sender)
{
    FChain.Remove(sender->Element());
}

void TNetworkSetupPage::RemoveNetwork1Click()
{
    const QList<QAction *> items = RemoveNetwork1->actions();
    for (qsizetype k = 0; k < items.size() && k + 1 < FChain.Count(); ++k) {
        const QString &name = std::as_const(FChain).Element(int(k) + 1)->DisplayName();
        items[k]->setText(MenuText(QStringLiteral("%1.  %2").arg(k + 1).arg(name)));
    }
    // While a node is selected the default item stays as it was.
    const int selected = FChain.IndexOf(FChain.Selected());
    if (FChain.IsNetwork(FChain.Selected()) && selected - 1 < items.size())
        RemoveNetwork1->setDefaultAction(items[selected - 1]);
}

void TNetworkSetupPage::RemoveSubmenuClick(QAction *item)
{
    const int k = int(RemoveNetwork1->actions().indexOf(item));
    if (k >= 0 && k + 1 < FChain.Count() - 1)
        FChain.Remove(FChain.Element(k + 1));
}

void TNetworkSetupPage::ResetNetworkButtonClick()
{
    FChain.Reset();
}

void TNetworkSetupPage::MoveNetworkButtonClick(QObject *sender)
{
    if (sender == MoveNetworkLeftButton)
        FChain.MoveLeft();
    else
        FChain.MoveRight();
}

void TNetworkSetupPage::NetworkButtonMouseDown(TNetworkButton *sender, Qt::MouseButton button)
{
    TNetworkElement *element = sender->Element();
    FChain.Select(element);
    if (button == Qt::LeftButton && FChain.CanDrag(element))
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
    // The target cell is not checked: the element may cover another one.
    const auto *button = qobject_cast<TNetworkButton *>(source);
    return button && FChain.MoveToCell(button->Element(), CellAt(pos));
}

bool TNetworkSetupPage::NetworkButtonDragOver(TNetworkButton *sender, QObject *source)
{
    const auto *dragged = qobject_cast<TNetworkButton *>(source);
    if (!dragged || !FChain.AcceptsDropOn(sender->Element(), dragged->Element()))
        return false;
    sender->setCursor(Qt::DragMoveCursor);
    return true;
}

void TNetworkSetupPage::NetworkButtonEndDrag(TNetworkButton *sender)
{
    // Every network the pointer crossed showed the drag cursor; none keeps it.
    sender->unsetCursor();
    for (TNetworkButton *button : std::as_const(FButtons))
        button->unsetCursor();
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

