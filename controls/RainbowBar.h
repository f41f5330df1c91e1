#pragma once

// TRainbowBar: a vertical bar of up to sixteen coloured stripes stacked
// from the top, each as high as its share (Value) of the bar's inner
// height. The latency graphs show one per packet direction; their legend
// follows the default stripe colours.

#include <array>

#include "controls/RainbowBarModel.h"
#include "controls/VorlPanels.h"

class TRainbowBar : public TVorlCustomPanel
{
    Q_OBJECT
public:
    // bsSingle draws a sunken 2-pixel client edge around the stripes.
    enum class TBorderStyle : quint8 { bsNone, bsSingle };

    static constexpr int DefaultWidth = 81;
    static constexpr int DefaultHeight = 185;
    static constexpr int DefaultNumStripes = 5;

    // Five stripes red, yellow, lime, blue, purple, each with Value 0.2.
    explicit TRainbowBar(QWidget *parent = nullptr);
    ~TRainbowBar() override;
    Q_DISABLE_COPY_MOVE(TRainbowBar)

    // Any of the sixteen stripes, painted or not. An index outside 0 ... 15
    // raises "Array index out of bounds: " with the index.
    TRainbowStripe &Stripes(int index);

    // Stripes painted, 1 ... 16. Writing another count clamps it (0 gives 1,
    // above 16 gives 16) and resets every painted stripe to its default
    // colour and an equal share; then OnChange comes twice. Writing the
    // current count changes nothing.
    int NumStripes() const { return FNumStripes; }
    void SetNumStripes(int value);

    // The painted stripes get their default colours and equal shares; one
    // repaint and one OnChange for the lot.
    void ResetStripes();

    // A stripe's colour or value changed: repaint and OnChange, unless the
    // stripes are being reset.
    void StripeChanged(TRainbowStripe *sender);

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

    // Where the stripes go: the inner rectangle inside the client edge.
    QRect StripeRect() const;

signals:
    void OnChange(TRainbowBar *sender);

protected:
    void PaintContent(QPainter &canvas) override;

private:
    int EdgeWidth() const { return FBorderStyle == TBorderStyle::bsSingle ? 2 : 0; }

    std::array<TRainbowStripe, RainbowStripeCount> FStripes;
    int FNumStripes = DefaultNumStripes;
    bool FStripeNotifications = false;  // off until the first reset
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
};
