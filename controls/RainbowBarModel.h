#pragma once

// The parts of the rainbow bar that need no widget: one stripe's colour and
// share with its change notification, the sixteen default colours and the
// stripe geometry inside the bar's inner rectangle.

#include <array>
#include <functional>
#include <vector>

#include <QRect>
#include <QtGlobal>

// A colour as 0xAARRGGBB, the layout of QRgb, so widgets take it as it is.
using TStripeColor = quint32;

constexpr TStripeColor StripeRgb(int r, int g, int b)
{
    return 0xff000000u | (quint32(r & 0xff) << 16) | (quint32(g & 0xff) << 8) | quint32(b & 0xff);
}

// One stripe of a TRainbowBar. A plain object: the bar owns sixteen of them
// and binds their notification to its own StripeChanged.
class TRainbowStripe
{
public:
    using TNotifyEvent = std::function<void(TRainbowStripe *sender)>;

    TRainbowStripe() = default;
    Q_DISABLE_COPY_MOVE(TRainbowStripe)

    TStripeColor Color() const { return FColor; }
    // Stores and notifies only when the value differs from the stored one.
    void SetColor(TStripeColor color);

    // The stripe's height as a fraction of the bar's inner height.
    float Value() const { return FValue; }
    // Compared in single precision: a double that rounds to the stored
    // float is no change.
    void SetValue(float value);

    TNotifyEvent OnChange;

private:
    void Changed();

    TStripeColor FColor = StripeRgb(0, 0, 0);  // a stripe never reset is black
    float FValue = 0.0f;
};

constexpr int RainbowStripeCount = 16;

// Red, yellow, lime, blue, purple, black, maroon, green, olive, navy, teal,
// grey, silver, fuchsia, aqua, white: the order the latency legend follows.
const std::array<TStripeColor, RainbowStripeCount> &RainbowDefaultColors();

// The painted height in pixels of a stripe with share `value` in a bar whose
// inner height is `innerHeight`: the product taken in extended precision and
// rounded to the nearest integer, halves to the even neighbour. A product
// outside the signed 32-bit range raises "Range check error".
int RainbowStripeHeight(int innerHeight, float value);

// The rectangles of the first values.size() stripes, stacked from the top of
// `inner`, each rounded on its own (no stripe takes up the remainder), so
// they may fall short of the bottom or run past it.
std::vector<QRect> RainbowStripeRects(const QRect &inner, const std::vector<float> &values);
