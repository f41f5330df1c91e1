#include "prefix/PrefixSplit.h"

#include "prefix/PrefixInfo.h"
#include "prefix/PrefixRows.h"

#include <algorithm>
#include <utility>

void TPrefixSplit::SetPrefix(const TNetPrefix &prefix)
{
    FPrefix = prefix;
    const int chosen = FChosenLength[int(prefix.Family())];
    const bool fits = chosen > prefix.Length() && chosen <= prefix.Width();
    FNewLength = qBound(MinLength(), fits ? chosen : DefaultNewLength(prefix), MaxLength());
    FViewBase = TUInt128();
}

void TPrefixSplit::SetNewLength(int length)
{
    FNewLength = qBound(MinLength(), length, MaxLength());
    FChosenLength[int(FPrefix.Family())] = FNewLength;
    FViewBase = TUInt128();
}

void TPrefixSplit::SetChosenLength(int length)
{
    FChosenLength[0] = FChosenLength[1] = qBound(0, length, 128);
    SetPrefix(FPrefix);
}

int TPrefixSplit::ChosenLength() const
{
    const int family = int(FPrefix.Family());
    return FChosenLength[family] != 0 ? FChosenLength[family] : FChosenLength[1 - family];
}

int TPrefixSplit::DefaultNewLength(const TNetPrefix &prefix)
{
    if (prefix.Family() == TIPFamily::ifIPv6 && prefix.Length() < 64)
        return 64;
    return qMin(prefix.Length() + 2, prefix.Width());
}

TAddressCount TPrefixSplit::Count() const
{
    if (!CanSplit())
        return {};
    return TAddressCount::PowerOfTwo(FNewLength - FPrefix.Length());
}

QString TPrefixSplit::CountText() const
{
    if (!CanSplit())
        return QStringLiteral("none (a /%1 cannot be split)").arg(FPrefix.Length());
    return Count().TextWithPower();
}

QStringList TPrefixSplit::Headers() const
{
    if (FPrefix.Family() == TIPFamily::ifIPv4)
        return {QStringLiteral("#"), QStringLiteral("Network"), QStringLiteral("Host Range"), QStringLiteral("Broadcast")};
    return {QStringLiteral("#"), QStringLiteral("Network"), QStringLiteral("Address Range")};
}

int TPrefixSplit::ColumnCount() const
{
    return FPrefix.Family() == TIPFamily::ifIPv4 ? 4 : 3;
}

TNetPrefix TPrefixSplit::Subnet(const TUInt128 &index) const
{
    const TUInt128 offset = index << (FPrefix.Width() - FNewLength);
    return TNetPrefix(TNetAddress(FPrefix.Family(), FPrefix.Network().Value() + offset), FNewLength);
}

QStringList TPrefixSplit::RowCells(const TUInt128 &index) const
{
    const TAddressCount count = Count();
    if (count.IsZero() || (!count.IsFull() && index >= count.Value()))
        return {};
    QString line;
    AppendRowLine(line, index);
    line.chop(2);
    return line.split(u'\t');
}

void TPrefixSplit::AppendRowLine(QString &out, const TUInt128 &index) const
{
    // Built in a buffer and appended at once: a copy writes a million rows.
    // At most 39 digits, three addresses of 45 characters, a broadcast and
    // the separators.
    char16_t line[256];
    char16_t *end = line;
    const auto put = [&end](QStringView text) {
        end = std::copy(text.utf16(), text.utf16() + text.size(), end);
    };
    const auto putAddress = [&end](const TNetAddress &address) { end += address.PutText(end); };
    // "#" is index + 1, which for the last /128 of a /0 is 2^128.
    if (index == TUInt128::Max())
        put(TAddressCount::PowerOfTwo(128).DecimalText());
    else
        end += (index + TUInt128(1)).PutDecimal(end);
    *end++ = u'\t';
    const TNetPrefix subnet = Subnet(index);
    putAddress(subnet.Network());
    *end++ = u'/';
    end += TUInt128(quint64(FNewLength)).PutDecimal(end);
    *end++ = u'\t';
    const TIPFamily family = FPrefix.Family();
    const TAddressRange hosts = HostRange(subnet);
    putAddress(TNetAddress(family, hosts.First));
    if (hosts.Last != hosts.First) {
        put(u" - ");
        putAddress(TNetAddress(family, hosts.Last));
    }
    if (family == TIPFamily::ifIPv4) {
        *end++ = u'\t';
        if (HasBroadcast(subnet))
            putAddress(subnet.Last());
        else
            put(u"none");
    }
    put(u"\r\n");
    out.append(QStringView(line, end - line));
}

int TPrefixSplit::ViewRowCount() const
{
    const TAddressCount count = Count();
    if (count > TAddressCount(TUInt128(quint64(MaxViewRows))))
        return MaxViewRows;
    return int(count.Value().Low());
}

namespace {

// Digits with optional group separators between them.
QString DigitsOf(const QString &text, bool &valid)
{
    QString digits;
    valid = true;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9')
            digits += c;
        else if (c != u',' && c != u'_' && c != u' ' && c != u'\t')
            valid = false;
    }
    valid = valid && !digits.isEmpty();
    return digits;
}

} // namespace

TReadResult<int> TPrefixSplit::GoTo(const QString &text)
{
    using TResult = TReadResult<int>;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return TResult::Failure(QStringLiteral("enter a subnet number"));
    if (!CanSplit())
        return TResult::Failure(CountText());
    bool valid = false;
    const QString digits = DigitsOf(trimmed, valid);
    if (!valid)
        return TResult::Failure(QStringLiteral("'%1' is not a subnet number").arg(trimmed));
    const std::optional<TAddressCount> number = TAddressCount::FromDecimal(digits);
    const TAddressCount count = Count();
    if (!number || *number > count)
        return TResult::Failure(QStringLiteral("subnet %1 is beyond the last one, %2")
                                    .arg(number ? number->DecimalText() : digits, count.DecimalText()));
    if (number->IsZero())
        return TResult::Failure(QStringLiteral("subnets are numbered from 1"));
    // The index below the number; 2^128 - 1 for the number 2^128.
    const TUInt128 index = number->IsFull() ? TUInt128::Max() : number->Value() - TUInt128(1);
    const int rows = ViewRowCount();
    if (index < FViewBase || index - FViewBase >= TUInt128(quint64(rows))) {
        // Centred, so that the rows around it can be scrolled to, within
        // the subnets that exist.
        const TUInt128 half(quint64(rows / 2));
        const TUInt128 lastBase = count.IsFull() ? TUInt128::Max() - TUInt128(quint64(rows - 1))
                                                 : count.Value() - TUInt128(quint64(rows));
        FViewBase = index < half ? TUInt128() : index - half;
        if (FViewBase > lastBase)
            FViewBase = lastBase;
    }
    return TResult::Success(int((index - FViewBase).Low()));
}

TReadResult<QString> TPrefixSplit::CopyText(int firstRow, int lastRow) const
{
    if (firstRow > lastRow)
        std::swap(firstRow, lastRow);
    firstRow = qBound(0, firstRow, qMax(ViewRowCount() - 1, 0));
    lastRow = qBound(0, lastRow, qMax(ViewRowCount() - 1, 0));
    return CopyIndexText(IndexOfViewRow(firstRow), IndexOfViewRow(lastRow));
}

TReadResult<QString> TPrefixSplit::CopyIndexText(const TUInt128 &first, const TUInt128 &last) const
{
    using TResult = TReadResult<QString>;
    if (!CanSplit())
        return TResult::Failure(CountText());
    const TUInt128 from = qMin(first, last);
    const TUInt128 to = qMax(first, last);
    const TAddressCount count = Count();
    if (!count.IsFull() && to >= count.Value())
        return TResult::Failure(QStringLiteral("subnet %1 is beyond the last one, %2")
                                    .arg((to + TUInt128(1)).DecimalText(), count.DecimalText()));
    const TAddressCount rows = TAddressCount::OfRange(from, to);
    if (rows > TAddressCount(TUInt128(quint64(MaxCopyRows))))
        return TResult::Failure(QStringLiteral("%1 rows are too many to copy: at most %2 rows can be copied at once. "
                                               "Select a smaller range.")
                                    .arg(rows.DecimalText())
                                    .arg(MaxCopyRows));
    QString text;
    const int lines = int(rows.Value().Low());
    // Measured on the last row, the longest.
    QString sample;
    AppendRowLine(sample, to);
    text.reserve(qsizetype(lines) * sample.size() + 64);
    AppendTableLine(text, Headers());
    for (TUInt128 index = from;; index += TUInt128(1)) {
        AppendRowLine(text, index);
        if (index == to)
            break;
    }
    return TResult::Success(text);
}
