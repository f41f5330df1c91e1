#include "controls/Spin.h"

#include <algorithm>
#include <utility>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QStyleOptionFocusRect>
#include <QStyleOptionToolButton>
#include <QStylePainter>

#include "controls/Guarded.h"

namespace {

// The button the left mouse button went down on, until it comes up.
QPointer<TTimerSpeedButton> GHeldButton;

} // namespace

// ---------------------------------------------------------------------------
// TTimerSpeedButton

TTimerSpeedButton::TTimerSpeedButton(TSpinDirection direction, QWidget *parent)
    : QToolButton(parent)
    , FDirection(direction)
{
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(direction == TSpinDirection::sdUp ? tr("Up") : tr("Down"));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setAutoRepeatDelay(RepeatDelay);
    setAutoRepeatInterval(RepeatInterval);
    SetAutoRepeat(true);
}

void TTimerSpeedButton::SetAutoRepeat(bool value)
{
    setAutoRepeat(value);
}

void TTimerSpeedButton::SetShowFocus(bool value)
{
    if (FShowFocus == value)
        return;
    FShowFocus = value;
    update();
}

void TTimerSpeedButton::SetGlyph(const QPixmap &glyph)
{
    FGlyph = glyph;
    if (!FGlyph.isNull()) {
        // The bottom-left pixel names the colour that shows the button through.
        const QColor transparent = FGlyph.toImage().pixelColor(0, FGlyph.height() - 1);
        FGlyph.setMask(FGlyph.createMaskFromColor(transparent, Qt::MaskInColor));
    }
    update();
}

void TTimerSpeedButton::SetNumGlyphs(int value)
{
    value = std::clamp(value, 1, 4);
    if (FNumGlyphs == value)
        return;
    FNumGlyphs = value;
    update();
}

QSize TTimerSpeedButton::sizeHint() const
{
    return {TSpinButton::MinimumWidth, 9};
}

void TTimerSpeedButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.icon = QIcon();
    option.text.clear();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    // Like a speed button, the picture moves one pixel right and down while
    // the button is pressed.
    const QRect area = isDown() ? rect().translated(1, 1) : rect();
    if (FGlyph.isNull())
        DrawBuiltInGlyph(painter, area);
    else
        DrawPictureGlyph(painter, area);

    if (FShowFocus) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = area.adjusted(3, 3, -3, -3);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void TTimerSpeedButton::CancelHeldPress()
{
    TTimerSpeedButton *button = std::exchange(GHeldButton, nullptr);
    if (!button)
        return;
    button->FPressCancelled = true;
    // A button that is not down has no repeat timer running.
    button->setDown(false);
}

void TTimerSpeedButton::mousePressEvent(QMouseEvent *event)
{
    FPressCancelled = false;
    if (event->button() == Qt::LeftButton)
        GHeldButton = this;
    QToolButton::mousePressEvent(event);
}

void TTimerSpeedButton::mouseMoveEvent(QMouseEvent *event)
{
    // Back over the button, Qt would press it again and restart the repeat.
    if (FPressCancelled) {
        event->ignore();
        return;
    }
    QToolButton::mouseMoveEvent(event);
}

void TTimerSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (GHeldButton == this)
            GHeldButton = nullptr;
        FPressCancelled = false;
    }
    // A cancelled press is no longer down, so Qt does not click.
    QToolButton::mouseReleaseEvent(event);
}

void TTimerSpeedButton::DrawBuiltInGlyph(QPainter &painter, const QRect &area) const
{
    // A solid triangle of N + 1 pixel rows, 1, 3, ... 2N + 1 pixels wide
    // (N = 3 in the upper button of a default spin edit), drawn row by row
    // so that every edge pixel is either on or off.
    // Both buttons of a pair size their triangle by the upper (shorter)
    // button, so the two glyphs always match.
    const int pairHalf = parentWidget() ? parentWidget()->height() / 2 : height();
    const int n = std::max(1, std::min((width() - 8) / 2, std::min(height(), pairHalf) - 5));
    const int glyphWidth = 2 * n + 1;
    const int glyphHeight = n + 1;
    const int left = area.left() + (area.width() - glyphWidth) / 2;
    const int top = area.top() + (area.height() - glyphHeight) / 2;

    const QColor colour = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                          QPalette::ButtonText);
    if (painter.device()->devicePixelRatioF() > 1.0) {
        // Enough device pixels for true slopes: a smooth triangle over the
        // same box.
        const bool up = FDirection == TSpinDirection::sdUp;
        const qreal apex = up ? top : top + glyphHeight;
        const qreal base = up ? top + glyphHeight : top;
        const QPointF points[3] = {{qreal(left), base}, {qreal(left + glyphWidth), base},
                                   {left + glyphWidth / 2.0, apex}};
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPolygon(points, 3);
        painter.restore();
        return;
    }
    for (int row = 0; row < glyphHeight; ++row) {
        const int half = FDirection == TSpinDirection::sdUp ? row : n - row;
        painter.fillRect(left + n - half, top + row, 2 * half + 1, 1, colour);
    }
}

void TTimerSpeedButton::DrawPictureGlyph(QPainter &painter, const QRect &area) const
{
    // Images side by side: normal, disabled, pressed, held down.
    int index = 0;
    if (!isEnabled())
        index = 1;
    else if (isDown())
        index = 2;
    else if (isChecked())
        index = 3;
    if (index >= FNumGlyphs)
        index = 0;

    const int imageWidth = FGlyph.width() / FNumGlyphs;
    const QRect source(index * imageWidth, 0, imageWidth, FGlyph.height());
    const QPoint topLeft(area.left() + (area.width() - imageWidth) / 2,
                         area.top() + (area.height() - FGlyph.height()) / 2);
    painter.drawPixmap(topLeft, FGlyph, source);
}

// ---------------------------------------------------------------------------
// TSpinButton

TSpinButton::TSpinButton(QWidget *parent)
    : QWidget(parent)
    , FUpSpeedButton(new TTimerSpeedButton(TSpinDirection::sdUp, this))
    , FDownSpeedButton(new TTimerSpeedButton(TSpinDirection::sdDown, this))
    , FKeyButton(FUpSpeedButton)
{
    setObjectName(QStringLiteral("SpinButtons"));
    FUpSpeedButton->setObjectName(QStringLiteral("UpSpeedButton"));
    FDownSpeedButton->setObjectName(QStringLiteral("DownSpeedButton"));
    setFocusPolicy(Qt::NoFocus);
    setMinimumWidth(MinimumWidth);

    GuardedConnect(FUpSpeedButton, &QAbstractButton::clicked, this, [this] { emit UpClick(this); });
    GuardedConnect(FDownSpeedButton, &QAbstractButton::clicked, this, [this] { emit DownClick(this); });
    GuardedConnect(FUpSpeedButton, &QAbstractButton::pressed, this, [this] { ButtonPressed(FUpSpeedButton); });
    GuardedConnect(FDownSpeedButton, &QAbstractButton::pressed, this, [this] { ButtonPressed(FDownSpeedButton); });

    resize(20, 25);
}

bool TSpinButton::TabStop() const
{
    return (focusPolicy() & Qt::TabFocus) != 0;
}

void TSpinButton::SetTabStop(bool value)
{
    setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
}

void TSpinButton::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayoutButtons();
}

void TSpinButton::LayoutButtons()
{
    // The two buttons share one pixel row, the lower one drawn on top.
    const int upperHeight = height() / 2;
    FUpSpeedButton->setGeometry(0, 0, width(), upperHeight);
    FDownSpeedButton->setGeometry(0, upperHeight - 1, width(), height() - upperHeight + 1);
    FUpSpeedButton->update();
    FDownSpeedButton->update();
}

void TSpinButton::ButtonPressed(TTimerSpeedButton *button)
{
    if (TabStop() && isEnabled())
        SetKeyButton(button);

    QWidget *control = FFocusControl;
    if (control && (control->focusPolicy() & Qt::TabFocus) && control->isEnabled()
        && control->isVisible() && !control->hasFocus()) {
        control->setFocus(Qt::OtherFocusReason);
    } else if (TabStop() && !hasFocus() && isEnabled() && isVisible()) {
        setFocus(Qt::OtherFocusReason);
    }
}

void TSpinButton::SetKeyButton(TTimerSpeedButton *button)
{
    if (FKeyButton == button)
        return;
    FKeyButton->SetShowFocus(false);
    FKeyButton = button;
    FKeyButton->SetShowFocus(hasFocus());
}

void TSpinButton::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        FKeyButton->click();
        break;
    case Qt::Key_Up:
        SetKeyButton(FUpSpeedButton);
        FUpSpeedButton->click();
        break;
    case Qt::Key_Down:
        SetKeyButton(FDownSpeedButton);
        FDownSpeedButton->click();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TSpinButton::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    FKeyButton->SetShowFocus(true);
}

void TSpinButton::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    FKeyButton->SetShowFocus(false);
}
