#include "latency/NetworkButton.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTextDocument>

#include "controls/Artwork.h"
#include "controls/Guarded.h"

namespace {

// Stand-in picture while a kind's artwork is missing: the picture name's
// initials on a framed square, so the element is still recognisable.
QIcon FallbackPicture(TNetworkButtonKind kind)
{
    QPixmap pixmap(TNetworkButton::PictureSize, TNetworkButton::PictureSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, NetworkButtonPictureName(kind).left(4));
    return QIcon(pixmap);
}

} // namespace

TNetworkButton::TNetworkButton(TNetworkElement *element, QWidget *parent)
    : QPushButton(parent)
    , FElement(element)
{
    resize(ButtonSize, ButtonSize);
    setIconSize(QSize(PictureSize, PictureSize));
    setAutoDefault(false);
    // A drag over the element is the element's to answer (a node refuses
    // it, a network takes it without moving); a widget that does not take
    // drops would pass it to the panel, which moves the dragged network
    // into the element's cell.
    setAcceptDrops(true);

    FElementMenu = new QMenu(this);
    FElementMenu->setObjectName(QStringLiteral("ElementMenu"));
    FPropertiesItem = FElementMenu->addAction(QStringLiteral("Properties..."));
    FPropertiesItem->setObjectName(QStringLiteral("PropertiesItem"));
    FSeparatorItem = FElementMenu->addSeparator();
    FSeparatorItem->setObjectName(QStringLiteral("SeparatorItem"));
    FRemoveItem = FElementMenu->addAction(QStringLiteral("Remove"));
    FRemoveItem->setObjectName(QStringLiteral("RemoveItem"));
    GuardedConnect(FPropertiesItem, &QAction::triggered, this, [this] { emit PropertiesRequested(this); });
    GuardedConnect(FRemoveItem, &QAction::triggered, this, &TNetworkButton::DoRemove);

    Refresh();
}

TNetworkButton::~TNetworkButton() = default;

void TNetworkButton::Refresh()
{
    if (!FElement)
        return;
    if (FPictureKind != FElement->NetworkButtonKind())
        LoadPicture(FElement->NetworkButtonKind());
    // A tooltip reads text that looks like markup as markup; a typed
    // topology name is shown as typed.
    const QString &name = FElement->DisplayName();
    const QString tip = Qt::mightBeRichText(name)
                            ? QStringLiteral("<p style='white-space:pre'>%1</p>").arg(name.toHtmlEscaped())
                            : name;
    if (toolTip() != tip)
        setToolTip(tip);
    // Every write of the name is announced to assistive technology.
    if (accessibleName() != name)
        setAccessibleName(name);
}

void TNetworkButton::ShowRemoveCommand()
{
    FSeparatorItem->setVisible(true);
    FRemoveItem->setVisible(true);
}

void TNetworkButton::HideRemoveCommand()
{
    FSeparatorItem->setVisible(false);
    FRemoveItem->setVisible(false);
}

bool TNetworkButton::RemoveCommandVisible() const
{
    return FRemoveItem->isVisible();
}

void TNetworkButton::DoRemove()
{
    emit OnRemove(this);
}

void TNetworkButton::BeginDrag(int threshold)
{
    FDragThreshold = qMax(threshold, 0);
}

void TNetworkButton::mousePressEvent(QMouseEvent *event)
{
    FDragThreshold = -1;
    FDragStart = event->position().toPoint();
    QPushButton::mousePressEvent(event);
    const QPointer<TNetworkButton> self(this);
    emit MouseDown(this, event->button(), event->modifiers(), event->position().toPoint());
    if (!self)
        return;
    if (event->button() == Qt::RightButton)
        FElementMenu->popup(event->globalPosition().toPoint());
    event->accept();
}

void TNetworkButton::mouseMoveEvent(QMouseEvent *event)
{
    if (FDragThreshold >= 0 && (event->buttons() & Qt::LeftButton)) {
        const QPoint moved = event->position().toPoint() - FDragStart;
        if (qMax(qAbs(moved.x()), qAbs(moved.y())) >= FDragThreshold) {
            FDragThreshold = -1;
            RunDrag();
            return;
        }
    }
    QPushButton::mouseMoveEvent(event);
}

void TNetworkButton::mouseReleaseEvent(QMouseEvent *event)
{
    FDragThreshold = -1;
    QPushButton::mouseReleaseEvent(event);
}

void TNetworkButton::contextMenuEvent(QContextMenuEvent *event)
{
    // The mouse opens the element menu on the press already; the menu key
    // opens it here. Either way the panel's own menu stays closed.
    if (event->reason() != QContextMenuEvent::Mouse)
        FElementMenu->popup(mapToGlobal(rect().center()));
    event->accept();
}

void TNetworkButton::dragEnterEvent(QDragEnterEvent *event)
{
    // Taking the drag here keeps it from the panel underneath, so that
    // whether a drop is possible over this element is decided by DragOver.
    event->acceptProposedAction();
}

void TNetworkButton::dragMoveEvent(QDragMoveEvent *event)
{
    event->ignore();
    emit DragOver(this, event);
}

void TNetworkButton::dropEvent(QDropEvent *event)
{
    // The element moved while it was dragged; a drop only ends the drag,
    // where the drag could end.
    event->ignore();
    emit DragDrop(this, event);
}

void TNetworkButton::LoadPicture(TNetworkButtonKind kind)
{
    const QString path = NetworkButtonPicturePath(kind);
    setIcon(QFile::exists(path) ? ArtworkIcon(NetworkButtonPictureName(kind).toLower() + QStringLiteral(".svg"))
                                : FallbackPicture(kind));
    FPictureKind = kind;
}

void TNetworkButton::RunDrag()
{
    setDown(false);
    emit StartDrag(this);
    const QPointer<TNetworkButton> self(this);
    auto *drag = new QDrag(this);
    drag->setMimeData(new TNetworkButtonMimeData(this));
    drag->exec(Qt::MoveAction);
    if (self)
        emit EndDrag(this);
}

TNetworkButtonMimeData::TNetworkButtonMimeData(TNetworkButton *button)
    : FButton(button)
{
    setData(QLatin1String(MimeType), QByteArray());
}

TNetworkButton *DraggedNetworkButton(const QMimeData *data)
{
    const auto *ours = qobject_cast<const TNetworkButtonMimeData *>(data);
    return ours ? ours->Button() : nullptr;
}
