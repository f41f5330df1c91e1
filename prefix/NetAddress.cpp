#include "prefix/NetAddress.h"

#include <array>

#include <QHostAddress>

namespace {

constexpr char16_t HexDigits[] = u"0123456789abcdef";

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool IsDecDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool IsHexDigit(QChar c)
{
    return IsDecDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// A text the user typed, as a message quotes it: a long one cut, so that
// the message still fits under the field.
QString Shown(QStringView text)
{
    constexpr qsizetype MaxShown = 24;
    if (text.size() <= MaxShown)
        return text.toString();
    return text.left(MaxShown - 1).toString() + u'\u2026';
}

// A character for a message: printable as itself, anything else (and a
// blank that is not a plain space) by its code.
QString CharText(QChar c)
{
    if (c.isPrint() && !c.isSurrogate() && (!c.isSpace() || c == u' '))
        return QStringLiteral("'%1'").arg(c);
    return QStringLiteral("U+%1").arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0'));
}

// Dotted decimal into a buffer; returns the end.
char16_t *PutIPv4(char16_t *out, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        const uint octet = (value >> shift) & 0xFF;
        if (octet >= 100)
            *out++ = char16_t(u'0' + octet / 100);
        if (octet >= 10)
            *out++ = char16_t(u'0' + octet / 10 % 10);
        *out++ = char16_t(u'0' + octet % 10);
        if (shift > 0)
            *out++ = u'.';
    }
    return out;
}

std::array<quint16, 8> Groups(const TUInt128 &value)
{
    std::array<quint16, 8> groups{};
    for (int i = 0; i < 4; ++i) {
        groups[i] = quint16(value.High() >> (48 - 16 * i));
        groups[4 + i] = quint16(value.Low() >> (48 - 16 * i));
    }
    return groups;
}

char16_t *PutHexGroup(char16_t *out, quint16 group)
{
    const int digits = group >= 0x1000 ? 4 : group >= 0x100 ? 3 : group >= 0x10 ? 2 : 1;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        *out++ = HexDigits[(group >> shift) & 0xF];
    return out;
}

// The RFC 5952 form. QHostAddress::toString() writes the same zero runs,
// but also turns IPv4-compatible addresses into mixed notation ("::1:0"
// becomes "::0.1.0.0") and costs a few allocations per address, which the
// split table's copy of a million rows would feel.
char16_t *PutIPv6(char16_t *out, const TUInt128 &value)
{
    const std::array<quint16, 8> groups = Groups(value);
    const bool mapped = value.High() == 0 && (value.Low() >> 32) == 0xFFFF;
    const int hexGroups = mapped ? 6 : 8;
    int bestStart = -1;
    int bestLength = 1; // a single zero group is never shortened
    for (int i = 0; i < hexGroups;) {
        if (groups[i] != 0) {
            ++i;
            continue;
        }
        int j = i;
        while (j < hexGroups && groups[j] == 0)
            ++j;
        if (j - i > bestLength) {
            bestStart = i;
            bestLength = j - i;
        }
        i = j;
    }
    for (int i = 0; i < hexGroups; ++i) {
        if (i == bestStart) {
            *out++ = u':';
            *out++ = u':';
            i += bestLength - 1;
            continue;
        }
        if (i > 0 && i != bestStart + bestLength)
            *out++ = u':';
        out = PutHexGroup(out, groups[i]);
    }
    if (mapped) {
        if (bestStart + bestLength != hexGroups)
            *out++ = u':';
        out = PutIPv4(out, quint32(value.Low()));
    }
    return out;
}

// Strict dotted decimal. QHostAddress also takes the inet_aton forms
// ("1.2.3" as 1.2.0.3, "010" as octal, "0x0a"), which a user of this
// calculator never means.
QString ReadIPv4(QStringView text, quint32 &value)
{
    int octets = 0;
    value = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'.') {
            if (!IsDecDigit(text[i])) {
                if (!text.contains(u'.'))
                    return QStringLiteral("'%1' is not an IPv4 or IPv6 address").arg(Shown(text));
                return QStringLiteral("unexpected character %1 in IPv4 address '%2'").arg(CharText(text[i]), Shown(text));
            }
            continue;
        }
        const QStringView octet = text.mid(start, i - start);
        if (octet.isEmpty())
            return QStringLiteral("IPv4 address '%1' has an empty octet").arg(Shown(text));
        uint number = 0;
        for (const QChar c : octet)
            number = qMin<uint>(number * 10 + (c.unicode() - u'0'), 1000);
        if (number > 255)
            return QStringLiteral("octet %1 is out of range 0–255").arg(Shown(octet));
        if (octet.size() > 1 && octet[0] == u'0')
            return QStringLiteral("octet '%1' has a leading zero").arg(Shown(octet));
        ++octets;
        value = (value << 8) | number;
        start = i + 1;
    }
    if (octets != 4)
        return QStringLiteral("IPv4 address '%1' has %2 octets instead of 4").arg(Shown(text)).arg(octets);
    return {};
}

// Checks the shape of an IPv6 text, so that a failure can say what is
// wrong; QHostAddress then reads the value. Returns the message, empty when
// the text is well-formed.
QString CheckIPv6(QStringView text)
{
    const qsizetype percent = text.indexOf(u'%');
    if (percent >= 0)
        return QStringLiteral("zone index '%1' is not supported").arg(Shown(text.mid(percent)));
    for (const QChar c : text)
        if (!IsHexDigit(c) && c != u':' && c != u'.')
            return QStringLiteral("unexpected character %1 in IPv6 address '%2'").arg(CharText(c), Shown(text));
    const qsizetype gap = text.indexOf(u"::");
    if (gap >= 0 && text.indexOf(u"::", gap + 1) >= 0)
        return QStringLiteral("IPv6 address '%1' has more than one '::'").arg(Shown(text));
    if (gap != 0 && text.startsWith(u':'))
        return QStringLiteral("IPv6 address '%1' starts with a single ':'").arg(Shown(text));
    if (gap != text.size() - 2 && text.endsWith(u':'))
        return QStringLiteral("IPv6 address '%1' ends with a single ':'").arg(Shown(text));

    // The groups left and right of "::" (or all of them). After the checks
    // above none of them is empty.
    int groups = 0;
    const auto checkGroups = [&](QStringView part, bool isLast) -> QString {
        if (part.isEmpty())
            return {};
        qsizetype start = 0;
        for (qsizetype i = 0; i <= part.size(); ++i) {
            if (i < part.size() && part[i] != u':')
                continue;
            const QStringView group = part.mid(start, i - start);
            const bool lastGroup = isLast && i == part.size();
            if (group.contains(u'.')) {
                if (!lastGroup)
                    return QStringLiteral("IPv6 address '%1' has an IPv4 part before its end").arg(Shown(text));
                quint32 ignored = 0;
                const QString message = ReadIPv4(group, ignored);
                if (!message.isEmpty())
                    return message;
                groups += 2;
            } else {
                if (group.size() > 4)
                    return QStringLiteral("group '%1' has more than 4 hex digits").arg(Shown(group));
                ++groups;
            }
            start = i + 1;
        }
        return {};
    };
    QString message;
    if (gap >= 0) {
        // "::" always stands for at least one group, so the groups before
        // it never end the address.
        message = checkGroups(text.left(gap), false);
        if (message.isEmpty())
            message = checkGroups(text.mid(gap + 2), true);
    } else {
        message = checkGroups(text, true);
    }
    if (!message.isEmpty())
        return message;
    if (gap >= 0 && groups > 7)
        return QStringLiteral("IPv6 address '%1' has %2 groups besides '::', at most 7").arg(Shown(text)).arg(groups);
    if (gap < 0 && groups != 8)
        return QStringLiteral("IPv6 address '%1' has %2 groups instead of 8").arg(Shown(text)).arg(groups);
    return {};
}

TReadResult<TNetAddress> ReadIPv6(QStringView text)
{
    const QString message = CheckIPv6(text);
    if (!message.isEmpty())
        return TReadResult<TNetAddress>::Failure(message);
    QHostAddress host;
    if (!host.setAddress(text.toString()) || host.protocol() != QAbstractSocket::IPv6Protocol)
        return TReadResult<TNetAddress>::Failure(QStringLiteral("'%1' is not an IPv6 address").arg(Shown(text)));
    return TReadResult<TNetAddress>::Success(TNetAddress::FromQHostAddress(host));
}

QString NumberText(int value)
{
    return QString::number(value);
}

QString FamilyName(TIPFamily family)
{
    return family == TIPFamily::ifIPv4 ? QStringLiteral("IPv4") : QStringLiteral("IPv6");
}

} // namespace

TNetAddress TNetAddress::FromQHostAddress(const QHostAddress &host)
{
    if (host.protocol() == QAbstractSocket::IPv4Protocol)
        return IPv4(host.toIPv4Address());
    const Q_IPV6ADDR bytes = host.toIPv6Address();
    quint64 high = 0;
    quint64 low = 0;
    for (int i = 0; i < 8; ++i) {
        high = (high << 8) | bytes[i];
        low = (low << 8) | bytes[8 + i];
    }
    return IPv6(high, low);
}

int TNetAddress::PutText(char16_t *buffer) const
{
    const char16_t *end = IsIPv4() ? PutIPv4(buffer, IPv4Value()) : PutIPv6(buffer, FValue);
    return int(end - buffer);
}

void TNetAddress::AppendText(QString &out) const
{
    char16_t buffer[MaxTextLength];
    out.append(QStringView(buffer, PutText(buffer)));
}

QString TNetAddress::Text() const
{
    QString text;
    AppendText(text);
    return text;
}

QString TNetAddress::ExpandedText() const
{
    if (IsIPv4())
        return Text();
    const std::array<quint16, 8> groups = Groups(FValue);
    QString text;
    text.reserve(39);
    for (int i = 0; i < 8; ++i) {
        if (i > 0)
            text += u':';
        for (int shift = 12; shift >= 0; shift -= 4)
            text += QChar(HexDigits[(groups[i] >> shift) & 0xF]);
    }
    return text;
}

QString TNetAddress::ReversePointer() const
{
    QString text;
    if (IsIPv4()) {
        const quint32 value = IPv4Value();
        for (int shift = 0; shift < 32; shift += 8)
            text += QString::number((value >> shift) & 0xFF) + u'.';
        return text + QStringLiteral("in-addr.arpa");
    }
    text.reserve(72);
    for (int nibble = 0; nibble < 32; ++nibble) {
        text += QChar(HexDigits[((FValue >> (4 * nibble)).Low()) & 0xF]);
        text += u'.';
    }
    return text + QStringLiteral("ip6.arpa");
}

void TNetPrefix::AppendText(QString &out) const
{
    char16_t buffer[TNetAddress::MaxTextLength + 4];
    int length = Network().PutText(buffer);
    buffer[length++] = u'/';
    if (FLength >= 100)
        buffer[length++] = char16_t(u'0' + FLength / 100);
    if (FLength >= 10)
        buffer[length++] = char16_t(u'0' + FLength / 10 % 10);
    buffer[length++] = char16_t(u'0' + FLength % 10);
    out.append(QStringView(buffer, length));
}

QString TNetPrefix::Text() const
{
    QString text;
    AppendText(text);
    return text;
}

TReadResult<TNetAddress> ReadAddress(QStringView text)
{
    text = TrimBlanks(text);
    if (text.isEmpty())
        return TReadResult<TNetAddress>::Failure(QStringLiteral("an address is missing"));
    if (text.contains(u':'))
        return ReadIPv6(text);
    quint32 value = 0;
    const QString message = ReadIPv4(text, value);
    if (!message.isEmpty())
        return TReadResult<TNetAddress>::Failure(message);
    return TReadResult<TNetAddress>::Success(TNetAddress::IPv4(value));
}

namespace {

// The prefix length after the address: digits, or a netmask of the
// address's family.
TReadResult<int> ReadLength(QStringView text, const TNetAddress &address)
{
    using TResult = TReadResult<int>;
    const int width = address.Width();
    if (text.contains(u'.') || text.contains(u':')) {
        const TReadResult<TNetAddress> mask = ReadAddress(text);
        if (!mask.Ok)
            return TResult::Failure(mask.Message);
        if (mask.Value.Family() != address.Family())
            return TResult::Failure(QStringLiteral("netmask %1 is %2 but the address is %3")
                                        .arg(text, FamilyName(mask.Value.Family()), FamilyName(address.Family())));
        const TUInt128 value = mask.Value.Value();
        const TUInt128 inverse = ~value & TUInt128::LowBits(width);
        if (((inverse + TUInt128(1)) & inverse).IsZero())
            return TResult::Success(width - inverse.PopCount());
        if (((value + TUInt128(1)) & value).IsZero())
            return TResult::Failure(QStringLiteral("netmask %1 is not contiguous (a wildcard mask? its netmask is %2)")
                                        .arg(mask.Value.Text(), TNetAddress(address.Family(), inverse).Text()));
        return TResult::Failure(QStringLiteral("netmask %1 is not contiguous").arg(mask.Value.Text()));
    }
    if (text.isEmpty())
        return TResult::Failure(QStringLiteral("prefix length is missing after '/'"));
    for (const QChar c : text)
        if (!IsDecDigit(c))
            return TResult::Failure(QStringLiteral("prefix length '%1' is not a number").arg(Shown(text)));
    int length = 0;
    for (const QChar c : text)
        length = qMin(length * 10 + (c.unicode() - u'0'), 1000);
    if (length > width)
        return TResult::Failure(
            QStringLiteral("prefix length %1 is out of range 0–%2").arg(text.toString(), NumberText(width)));
    return TResult::Success(length);
}

} // namespace

TReadResult<TNetPrefix> ReadPrefix(QStringView text)
{
    using TResult = TReadResult<TNetPrefix>;
    text = TrimBlanks(text);
    if (text.isEmpty())
        return TResult::Failure(QStringLiteral("enter an address, like 10.1.2.3/19 or 2001:db8::1/48"));
    QStringView addressText = text;
    QStringView lengthText;
    bool hasLength = false;
    const qsizetype slash = text.indexOf(u'/');
    if (slash >= 0) {
        addressText = TrimBlanks(text.left(slash));
        lengthText = TrimBlanks(text.mid(slash + 1));
        hasLength = true;
        if (lengthText.contains(u'/'))
            return TResult::Failure(QStringLiteral("more than one '/' in '%1'").arg(Shown(text)));
        // A length and a mask together ("/64 255.255.255.0"): the length is
        // what was meant, the rest is too much.
        for (qsizetype i = 0; i < lengthText.size(); ++i)
            if (IsBlank(lengthText[i]))
                return TResult::Failure(QStringLiteral("unexpected text after '%1/%2'")
                                            .arg(Shown(addressText), Shown(lengthText.left(i))));
    } else {
        qsizetype blank = 0;
        while (blank < text.size() && !IsBlank(text[blank]))
            ++blank;
        if (blank < text.size()) {
            addressText = text.left(blank);
            lengthText = TrimBlanks(text.mid(blank));
            hasLength = true;
            for (const QChar c : lengthText)
                if (IsBlank(c))
                    return TResult::Failure(QStringLiteral("unexpected text after '%1 %2'")
                                                .arg(Shown(addressText), Shown(lengthText.left(lengthText.indexOf(c)))));
        }
    }
    if (addressText.isEmpty())
        return TResult::Failure(QStringLiteral("the address is missing before '/'"));
    const TReadResult<TNetAddress> address = ReadAddress(addressText);
    if (!address.Ok)
        return TResult::Failure(address.Message);
    int length = address.Value.Width();
    if (hasLength) {
        const TReadResult<int> read = ReadLength(lengthText, address.Value);
        if (!read.Ok)
            return TResult::Failure(read.Message);
        length = read.Value;
    }
    return TResult::Success(TNetPrefix(address.Value, length));
}

TReadResult<TAddressRange> ReadAddressRange(QStringView text)
{
    using TResult = TReadResult<TAddressRange>;
    const qsizetype dash = text.indexOf(u'-');
    if (dash < 0) {
        const TReadResult<TNetPrefix> prefix = ReadPrefix(text);
        if (!prefix.Ok)
            return TResult::Failure(prefix.Message);
        return TResult::Success(
            {prefix.Value.Family(), prefix.Value.Network().Value(), prefix.Value.Last().Value()});
    }
    const TReadResult<TNetAddress> first = ReadAddress(text.left(dash));
    if (!first.Ok)
        return TResult::Failure(first.Message);
    const TReadResult<TNetAddress> last = ReadAddress(text.mid(dash + 1));
    if (!last.Ok)
        return TResult::Failure(last.Message);
    if (first.Value.Family() != last.Value.Family())
        return TResult::Failure(QStringLiteral("range %1 - %2 mixes IPv4 and IPv6").arg(first.Value.Text(), last.Value.Text()));
    if (last.Value.Value() < first.Value.Value())
        return TResult::Failure(
            QStringLiteral("range end %1 is below its start %2").arg(last.Value.Text(), first.Value.Text()));
    return TResult::Success({first.Value.Family(), first.Value.Value(), last.Value.Value()});
}

void AppendRangePrefixes(TIPFamily family, const TUInt128 &first, const TUInt128 &last, QList<TNetPrefix> &out)
{
    const int width = AddressWidth(family);
    TUInt128 start = first;
    for (;;) {
        const TUInt128 span = last - start;
        // The largest block that starts at `start` and ends by `last`: as
        // aligned as `start` and no longer than the span.
        const int fits = span == TUInt128::Max() ? 128 : 127 - (span + TUInt128(1)).CountLeadingZeros();
        const int aligned = start.IsZero() ? 128 : start.CountTrailingZeros();
        const int bits = qMin(qMin(fits, aligned), width);
        out.append(TNetPrefix(TNetAddress(family, start), width - bits));
        const TUInt128 blockLast = start + TUInt128::LowBits(bits);
        if (blockLast == last)
            return;
        start = blockLast + TUInt128(1);
    }
}

TNetPrefix CoveringPrefix(TIPFamily family, const TUInt128 &first, const TUInt128 &last)
{
    const int width = AddressWidth(family);
    const int differing = 128 - (first ^ last).CountLeadingZeros();
    return TNetPrefix(TNetAddress(family, first), width - differing);
}
