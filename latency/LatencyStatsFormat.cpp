#include "latency/LatencyStatsFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int SignificantDigits = 7;
constexpr int DecimalDigits = 7;

// A finite non-zero value as decimal digits d1 d2 ... with value
// 0.d1d2... x 10^Exponent, rounded half-up to `keep(exponent)` digits.
struct TDecimal
{
    bool Negative = false;
    std::string Digits;  // empty for zero
    int Exponent = 0;
};

TDecimal ToDecimal(double value, int precision, int decimals)
{
    TDecimal result;
    result.Negative = std::signbit(value);
    if (value == 0.0)
        return result;
    // 17 significant digits hold every double exactly enough for one
    // rounding to at most 7 digits.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.16e", std::fabs(value));
    const std::string text(buffer);
    const std::size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    int exponent = std::atoi(text.c_str() + e + 1) + 1;

    const int keep = std::min(precision, exponent + decimals);
    if (keep < 0)
        return result;
    const bool roundUp = static_cast<std::size_t>(keep) < digits.size() && digits[keep] >= '5';
    digits.resize(static_cast<std::size_t>(keep));
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && digits[i] == '9') {
            digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++digits[i];
        } else {
            digits = '1' + digits;
            digits.pop_back();
            ++exponent;
            if (keep == 0)
                digits.assign(1, '1');
        }
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    if (digits.empty())
        return TDecimal{result.Negative, {}, 0};
    result.Digits = digits;
    result.Exponent = exponent;
    return result;
}

QString NonFiniteText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

}  // namespace

QString FormatLatencySeconds(float seconds)
{
    const double value = seconds;
    if (!std::isfinite(value))
        return NonFiniteText(value);

    TDecimal d = ToDecimal(value, SignificantDigits, DecimalDigits);
    QString text;
    if (d.Digits.empty())
        return QStringLiteral("0.0000000");
    if (d.Negative)
        text += QLatin1Char('-');

    if (d.Exponent > SignificantDigits) {
        // Too many digits before the point for the fixed form.
        text += QLatin1Char(d.Digits[0]);
        if (d.Digits.size() > 1)
            text += QLatin1Char('.') + QString::fromLatin1(d.Digits.substr(1));
        text += QLatin1Char('E') + QString::number(d.Exponent - 1);
        return text;
    }
    const auto digitAt = [&d](int i) {
        return i >= 0 && static_cast<std::size_t>(i) < d.Digits.size() ? QLatin1Char(d.Digits[i]) : QLatin1Char('0');
    };
    if (d.Exponent <= 0) {
        text += QLatin1Char('0');
    } else {
        for (int i = 0; i < d.Exponent; ++i)
            text += digitAt(i);
    }
    text += QLatin1Char('.');
    for (int i = 0; i < DecimalDigits; ++i)
        text += digitAt(d.Exponent + i);
    return text;
}

QString FormatLatencyShare(float fraction)
{
    const long double percent = static_cast<long double>(fraction) * 100.0L;
    if (!std::isfinite(static_cast<double>(percent)))
        return NonFiniteText(static_cast<double>(percent)) + QLatin1Char('%');
    TDecimal d = ToDecimal(static_cast<double>(percent), 15, 1);
    QString text;
    if (d.Digits.empty())
        return QStringLiteral("0.0%");
    if (d.Negative)
        text += QLatin1Char('-');
    const auto digitAt = [&d](int i) {
        return i >= 0 && static_cast<std::size_t>(i) < d.Digits.size() ? QLatin1Char(d.Digits[i]) : QLatin1Char('0');
    };
    if (d.Exponent <= 0)
        text += QLatin1Char('0');
    for (int i = 0; i < d.Exponent; ++i)
        text += digitAt(i);
    text += QLatin1Char('.') + QString(digitAt(d.Exponent)) + QLatin1Char('%');
    return text;
}
