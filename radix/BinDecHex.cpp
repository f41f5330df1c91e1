#include "radix/BinDecHex.h"

#include <algorithm>

#include "app/VorlGlobal.h"

int BitCount(TNumberWidth width)
{
    return 8 << static_cast<int>(width);
}

int HexDigitCount(TNumberWidth width)
{
    return BitCount(width) / 4;
}

quint32 MaxValueOf(TNumberWidth width)
{
    return width == TNumberWidth::nw32Bits ? 0xFFFFFFFFu : (1u << BitCount(width)) - 1u;
}

void TBinDecHexNumber::SetGrouping(bool grouping)
{
    if (grouping == FGrouping)
        return;
    FGrouping = grouping;
    DoChange();
}

void TBinDecHexNumber::SetWidth(TNumberWidth width)
{
    if (width == FWidth)
        return;
    FWidth = width;
    FMaxValue = MaxValueOf(width);
    FValue &= FMaxValue;
    DoChange();
}

void TBinDecHexNumber::SetValue(quint32 value)
{
    if (value > FMaxValue) {
        DoError();
        return;
    }
    if (value == FValue)
        return;
    FValue = value;
    DoChange();
}

void TBinDecHexNumber::Invert()
{
    SetValue(~FValue & FMaxValue);
}

QString TBinDecHexNumber::DecText() const
{
    const QString digits = QString::number(FValue);
    return FGrouping ? InsertCommas(digits) : digits;
}

QString TBinDecHexNumber::HexText() const
{
    const QString digits = QString::number(FValue, 16).toUpper().rightJustified(HexDigitCount(FWidth), u'0');
    return FGrouping ? InsertSpaces(digits, 2) : digits;
}

QString TBinDecHexNumber::BinText() const
{
    const QString digits = IntToBinStr(FValue, BitCount(FWidth));
    return FGrouping ? InsertSpaces(digits, 8) : digits;
}

namespace {

[[noreturn]] void RaiseInvalid(const QString &text)
{
    RaiseError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

// Unsigned decimal with an optional "-" that only zero survives ("-0").
// Read in 64 bits so the whole unsigned 32-bit range is reachable.
quint32 ReadDec(const QString &text)
{
    const bool negative = text.startsWith(u'-');
    const QStringView digits = QStringView(text).mid(negative ? 1 : 0);
    if (digits.isEmpty())
        RaiseInvalid(text);
    quint64 value = 0;
    for (QChar c : digits) {
        if (!IsDecDigit(c))
            RaiseInvalid(text);
        value = value * 10 + (c.unicode() - u'0');
        if (value > 0xFFFFFFFFu)
            RaiseError(QStringLiteral("Range check error"));
    }
    if (negative && value != 0)
        RaiseError(QStringLiteral("Range check error"));
    return static_cast<quint32>(value);
}

// The helpers drop digits beyond 32 bits; a text that needs them is a
// value too large for any width rather than a smaller number.
void CheckFits(const QString &text, int digitBits, QChar zero, bool (*isDigit)(QChar))
{
    const qsizetype maxDigits = 32 / digitBits;
    for (qsizetype i = 0; i + maxDigits < text.size(); ++i)
        if (isDigit(text.at(i)) && text.at(i) != zero)
            RaiseError(QStringLiteral("Range check error"));
}

quint32 ReadHex(const QString &text)
{
    CheckFits(text, 4, u'0', IsHexDigit);
    return HexStrToInt(text);
}

quint32 ReadBin(const QString &text)
{
    CheckFits(text, 1, u'0', IsBinDigit);
    return BinStrToInt(text);
}

} // namespace

void TBinDecHexNumber::SetText(const QString &text, TTextReader reader)
{
    try {
        const QString stripped = StripSeparators(text);
        if (stripped.isEmpty())
            RaiseInvalid(text);
        SetValue(reader(stripped));
    } catch (...) {
        // Also an exception from an OnChange handler: the new value stays.
        DoError();
    }
}

void TBinDecHexNumber::SetDecText(const QString &text)
{
    SetText(text, ReadDec);
}

void TBinDecHexNumber::SetHexText(const QString &text)
{
    SetText(text, ReadHex);
}

void TBinDecHexNumber::SetBinText(const QString &text)
{
    SetText(text, ReadBin);
}

void TBinDecHexNumber::DoChange()
{
    if (OnChange)
        OnChange(this);
}

void TBinDecHexNumber::DoError()
{
    if (OnError)
        OnError(this);
}

quint32 BinStrToInt(const QString &text)
{
    quint32 value = 0;
    const qsizetype n = text.size();
    for (qsizetype bit = 0; bit < std::min<qsizetype>(n, 32); ++bit)
        if (text.at(n - 1 - bit) == u'1')
            value |= 1u << bit;
    return value;
}

quint32 HexStrToInt(const QString &text)
{
    quint32 value = 0;
    const qsizetype n = text.size();
    for (qsizetype digit = 0; digit < std::min<qsizetype>(n, 8); ++digit) {
        const char16_t c = text.at(n - 1 - digit).toUpper().unicode();
        quint32 nibble = 0;
        if (c >= u'0' && c <= u'9')
            nibble = c - u'0';
        else if (c >= u'A' && c <= u'F')
            nibble = c - u'A' + 10;
        value |= nibble << (4 * digit);
    }
    return value;
}

QString IntToBinStr(quint32 value, int count)
{
    count = std::clamp(count, 0, 32);
    QString text(count, u'0');
    for (int bit = 0; bit < count; ++bit)
        if (value & (1u << bit))
            text[count - 1 - bit] = u'1';
    return text;
}

QString InsertSeparators(const QString &text, QChar separator, int group)
{
    if (group <= 0)
        return text;
    QString result = text;
    // 0-based form of "position n - k*g + 1 while greater than 1".
    for (qsizetype pos = text.size() - group; pos > 0; pos -= group)
        result.insert(pos, separator);
    return result;
}

QString InsertCommas(const QString &text)
{
    return InsertSeparators(text, u',', 3);
}

QString InsertSpaces(const QString &text, int group)
{
    return InsertSeparators(text, u' ', group);
}

QString StripSeparators(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text)
        if (c != u' ' && c != u',' && c != u'-' && c != u'.')
            result.append(c);
    if (text.startsWith(u'-') && !result.isEmpty())
        result.prepend(u'-');
    return result;
}
