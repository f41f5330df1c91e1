#include "controls/RainbowBarModel.h"

#include <cfenv>
#include <cmath>
#include <limits>

#include "app/VorlGlobal.h"

void TRainbowStripe::SetColor(TStripeColor color)
{
    if (color == FColor)
        return;
    FColor = color;
    Changed();
}

void TRainbowStripe::SetValue(float value)
{
    if (value == FValue)
        return;
    FValue = value;
    Changed();
}

void TRainbowStripe::Changed()
{
    if (OnChange)
        OnChange(this);
}

const std::array<TStripeColor, RainbowStripeCount> &RainbowDefaultColors()
{
    static const std::array<TStripeColor, RainbowStripeCount> colors = {
        StripeRgb(255, 0, 0),     StripeRgb(255, 255, 0),   StripeRgb(0, 255, 0),     StripeRgb(0, 0, 255),
        StripeRgb(128, 0, 128),   StripeRgb(0, 0, 0),       StripeRgb(128, 0, 0),     StripeRgb(0, 128, 0),
        StripeRgb(128, 128, 0),   StripeRgb(0, 0, 128),     StripeRgb(0, 128, 128),   StripeRgb(128, 128, 128),
        StripeRgb(192, 192, 192), StripeRgb(255, 0, 255),   StripeRgb(0, 255, 255),   StripeRgb(255, 255, 255),
    };
    return colors;
}

int RainbowStripeHeight(int innerHeight, float value)
{
    const long double product = static_cast<long double>(innerHeight) * static_cast<long double>(value);
    if (std::isnan(product))
        RaiseError(QStringLiteral("Range check error"));
    // Ties to even, whatever rounding mode someone else left behind.
    const int oldMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const long double rounded = std::nearbyintl(product);
    std::fesetround(oldMode);
    if (rounded < static_cast<long double>(std::numeric_limits<qint32>::min())
        || rounded > static_cast<long double>(std::numeric_limits<qint32>::max()))
        RaiseError(QStringLiteral("Range check error"));
    return static_cast<int>(rounded);
}

std::vector<QRect> RainbowStripeRects(const QRect &inner, const std::vector<float> &values)
{
    // Inner rectangles follow the exclusive right/bottom of the panel's
    // GetInnerRect, so the height is bottom - top without the QRect +1.
    const int innerHeight = inner.height();
    std::vector<QRect> rects;
    rects.reserve(values.size());
    qint64 y = inner.top();
    for (const float value : values) {
        const int h = RainbowStripeHeight(innerHeight, value);
        if (y + h > std::numeric_limits<int>::max() || y + h < std::numeric_limits<int>::min())
            RaiseError(QStringLiteral("Range check error"));
        rects.emplace_back(inner.left(), static_cast<int>(y), inner.width(), h);
        y += h;
    }
    return rects;
}
