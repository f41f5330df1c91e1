#include "controls/RainbowBar.h"

#include <vector>

#include <QPainter>

#include "app/VorlGlobal.h"

TRainbowBar::TRainbowBar(QWidget *parent)
    : TVorlCustomPanel(parent)
{
    SetBevelOuter(TBevelCut::bvNone);
    // Read as a chart: named by its label, its shares told by the owner in
    // the accessible description.
    SetAccessibleRole(QAccessible::Chart);
    SetColor(palette().color(QPalette::Base));
    for (TRainbowStripe &stripe : FStripes)
        stripe.OnChange = [this](TRainbowStripe *sender) { StripeChanged(sender); };
    resize(DefaultWidth, DefaultHeight);
    ResetStripes();
}

TRainbowBar::~TRainbowBar()
{
    // The stripes go with the bar; none may call back into it meanwhile.
    for (TRainbowStripe &stripe : FStripes)
        stripe.OnChange = nullptr;
}

TRainbowStripe &TRainbowBar::Stripes(int index)
{
    if (index < 0 || index >= RainbowStripeCount)
        RaiseError(QStringLiteral("Array index out of bounds: %1").arg(index));
    return FStripes[static_cast<std::size_t>(index)];
}

void TRainbowBar::SetNumStripes(int value)
{
    const int count = qBound(1, value, RainbowStripeCount);
    if (count == FNumStripes)
        return;
    FNumStripes = count;
    ResetStripes();
    StripeChanged(nullptr);
}

void TRainbowBar::ResetStripes()
{
    const float share = 1.0f / static_cast<float>(FNumStripes);
    FStripeNotifications = false;
    for (int i = 0; i < FNumStripes; ++i) {
        FStripes[static_cast<std::size_t>(i)].SetColor(RainbowDefaultColors()[static_cast<std::size_t>(i)]);
        FStripes[static_cast<std::size_t>(i)].SetValue(share);
    }
    FStripeNotifications = true;
    StripeChanged(nullptr);
}

void TRainbowBar::StripeChanged(TRainbowStripe *sender)
{
    Q_UNUSED(sender);
    if (!FStripeNotifications)
        return;
    update();
    emit OnChange(this);
}

void TRainbowBar::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    update();
}

QRect TRainbowBar::StripeRect() const
{
    const int edge = EdgeWidth();
    return GetInnerRect().adjusted(edge, edge, -edge, -edge);
}

void TRainbowBar::PaintContent(QPainter &canvas)
{
    if (FBorderStyle == TBorderStyle::bsSingle) {
        // The sunken client edge: shadow over highlight, then dark shadow
        // over light.
        QRect edge = GetInnerRect();
        Frame3D(canvas, edge, palette().color(QPalette::Dark), palette().color(QPalette::Light), 1);
        Frame3D(canvas, edge, palette().color(QPalette::Shadow), palette().color(QPalette::Midlight), 1);
    }
    const QRect inner = StripeRect();
    std::vector<float> values;
    values.reserve(static_cast<std::size_t>(FNumStripes));
    for (int i = 0; i < FNumStripes; ++i)
        values.push_back(FStripes[static_cast<std::size_t>(i)].Value());
    const std::vector<QRect> rects = RainbowStripeRects(inner, values);

    canvas.save();
    // Stripes that run past the bottom are cut off by the edge only.
    canvas.setClipRect(inner);
    for (int i = 0; i < FNumStripes; ++i) {
        const QRect &r = rects[static_cast<std::size_t>(i)];
        if (r.height() > 0)
            canvas.fillRect(r, QColor::fromRgb(FStripes[static_cast<std::size_t>(i)].Color()));
    }
    canvas.restore();
}
