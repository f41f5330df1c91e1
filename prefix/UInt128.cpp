#include "prefix/UInt128.h"

#include <algorithm>
#include <array>

namespace {

constexpr quint32 ChunkBase = 1000000000; // nine decimal digits
constexpr char16_t PowerOfTwo128Text[] = u"340282366920938463463374607431768211456";

// `value` in nine-digit chunks, least significant first; returns how many.
int DecimalChunks(const TUInt128 &value, std::array<quint32, 5> &chunks)
{
    // Four 32-bit limbs, most significant first; long division by 10^9
    // keeps every partial remainder below 2^62.
    std::array<quint32, 4> limbs = {quint32(value.High() >> 32), quint32(value.High()),
                                    quint32(value.Low() >> 32), quint32(value.Low())};
    int count = 0;
    bool nonZero = true;
    while (nonZero) {
        quint64 remainder = 0;
        nonZero = false;
        for (quint32 &limb : limbs) {
            const quint64 current = (remainder << 32) | limb;
            limb = quint32(current / ChunkBase);
            remainder = current % ChunkBase;
            nonZero = nonZero || limb != 0;
        }
        chunks[count++] = quint32(remainder);
    }
    return count;
}

} // namespace

int TUInt128::PutDecimal(char16_t *buffer) const
{
    // Written from the end of a scratch buffer, then moved to the front.
    char16_t digits[MaxDecimalLength];
    int start = MaxDecimalLength;
    const auto putDigits = [&](quint64 value, int minimum) {
        const int end = start;
        do {
            digits[--start] = char16_t(u'0' + value % 10);
            value /= 10;
        } while (value != 0 || end - start < minimum);
    };
    if (FHigh == 0) {
        putDigits(FLow, 1);
    } else {
        std::array<quint32, 5> chunks{};
        const int count = DecimalChunks(*this, chunks);
        // Every chunk below the top one has all nine digits.
        for (int i = 0; i < count; ++i)
            putDigits(chunks[i], i < count - 1 ? 9 : 1);
    }
    const int length = MaxDecimalLength - start;
    std::copy(digits + start, digits + MaxDecimalLength, buffer);
    return length;
}

void TUInt128::AppendDecimal(QString &out) const
{
    char16_t buffer[MaxDecimalLength];
    out.append(QStringView(buffer, PutDecimal(buffer)));
}

QString TUInt128::DecimalText() const
{
    QString text;
    AppendDecimal(text);
    return text;
}

std::optional<TUInt128> TUInt128::FromDecimal(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    TUInt128 value;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        // value * 10 + digit, failing on any carry out of the 128 bits.
        if (value.FHigh > (~quint64(0) >> 3))
            return std::nullopt;
        const TUInt128 times8 = value << 3;
        TUInt128 sum;
        if (AddOverflows(times8, value << 1, sum))
            return std::nullopt;
        if (AddOverflows(sum, TUInt128(quint64(c.unicode() - u'0')), value))
            return std::nullopt;
    }
    return value;
}

QString TAddressCount::DecimalText() const
{
    if (FFull)
        return QString::fromUtf16(PowerOfTwo128Text);
    return FValue.DecimalText();
}

QString TAddressCount::TextWithPower() const
{
    QString text = DecimalText();
    if (const std::optional<int> power = Log2())
        text += QStringLiteral(" (2^%1)").arg(*power);
    return text;
}

std::optional<TAddressCount> TAddressCount::FromDecimal(QStringView text)
{
    if (const std::optional<TUInt128> value = TUInt128::FromDecimal(text))
        return TAddressCount(*value);
    // The one value past the 128 bits that a count can hold.
    qsizetype zeros = 0;
    while (zeros + 1 < text.size() && text[zeros] == u'0')
        ++zeros;
    if (text.mid(zeros) == QStringView(PowerOfTwo128Text))
        return PowerOfTwo(128);
    return std::nullopt;
}
