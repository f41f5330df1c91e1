#include "prefix/PrefixInfo.h"

#include "prefix/AddressRegistry.h"

TAddressRange HostRange(const TNetPrefix &prefix)
{
    TUInt128 first = prefix.Network().Value();
    TUInt128 last = prefix.Last().Value();
    if (HasBroadcast(prefix)) {
        first += TUInt128(1);
        last -= TUInt128(1);
    }
    return {prefix.Family(), first, last};
}

TAddressCount UsableHosts(const TNetPrefix &prefix)
{
    const TAddressRange range = HostRange(prefix);
    return TAddressCount::OfRange(range.First, range.Last);
}

bool HasBroadcast(const TNetPrefix &prefix)
{
    return prefix.Family() == TIPFamily::ifIPv4 && prefix.Length() <= 30;
}

void AppendRangeText(QString &out, TIPFamily family, const TUInt128 &first, const TUInt128 &last)
{
    TNetAddress(family, first).AppendText(out);
    if (first != last) {
        out += u" - ";
        TNetAddress(family, last).AppendText(out);
    }
}

QString RangeText(TIPFamily family, const TUInt128 &first, const TUInt128 &last)
{
    QString text;
    AppendRangeText(text, family, first, last);
    return text;
}

TReverseZones ReverseZonesOf(const TNetPrefix &prefix)
{
    const bool ipv4 = prefix.Family() == TIPFamily::ifIPv4;
    const int unit = ipv4 ? 8 : 4;
    const int zoneLength = (prefix.Length() + unit - 1) / unit * unit;
    const TUInt128 network = prefix.Network().Value();
    // The labels of the zone's units, least significant first.
    QString text;
    for (int end = zoneLength; end > 0; end -= unit) {
        const quint64 label = (network >> (prefix.Width() - end)).Low() & ((quint64(1) << unit) - 1);
        text += ipv4 ? QString::number(label) : QString::number(label, 16);
        text += u'.';
    }
    text += ipv4 ? u"in-addr.arpa" : u"ip6.arpa";
    return {text, TAddressCount::PowerOfTwo(zoneLength - prefix.Length())};
}

QString BitMapText(const TNetPrefix &prefix)
{
    const quint32 value = prefix.Address().IPv4Value();
    const int length = prefix.Length();
    QString text;
    text.reserve(36);
    for (int bit = 0; bit < 32; ++bit) {
        const bool split = bit == length && length > 0;
        if (bit > 0 && bit % 8 == 0 && !split)
            text += u'.';
        if (split)
            text += u'|';
        text += (value >> (31 - bit)) & 1 ? u'1' : u'0';
    }
    return text;
}

bool TPrefixInfo::SetEntryText(const QString &text)
{
    FEntryText = text;
    const TReadResult<TNetPrefix> read = ReadPrefix(text);
    if (!read.Ok) {
        FMessage = read.Message;
        return false;
    }
    FMessage.clear();
    FHasPrefix = true;
    FPrefix = read.Value;
    FRows = RowsOf(FPrefix);
    return true;
}

namespace {

void AppendKindRows(TResultRows &rows, const TNetPrefix &prefix)
{
    const TPrefixKind kind = PrefixKindOf(prefix);
    rows.append({QStringLiteral("Address Type"), kind.Text()});
    if (!kind.IsMixed())
        return;
    for (const TRegistryEntry *entry : kind.Entries())
        rows.append({QStringLiteral("Covers"), entry->Prefix.Text() + u' ' + entry->Text()});
}

void AppendZoneRow(TResultRows &rows, const TNetPrefix &prefix)
{
    const TReverseZones zones = ReverseZonesOf(prefix);
    QString text = zones.First;
    if (zones.Count != TAddressCount::PowerOfTwo(0))
        text += QStringLiteral(" (first of %1 zones)").arg(zones.Count.DecimalText());
    rows.append({QStringLiteral("Reverse Zone"), text});
}

} // namespace

TResultRows TPrefixInfo::RowsOf(const TNetPrefix &prefix)
{
    const TIPFamily family = prefix.Family();
    const TNetAddress network = prefix.Network();
    const TNetAddress last = prefix.Last();
    TResultRows rows;
    rows.append({QStringLiteral("Network"), prefix.Text()});
    if (family == TIPFamily::ifIPv4) {
        const TAddressRange hosts = HostRange(prefix);
        rows.append({QStringLiteral("Host Range"), RangeText(family, hosts.First, hosts.Last)});
        rows.append({QStringLiteral("Broadcast"), HasBroadcast(prefix) ? last.Text() : QStringLiteral("none")});
        rows.append({QStringLiteral("Netmask"), TNetAddress(family, prefix.NetMask()).Text()});
        rows.append({QStringLiteral("Wildcard"), TNetAddress(family, prefix.HostMask()).Text()});
        rows.append({QStringLiteral("Addresses"), prefix.Size().TextWithPower()});
        rows.append({QStringLiteral("Usable Hosts"), UsableHosts(prefix).DecimalText()});
        AppendKindRows(rows, prefix);
        AppendZoneRow(rows, prefix);
        rows.append({QStringLiteral("Bit Map"), BitMapText(prefix)});
        return rows;
    }
    rows.append({QStringLiteral("First Address"), network.Text()});
    rows.append({QStringLiteral("Last Address"), last.Text()});
    rows.append({QStringLiteral("Compressed"), prefix.Address().Text()});
    rows.append({QStringLiteral("Expanded"), prefix.Address().ExpandedText()});
    rows.append({QStringLiteral("Addresses"), prefix.Size().TextWithPower()});
    if (prefix.Length() < 64)
        rows.append({QStringLiteral("/64 Networks"), TAddressCount::PowerOfTwo(64 - prefix.Length()).TextWithPower()});
    AppendKindRows(rows, prefix);
    AppendZoneRow(rows, prefix);
    return rows;
}
