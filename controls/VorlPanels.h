#pragma once

#include "controls/Alignment.h"

// The program's panels. TVorlCustomPanel paints itself in overridable steps
// (frame and background, content, caption) with classic 3-D bevels and a
// caption aligned on both axes; TCanvasPanel adds an owner-drawn layer
// (OnPaint) that can be wiped, and copying any part of what it shows to the
// clipboard as a bitmap.
//
// Colours come from the palette: Light is the 3-D highlight, Dark the 3-D
// shadow, Button the default face colour, WindowText the caption.
//
// Assistive technology reads a panel as its AccessibleRole() says
// (controls/AccessibleDisplays); a label whose buddy is the panel describes it.

#include <QAccessible>
#include <QColor>
#include <QWidget>

class QPainter;

// Caption placement across the panel's height.
enum class TVerticalAlignment : quint8 { vaBottom, vaMiddle, vaTop };
// A bevel ring: none, sunken, raised; bvSpace is drawn like bvRaised.
enum class TBevelCut : quint8 { bvNone, bvLowered, bvRaised, bvSpace };

class TVorlCustomPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TVorlCustomPanel(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TVorlCustomPanel)

    // Pixels between the inner rectangle and the caption, left/right and top/bottom.
    quint16 CaptionPadding() const { return FCaptionPadding; }
    void SetCaptionPadding(quint16 value);
    quint16 VerticalCaptionPadding() const { return FVerticalCaptionPadding; }
    void SetVerticalCaptionPadding(quint16 value);
    TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment value);
    // Horizontal caption placement: Qt::AlignLeft, Qt::AlignRight or
    // Qt::AlignHCenter (the default); other flags are ignored.
    Qt::Alignment Alignment() const { return FAlignment; }
    void SetAlignment(Qt::Alignment value);

    // OnPaint is raised only while this is on; takes effect at the next paint.
    bool GenerateOnPaint() const { return FGenerateOnPaint; }
    void SetGenerateOnPaint(bool value) { FGenerateOnPaint = value; }

    // A change is announced to assistive technology while the caption is
    // the panel's accessible name (static text without an accessible name).
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &value);

    // What assistive technology is told the panel is: QAccessible::StaticText
    // (the default: the caption is its name), a picture (Graphic, Chart:
    // named by its label or accessible name, told by its accessible
    // description) or a container (Pane: only its children speak).
    QAccessible::Role AccessibleRole() const { return FAccessibleRole; }
    void SetAccessibleRole(QAccessible::Role value) { FAccessibleRole = value; }

    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);

    // The face colour; an invalid colour (the default) follows the palette's Button.
    QColor Color() const;
    void SetColor(const QColor &value);

    // The client area inside border and bevels.
    QRect GetInnerRect() const;

    // Draws a 3-D frame of `width` one-pixel rings onto `rect` from the
    // outside in: left column and top row in `top`, right column and bottom
    // row (with the top-right and bottom-left corners) in `bottom`. The
    // rectangle shrinks by `width` on every side.
    static void Frame3D(QPainter &canvas, QRect &rect, const QColor &top, const QColor &bottom,
                        int width);

signals:
    // The owner draws on the panel after frame, background and caption.
    void OnPaint(TVorlCustomPanel *sender, QPainter *canvas);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

    // The paint steps, in this order: PaintFrame, PaintContent, PaintCaption,
    // then OnPaint when GenerateOnPaint is on.
    virtual void Paint(QPainter &canvas);
    // Bevels, border and background.
    virtual void PaintFrame(QPainter &canvas);
    // What a derived panel shows between background and caption; nothing here.
    virtual void PaintContent(QPainter &canvas);
    // The caption, embossed while the panel is disabled.
    virtual void PaintCaption(QPainter &canvas);

    // One paint without OnPaint (ClearCanvas).
    bool FSuppressOnPaint = false;

private:
    quint16 FCaptionPadding = 2;
    quint16 FVerticalCaptionPadding = 2;
    TVerticalAlignment FVerticalAlignment = TVerticalAlignment::vaMiddle;
    Qt::Alignment FAlignment = Qt::AlignHCenter;
    bool FGenerateOnPaint = true;
    QString FCaption;
    TBevelCut FBevelOuter = TBevelCut::bvLowered;
    TBevelCut FBevelInner = TBevelCut::bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    QColor FColor;
    QAccessible::Role FAccessibleRole = QAccessible::StaticText;
};

// What the owner draws on it makes it a picture (QAccessible::Graphic)
// unless the owner says otherwise.
class TCanvasPanel : public TVorlCustomPanel
{
    Q_OBJECT
public:
    explicit TCanvasPanel(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TCanvasPanel)

    // Repaints at once without OnPaint: frame, background and caption only,
    // until the next paint brings the owner's drawing back.
    void ClearCanvas();
    // What the panel shows inside `rect` (client coordinates), children
    // included, becomes the clipboard's bitmap.
    void CopyRectToClipboard(const QRect &rect);
    // The same pixels as an image (the clipboard's content).
    QImage GrabRect(const QRect &rect);

signals:
    // Drags over the panel's own surface (not over its children). The
    // receiver accepts or ignores the event.
    void DragEnter(TCanvasPanel *sender, QDragEnterEvent *event);
    void DragOver(TCanvasPanel *sender, QDragMoveEvent *event);
    void DragDrop(TCanvasPanel *sender, QDropEvent *event);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
