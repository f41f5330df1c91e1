#include "controls/VorlPanels.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "controls/AccessibleDisplays.h"
#include "controls/Guarded.h"

TVorlCustomPanel::TVorlCustomPanel(QWidget *parent)
    : QWidget(parent)
{
    // Every pixel is painted by PaintFrame; nothing shows through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    InstallDisplayAccessibility();
}

void TVorlCustomPanel::SetCaptionPadding(quint16 value)
{
    if (value == FCaptionPadding)
        return;
    FCaptionPadding = value;
    update();
}

void TVorlCustomPanel::SetVerticalCaptionPadding(quint16 value)
{
    if (value == FVerticalCaptionPadding)
        return;
    FVerticalCaptionPadding = value;
    update();
}

void TVorlCustomPanel::SetVerticalAlignment(TVerticalAlignment value)
{
    if (value == FVerticalAlignment)
        return;
    FVerticalAlignment = value;
    update();
}

void TVorlCustomPanel::SetAlignment(Qt::Alignment value)
{
    value &= Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter;
    if (value == FAlignment)
        return;
    FAlignment = value;
    update();
}

void TVorlCustomPanel::SetCaption(const QString &value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    update();
    if (FAccessibleRole == QAccessible::StaticText && accessibleName().isEmpty()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void TVorlCustomPanel::SetBevelOuter(TBevelCut value)
{
    if (value == FBevelOuter)
        return;
    FBevelOuter = value;
    update();
}

void TVorlCustomPanel::SetBevelInner(TBevelCut value)
{
    if (value == FBevelInner)
        return;
    FBevelInner = value;
    update();
}

void TVorlCustomPanel::SetBevelWidth(int value)
{
    value = qMax(value, 1);
    if (value == FBevelWidth)
        return;
    FBevelWidth = value;
    update();
}

void TVorlCustomPanel::SetBorderWidth(int value)
{
    value = qMax(value, 0);
    if (value == FBorderWidth)
        return;
    FBorderWidth = value;
    update();
}

QColor TVorlCustomPanel::Color() const
{
    return FColor.isValid() ? FColor : palette().color(QPalette::Button);
}

void TVorlCustomPanel::SetColor(const QColor &value)
{
    if (value == FColor)
        return;
    FColor = value;
    update();
}

QRect TVorlCustomPanel::GetInnerRect() const
{
    int b = FBorderWidth;
    if (FBevelInner != TBevelCut::bvNone)
        b += FBevelWidth;
    if (FBevelOuter != TBevelCut::bvNone)
        b += FBevelWidth;
    // Right and bottom are exclusive: width - 2b by height - 2b.
    return QRect(b, b, width() - 2 * b, height() - 2 * b);
}

void TVorlCustomPanel::Frame3D(QPainter &canvas, QRect &rect, const QColor &top,
                               const QColor &bottom, int width)
{
    for (int ring = 0; ring < width; ++ring) {
        const int x0 = rect.left();
        const int y0 = rect.top();
        const int x1 = rect.right(); // inclusive
        const int y1 = rect.bottom();
        if (x1 < x0 || y1 < y0)
            break;
        canvas.fillRect(x0, y0, 1, y1 - y0, top);
        canvas.fillRect(x0, y0, x1 - x0, 1, top);
        canvas.fillRect(x1, y0, 1, y1 - y0 + 1, bottom);
        canvas.fillRect(x0, y1, x1 - x0 + 1, 1, bottom);
        rect.adjust(1, 1, -1, -1);
    }
    if (width > 0 && (rect.width() < 0 || rect.height() < 0))
        rect = QRect(rect.topLeft(), QSize(0, 0));
}

void TVorlCustomPanel::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter canvas(this);
    Guarded([&] { Paint(canvas); });
}

void TVorlCustomPanel::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void TVorlCustomPanel::Paint(QPainter &canvas)
{
    PaintFrame(canvas);
    PaintContent(canvas);
    PaintCaption(canvas);
    if (FGenerateOnPaint && !FSuppressOnPaint) {
        canvas.save();
        emit OnPaint(this, &canvas);
        canvas.restore();
    }
}

void TVorlCustomPanel::PaintFrame(QPainter &canvas)
{
    const QColor highlight = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    const auto bevel = [&](QRect &r, TBevelCut cut) {
        if (cut == TBevelCut::bvNone)
            return;
        if (cut == TBevelCut::bvLowered)
            Frame3D(canvas, r, shadow, highlight, FBevelWidth);
        else
            Frame3D(canvas, r, highlight, shadow, FBevelWidth);
    };

    QRect r = rect();
    bevel(r, FBevelOuter);
    Frame3D(canvas, r, Color(), Color(), FBorderWidth);
    bevel(r, FBevelInner);
    if (r.isValid())
        canvas.fillRect(r, Color());
}

void TVorlCustomPanel::PaintContent(QPainter &canvas)
{
    Q_UNUSED(canvas);
}

void TVorlCustomPanel::PaintCaption(QPainter &canvas)
{
    if (FCaption.isEmpty())
        return;
    QRect r = GetInnerRect();
    r.adjust(FCaptionPadding, FVerticalCaptionPadding, -FCaptionPadding, -FVerticalCaptionPadding);
    if (!r.isValid())
        return;

    int flags = Qt::TextSingleLine | Qt::TextExpandTabs;
    flags |= FAlignment ? int(FAlignment) : int(Qt::AlignHCenter);
    switch (FVerticalAlignment) {
    case TVerticalAlignment::vaTop:
        flags |= Qt::AlignTop;
        break;
    case TVerticalAlignment::vaMiddle:
        flags |= Qt::AlignVCenter;
        break;
    case TVerticalAlignment::vaBottom:
        flags |= Qt::AlignBottom;
        break;
    }

    canvas.save();
    canvas.setFont(font());
    canvas.setBackgroundMode(Qt::TransparentMode);
    if (isEnabled()) {
        canvas.setClipRect(r);
        canvas.setPen(palette().color(QPalette::WindowText));
        canvas.drawText(r, flags, FCaption);
    } else {
        // Embossed: a highlight copy one pixel down-right under the shadow text.
        const QRect shifted = r.translated(1, 1);
        canvas.setClipRect(shifted);
        canvas.setPen(palette().color(QPalette::Light));
        canvas.drawText(shifted, flags, FCaption);
        canvas.setClipRect(r);
        canvas.setPen(palette().color(QPalette::Dark));
        canvas.drawText(r, flags, FCaption);
    }
    canvas.restore();
}

TCanvasPanel::TCanvasPanel(QWidget *parent)
    : TVorlCustomPanel(parent)
{
    setFocusPolicy(Qt::NoFocus);
    SetAccessibleRole(QAccessible::Graphic);
}

void TCanvasPanel::ClearCanvas()
{
    FSuppressOnPaint = true;
    repaint();
    FSuppressOnPaint = false;
}

QImage TCanvasPanel::GrabRect(const QRect &rect)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return QImage();
    return grab(rect).toImage();
}

void TCanvasPanel::CopyRectToClipboard(const QRect &rect)
{
    QGuiApplication::clipboard()->setImage(GrabRect(rect));
}

void TCanvasPanel::dragEnterEvent(QDragEnterEvent *event)
{
    event->ignore();
    emit DragEnter(this, event);
}

void TCanvasPanel::dragMoveEvent(QDragMoveEvent *event)
{
    event->ignore();
    emit DragOver(this, event);
}

void TCanvasPanel::dropEvent(QDropEvent *event)
{
    event->ignore();
    emit DragDrop(this, event);
}
