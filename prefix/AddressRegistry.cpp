#include "prefix/AddressRegistry.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 V4(quint8 a, quint8 b, quint8 c, quint8 d)
{
    return (quint32(a) << 24) | (quint32(b) << 16) | (quint32(c) << 8) | d;
}

// An IPv6 prefix from its first four groups and last four groups.
TNetAddress V6(quint16 g0, quint16 g1, quint16 g2, quint16 g3, quint64 low = 0)
{
    return TNetAddress::IPv6(quint64(g0) << 48 | quint64(g1) << 32 | quint64(g2) << 16 | g3, low);
}

QList<TRegistryEntry> BuildEntries()
{
    using enum TGlobalReach;
    const auto v4 = [](quint32 value, int length) { return TNetPrefix(TNetAddress::IPv4(value), length); };
    const auto v6 = [](const TNetAddress &address, int length) { return TNetPrefix(address, length); };
    QList<TRegistryEntry> entries = {
        {v4(V4(0, 0, 0, 0), 8), u"This Network"_s, u"RFC 791"_s, grNo},
        {v4(V4(0, 0, 0, 0), 32), u"This Host on This Network"_s, u"RFC 1122"_s, grNo},
        {v4(V4(10, 0, 0, 0), 8), u"Private-Use"_s, u"RFC 1918"_s, grNo},
        {v4(V4(100, 64, 0, 0), 10), u"Shared Address Space"_s, u"RFC 6598"_s, grNo},
        {v4(V4(127, 0, 0, 0), 8), u"Loopback"_s, u"RFC 1122"_s, grNo},
        {v4(V4(169, 254, 0, 0), 16), u"Link-Local"_s, u"RFC 3927"_s, grNo},
        {v4(V4(172, 16, 0, 0), 12), u"Private-Use"_s, u"RFC 1918"_s, grNo},
        {v4(V4(192, 0, 0, 0), 24), u"IETF Protocol Assignments"_s, u"RFC 6890"_s, grNo},
        {v4(V4(192, 0, 0, 0), 29), u"IPv4 Service Continuity Prefix"_s, u"RFC 7335"_s, grNo},
        {v4(V4(192, 0, 0, 8), 32), u"IPv4 Dummy Address"_s, u"RFC 7600"_s, grNo},
        {v4(V4(192, 0, 0, 9), 32), u"Port Control Protocol Anycast"_s, u"RFC 7723"_s, grYes},
        {v4(V4(192, 0, 0, 10), 32), u"Traversal Using Relays around NAT Anycast"_s, u"RFC 8155"_s, grYes},
        // Listed as the two addresses 192.0.0.170 and 192.0.0.171.
        {v4(V4(192, 0, 0, 170), 31), u"NAT64/DNS64 Discovery"_s, u"RFC 8880"_s, grNo},
        {v4(V4(192, 0, 2, 0), 24), u"Documentation (TEST-NET-1)"_s, u"RFC 5737"_s, grNo},
        {v4(V4(192, 31, 196, 0), 24), u"AS112-v4"_s, u"RFC 7535"_s, grYes},
        {v4(V4(192, 52, 193, 0), 24), u"AMT"_s, u"RFC 7450"_s, grYes},
        {v4(V4(192, 88, 99, 0), 24), u"Deprecated (6to4 Relay Anycast)"_s, u"RFC 7526"_s, grNotApplicable},
        {v4(V4(192, 168, 0, 0), 16), u"Private-Use"_s, u"RFC 1918"_s, grNo},
        {v4(V4(192, 175, 48, 0), 24), u"Direct Delegation AS112 Service"_s, u"RFC 7534"_s, grYes},
        {v4(V4(198, 18, 0, 0), 15), u"Benchmarking"_s, u"RFC 2544"_s, grNo},
        {v4(V4(198, 51, 100, 0), 24), u"Documentation (TEST-NET-2)"_s, u"RFC 5737"_s, grNo},
        {v4(V4(203, 0, 113, 0), 24), u"Documentation (TEST-NET-3)"_s, u"RFC 5737"_s, grNo},
        {v4(V4(224, 0, 0, 0), 4), u"Multicast"_s, u"RFC 5771"_s, grNotApplicable},
        {v4(V4(240, 0, 0, 0), 4), u"Reserved"_s, u"RFC 1112"_s, grNo},
        {v4(V4(255, 255, 255, 255), 32), u"Limited Broadcast"_s, u"RFC 919"_s, grNo},

        {v6(V6(0, 0, 0, 0), 128), u"Unspecified Address"_s, u"RFC 4291"_s, grNo},
        {v6(V6(0, 0, 0, 0, 1), 128), u"Loopback Address"_s, u"RFC 4291"_s, grNo},
        {v6(V6(0, 0, 0, 0, 0xFFFF00000000), 96), u"IPv4-mapped Address"_s, u"RFC 4291"_s, grNo},
        {v6(V6(0x64, 0xFF9B, 0, 0), 96), u"IPv4-IPv6 Translation (NAT64)"_s, u"RFC 6052"_s, grYes},
        {v6(V6(0x64, 0xFF9B, 1, 0), 48), u"IPv4-IPv6 Translation, Local-Use (NAT64)"_s, u"RFC 8215"_s, grNo},
        {v6(V6(0x100, 0, 0, 0), 64), u"Discard-Only Address Block"_s, u"RFC 6666"_s, grNo},
        {v6(V6(0x2001, 0, 0, 0), 23), u"IETF Protocol Assignments"_s, u"RFC 2928"_s, grNo},
        {v6(V6(0x2001, 0, 0, 0), 32), u"Teredo"_s, u"RFC 4380"_s, grNotApplicable},
        {v6(V6(0x2001, 1, 0, 0, 1), 128), u"Port Control Protocol Anycast"_s, u"RFC 7723"_s, grYes},
        {v6(V6(0x2001, 1, 0, 0, 2), 128), u"Traversal Using Relays around NAT Anycast"_s, u"RFC 8155"_s, grYes},
        {v6(V6(0x2001, 1, 0, 0, 3), 128), u"DNS-SD Service Registration Protocol Anycast"_s, u"RFC 9665"_s, grYes},
        {v6(V6(0x2001, 2, 0, 0), 48), u"Benchmarking"_s, u"RFC 5180"_s, grNo},
        {v6(V6(0x2001, 3, 0, 0), 32), u"AMT"_s, u"RFC 7450"_s, grYes},
        {v6(V6(0x2001, 4, 0x112, 0), 48), u"AS112-v6"_s, u"RFC 7535"_s, grYes},
        {v6(V6(0x2001, 0x10, 0, 0), 28), u"Deprecated (previously ORCHID)"_s, u"RFC 4843"_s, grNo},
        {v6(V6(0x2001, 0x20, 0, 0), 28), u"ORCHIDv2"_s, u"RFC 7343"_s, grYes},
        {v6(V6(0x2001, 0x30, 0, 0), 28), u"Drone Remote ID Protocol Entity Tags (DETs)"_s, u"RFC 9374"_s, grYes},
        {v6(V6(0x2001, 0xDB8, 0, 0), 32), u"Documentation"_s, u"RFC 3849"_s, grNo},
        {v6(V6(0x2002, 0, 0, 0), 16), u"6to4"_s, u"RFC 3056"_s, grNotApplicable},
        {v6(V6(0x2620, 0x4F, 0x8000, 0), 48), u"Direct Delegation AS112 Service"_s, u"RFC 7534"_s, grYes},
        {v6(V6(0x3FFF, 0, 0, 0), 20), u"Documentation"_s, u"RFC 9637"_s, grNo},
        {v6(V6(0x5F00, 0, 0, 0), 16), u"Segment Routing (SRv6) SIDs"_s, u"RFC 9602"_s, grNo},
        {v6(V6(0xFC00, 0, 0, 0), 7), u"Unique-Local"_s, u"RFC 4193"_s, grNo},
        {v6(V6(0xFE80, 0, 0, 0), 10), u"Link-Local Unicast"_s, u"RFC 4291"_s, grNo},
        {v6(V6(0xFF00, 0, 0, 0), 8), u"Multicast"_s, u"RFC 4291"_s, grNotApplicable},
    };
    // Registry order: family, then network, then the containing entry first.
    std::stable_sort(entries.begin(), entries.end(), [](const TRegistryEntry &a, const TRegistryEntry &b) {
        if (a.Prefix.Network() != b.Prefix.Network())
            return a.Prefix.Network() < b.Prefix.Network();
        return a.Prefix.Length() < b.Prefix.Length();
    });
    return entries;
}

} // namespace

const QList<TRegistryEntry> &RegistryEntries()
{
    static const QList<TRegistryEntry> entries = BuildEntries();
    return entries;
}

const TRegistryEntry *RegistryEntryOf(const TNetAddress &address)
{
    const TRegistryEntry *best = nullptr;
    for (const TRegistryEntry &entry : RegistryEntries())
        if (entry.Prefix.Contains(address) && (!best || entry.Prefix.Length() > best->Prefix.Length()))
            best = &entry;
    return best;
}

QString GlobalUnicastText()
{
    return QStringLiteral("Global Unicast");
}

QList<const TRegistryEntry *> TPrefixKind::Entries() const
{
    QList<const TRegistryEntry *> entries;
    if (Container)
        entries.append(Container);
    entries.append(Inside);
    return entries;
}

QString TPrefixKind::Text() const
{
    if (!IsMixed())
        return Container ? Container->Text() : GlobalUnicastText();
    const qsizetype count = Entries().size();
    QString text = count == 1 ? QStringLiteral("Mixed: 1 registry entry")
                              : QStringLiteral("Mixed: %1 registry entries").arg(count);
    if (HasGlobalUnicast)
        text += QStringLiteral(" and %1").arg(GlobalUnicastText());
    return text;
}

TPrefixKind PrefixKindOf(const TNetPrefix &prefix)
{
    TPrefixKind kind;
    // Inside entries that no other inside entry holds, summed to see
    // whether they fill the prefix.
    TAddressCount covered;
    const TRegistryEntry *outer = nullptr;
    for (const TRegistryEntry &entry : RegistryEntries()) {
        if (entry.Prefix.Contains(prefix)) {
            if (!kind.Container || entry.Prefix.Length() > kind.Container->Prefix.Length())
                kind.Container = &entry;
        } else if (prefix.Contains(entry.Prefix)) {
            kind.Inside.append(&entry);
            // Entries come in address order with containers first, so an
            // entry inside the last outer one follows it directly.
            if (!outer || !outer->Prefix.Contains(entry.Prefix)) {
                outer = &entry;
                covered += entry.Prefix.Size();
            }
        }
    }
    kind.HasGlobalUnicast = !kind.Container && covered < prefix.Size();
    return kind;
}
