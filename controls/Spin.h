#pragma once

// The up/down button pair that sits inside the right edge of a spin edit,
// and the auto-repeating speed button it is made of.

#include <QPixmap>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

class QKeyEvent;
class QMouseEvent;
class QPaintEvent;
class QResizeEvent;

// Which way a spin button's built-in glyph points.
enum class TSpinDirection { sdUp, sdDown };

// A speed button: never takes keyboard focus, shows a pressed look while the
// left mouse button is held on it and clicks on release inside it. While
// held it repeats its click through Qt's own button auto-repeat: the first
// repeat after 400 ms, then every 100 ms, none while the pointer is off the
// button, and one more click on release over it.
class TTimerSpeedButton final : public QToolButton
{
    Q_OBJECT
public:
    static constexpr int RepeatDelay = 400;    // ms before the first repeat
    static constexpr int RepeatInterval = 100; // ms between repeats

    explicit TTimerSpeedButton(TSpinDirection direction, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TTimerSpeedButton)

    TSpinDirection Direction() const { return FDirection; }

    bool AutoRepeat() const { return autoRepeat(); }
    void SetAutoRepeat(bool value);

    // Draws the dotted focus rectangle, inset 3 pixels from the edges.
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool value);

    // A picture of 1 to 4 images side by side (normal, disabled, pressed,
    // held down); the colour of its bottom-left pixel is transparent. A null
    // pixmap means the built-in triangle, drawn to the button's scale.
    const QPixmap &Glyph() const { return FGlyph; }
    void SetGlyph(const QPixmap &glyph);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);

    QSize sizeHint() const override;

    // Ends the press of the button held down, if any, as a release off it
    // would: no more repeats, and no click when the mouse button comes up.
    // The error handler calls it before it shows an error, so that a repeat
    // that failed does not go on clicking (and failing) under the box.
    static void CancelHeldPress();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void DrawBuiltInGlyph(QPainter &painter, const QRect &area) const;
    void DrawPictureGlyph(QPainter &painter, const QRect &area) const;

    TSpinDirection FDirection;
    bool FShowFocus = false;
    // Cancelled while held: the button stays up until the mouse button is
    // released, wherever the pointer goes.
    bool FPressCancelled = false;
    QPixmap FGlyph;   // with its transparent colour already masked out
    int FNumGlyphs = 1;
};

// The button pair: an upper and a lower TTimerSpeedButton stacked to fill
// the pair, overlapping by one pixel row. A press on either button first
// puts the keyboard focus into FocusControl (the spin edit), so the pair
// itself normally never holds the focus.
class TSpinButton final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MinimumWidth = 15;

    explicit TSpinButton(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TSpinButton)

    TTimerSpeedButton *UpButton() const { return FUpSpeedButton; }
    TTimerSpeedButton *DownButton() const { return FDownSpeedButton; }

    // The button that Space clicks and that shows the focus rectangle while
    // the pair has the focus.
    TTimerSpeedButton *KeyButton() const { return FKeyButton; }

    // Receives the focus when a button is pressed; forgotten automatically
    // when that widget is destroyed.
    QWidget *FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget *control) { FFocusControl = control; }

    // A null pixmap restores the built-in glyph.
    QPixmap UpGlyph() const { return FUpSpeedButton->Glyph(); }
    void SetUpGlyph(const QPixmap &glyph) { FUpSpeedButton->SetGlyph(glyph); }
    QPixmap DownGlyph() const { return FDownSpeedButton->Glyph(); }
    void SetDownGlyph(const QPixmap &glyph) { FDownSpeedButton->SetGlyph(glyph); }
    int UpNumGlyphs() const { return FUpSpeedButton->NumGlyphs(); }
    void SetUpNumGlyphs(int value) { FUpSpeedButton->SetNumGlyphs(value); }
    int DownNumGlyphs() const { return FDownSpeedButton->NumGlyphs(); }
    void SetDownNumGlyphs(int value) { FDownSpeedButton->SetNumGlyphs(value); }

    // The pair is not a tab stop unless asked.
    bool TabStop() const;
    void SetTabStop(bool value);

signals:
    void UpClick(TSpinButton *sender);
    void DownClick(TSpinButton *sender);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void LayoutButtons();
    void ButtonPressed(TTimerSpeedButton *button);
    void SetKeyButton(TTimerSpeedButton *button);

    TTimerSpeedButton *FUpSpeedButton = nullptr;
    TTimerSpeedButton *FDownSpeedButton = nullptr;
    TTimerSpeedButton *FKeyButton = nullptr;
    QPointer<QWidget> FFocusControl;
};
