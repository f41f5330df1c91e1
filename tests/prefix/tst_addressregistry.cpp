#include <QTest>

#include "prefix/AddressRegistry.h"

using namespace Qt::StringLiterals;

// The address type registry: RegistryEntries, RegistryEntryOf, PrefixKindOf.
class tst_AddressRegistry : public QObject
{
    Q_OBJECT
private slots:
    void firstAndLastAddress_data();
    void firstAndLastAddress();
    void everyEntryListed();
    void neighboursAreOutside();
    void globalReach_data();
    void globalReach();
    void prefixKind_data();
    void prefixKind();
};

namespace {

struct TEntryCase
{
    const char *Prefix;
    // The most specific entry at the first and at the last address.
    const char *First;
    const char *Last;
};

// Every entry, in registry order.
const TEntryCase EntryCases[] = {
    {"0.0.0.0/8", "This Host on This Network", "This Network"},
    {"0.0.0.0/32", "This Host on This Network", "This Host on This Network"},
    {"10.0.0.0/8", "Private-Use", "Private-Use"},
    {"100.64.0.0/10", "Shared Address Space", "Shared Address Space"},
    {"127.0.0.0/8", "Loopback", "Loopback"},
    {"169.254.0.0/16", "Link-Local", "Link-Local"},
    {"172.16.0.0/12", "Private-Use", "Private-Use"},
    {"192.0.0.0/24", "IPv4 Service Continuity Prefix", "IETF Protocol Assignments"},
    {"192.0.0.0/29", "IPv4 Service Continuity Prefix", "IPv4 Service Continuity Prefix"},
    {"192.0.0.8/32", "IPv4 Dummy Address", "IPv4 Dummy Address"},
    {"192.0.0.9/32", "Port Control Protocol Anycast", "Port Control Protocol Anycast"},
    {"192.0.0.10/32", "Traversal Using Relays around NAT Anycast", "Traversal Using Relays around NAT Anycast"},
    {"192.0.0.170/31", "NAT64/DNS64 Discovery", "NAT64/DNS64 Discovery"},
    {"192.0.2.0/24", "Documentation (TEST-NET-1)", "Documentation (TEST-NET-1)"},
    {"192.31.196.0/24", "AS112-v4", "AS112-v4"},
    {"192.52.193.0/24", "AMT", "AMT"},
    {"192.88.99.0/24", "Deprecated (6to4 Relay Anycast)", "Deprecated (6to4 Relay Anycast)"},
    {"192.168.0.0/16", "Private-Use", "Private-Use"},
    {"192.175.48.0/24", "Direct Delegation AS112 Service", "Direct Delegation AS112 Service"},
    {"198.18.0.0/15", "Benchmarking", "Benchmarking"},
    {"198.51.100.0/24", "Documentation (TEST-NET-2)", "Documentation (TEST-NET-2)"},
    {"203.0.113.0/24", "Documentation (TEST-NET-3)", "Documentation (TEST-NET-3)"},
    {"224.0.0.0/4", "Multicast", "Multicast"},
    {"240.0.0.0/4", "Reserved", "Limited Broadcast"},
    {"255.255.255.255/32", "Limited Broadcast", "Limited Broadcast"},
    {"::/128", "Unspecified Address", "Unspecified Address"},
    {"::1/128", "Loopback Address", "Loopback Address"},
    {"::ffff:0.0.0.0/96", "IPv4-mapped Address", "IPv4-mapped Address"},
    {"64:ff9b::/96", "IPv4-IPv6 Translation (NAT64)", "IPv4-IPv6 Translation (NAT64)"},
    {"64:ff9b:1::/48", "IPv4-IPv6 Translation, Local-Use (NAT64)", "IPv4-IPv6 Translation, Local-Use (NAT64)"},
    {"100::/64", "Discard-Only Address Block", "Discard-Only Address Block"},
    {"2001::/23", "Teredo", "IETF Protocol Assignments"},
    {"2001::/32", "Teredo", "Teredo"},
    {"2001:1::1/128", "Port Control Protocol Anycast", "Port Control Protocol Anycast"},
    {"2001:1::2/128", "Traversal Using Relays around NAT Anycast", "Traversal Using Relays around NAT Anycast"},
    {"2001:1::3/128", "DNS-SD Service Registration Protocol Anycast", "DNS-SD Service Registration Protocol Anycast"},
    {"2001:2::/48", "Benchmarking", "Benchmarking"},
    {"2001:3::/32", "AMT", "AMT"},
    {"2001:4:112::/48", "AS112-v6", "AS112-v6"},
    {"2001:10::/28", "Deprecated (previously ORCHID)", "Deprecated (previously ORCHID)"},
    {"2001:20::/28", "ORCHIDv2", "ORCHIDv2"},
    {"2001:30::/28", "Drone Remote ID Protocol Entity Tags (DETs)", "Drone Remote ID Protocol Entity Tags (DETs)"},
    {"2001:db8::/32", "Documentation", "Documentation"},
    {"2002::/16", "6to4", "6to4"},
    {"2620:4f:8000::/48", "Direct Delegation AS112 Service", "Direct Delegation AS112 Service"},
    {"3fff::/20", "Documentation", "Documentation"},
    {"5f00::/16", "Segment Routing (SRv6) SIDs", "Segment Routing (SRv6) SIDs"},
    {"fc00::/7", "Unique-Local", "Unique-Local"},
    {"fe80::/10", "Link-Local Unicast", "Link-Local Unicast"},
    {"ff00::/8", "Multicast", "Multicast"},
};

TNetPrefix Prefix(const QString &text)
{
    return ReadPrefix(text).Value;
}

QString NameAt(const TNetAddress &address)
{
    const TRegistryEntry *entry = RegistryEntryOf(address);
    return entry ? entry->Name : GlobalUnicastText();
}

} // namespace

void tst_AddressRegistry::firstAndLastAddress_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    for (const TEntryCase &entry : EntryCases)
        QTest::newRow(entry.Prefix) << QString::fromLatin1(entry.Prefix) << QString::fromUtf8(entry.First)
                                    << QString::fromUtf8(entry.Last);
}

void tst_AddressRegistry::firstAndLastAddress()
{
    QFETCH(QString, prefix);
    QFETCH(QString, first);
    QFETCH(QString, last);
    const TNetPrefix entry = Prefix(prefix);
    QCOMPARE(NameAt(entry.Network()), first);
    QCOMPARE(NameAt(entry.Last()), last);
}

void tst_AddressRegistry::everyEntryListed()
{
    QStringList listed;
    for (const TRegistryEntry &entry : RegistryEntries())
        listed.append(entry.Prefix.Text());
    QStringList expected;
    for (const TEntryCase &entry : EntryCases)
        expected.append(QString::fromLatin1(entry.Prefix));
    QCOMPARE(listed, expected);
    QCOMPARE(RegistryEntryOf(ReadAddress(u"10.9.8.7"_s).Value)->Text(), u"Private-Use (RFC 1918)"_s);
}

void tst_AddressRegistry::neighboursAreOutside()
{
    for (const TRegistryEntry &entry : RegistryEntries()) {
        const TUInt128 first = entry.Prefix.Network().Value();
        const TUInt128 last = entry.Prefix.Last().Value();
        if (!first.IsZero())
            QVERIFY2(RegistryEntryOf(TNetAddress(entry.Prefix.Family(), first - TUInt128(1))) != &entry,
                     qPrintable(entry.Prefix.Text()));
        if (last != TUInt128::LowBits(entry.Prefix.Width()))
            QVERIFY2(RegistryEntryOf(TNetAddress(entry.Prefix.Family(), last + TUInt128(1))) != &entry,
                     qPrintable(entry.Prefix.Text()));
    }
}

void tst_AddressRegistry::globalReach_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("reach");
    QTest::newRow("PCP anycast inside a non-global block") << u"192.0.0.9"_s << int(TGlobalReach::grYes);
    QTest::newRow("the rest of that block") << u"192.0.0.11"_s << int(TGlobalReach::grNo);
    QTest::newRow("NAT64 well-known prefix") << u"64:ff9b::8.8.8.8"_s << int(TGlobalReach::grYes);
    QTest::newRow("6to4 is N/A") << u"2002::1"_s << int(TGlobalReach::grNotApplicable);
    QTest::newRow("IPv4-mapped") << u"::ffff:8.8.8.8"_s << int(TGlobalReach::grNo);
}

void tst_AddressRegistry::globalReach()
{
    QFETCH(QString, address);
    QFETCH(int, reach);
    const TRegistryEntry *entry = RegistryEntryOf(ReadAddress(address).Value);
    QVERIFY(entry);
    QCOMPARE(int(entry->Global), reach);
}

void tst_AddressRegistry::prefixKind_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("first");
    QTest::newRow("an entry") << u"10.0.0.0/8"_s << u"Private-Use (RFC 1918)"_s << QString();
    QTest::newRow("inside an entry") << u"10.1.0.0/16"_s << u"Private-Use (RFC 1918)"_s << QString();
    QTest::newRow("inside the innermost entry") << u"192.0.0.170/32"_s << u"NAT64/DNS64 Discovery (RFC 8880)"_s << QString();
    QTest::newRow("global") << u"8.8.8.0/24"_s << u"Global Unicast"_s << QString();
    QTest::newRow("one entry and global") << u"10.0.0.0/7"_s << u"Mixed: 1 registry entry and Global Unicast"_s
                                          << u"10.0.0.0/8"_s;
    QTest::newRow("entries nested in the container") << u"192.0.0.8/30"_s << u"Mixed: 4 registry entries"_s
                                                     << u"192.0.0.0/24"_s;
    QTest::newRow("a container and all inside") << u"192.0.0.0/24"_s << u"Mixed: 6 registry entries"_s
                                                << u"192.0.0.0/24"_s;
    QTest::newRow("IPv4 /0") << u"0.0.0.0/0"_s << u"Mixed: 25 registry entries and Global Unicast"_s << u"0.0.0.0/8"_s;
    QTest::newRow("IPv6 /0") << u"::/0"_s << u"Mixed: 25 registry entries and Global Unicast"_s << u"::/128"_s;
    QTest::newRow("IPv4-mapped block") << u"::ffff:0:0/96"_s << u"IPv4-mapped Address (RFC 4291)"_s << QString();
    QTest::newRow("IPv4-compatible block") << u"::/96"_s << u"Mixed: 2 registry entries and Global Unicast"_s
                                           << u"::/128"_s;
    QTest::newRow("anycasts in the IETF block") << u"2001:1::/126"_s << u"Mixed: 4 registry entries"_s << u"2001::/23"_s;
    QTest::newRow("fc00::/6") << u"fc00::/6"_s << u"Mixed: 3 registry entries and Global Unicast"_s << u"fc00::/7"_s;
}

void tst_AddressRegistry::prefixKind()
{
    QFETCH(QString, prefix);
    QFETCH(QString, text);
    QFETCH(QString, first);
    const TPrefixKind kind = PrefixKindOf(Prefix(prefix));
    QCOMPARE(kind.Text(), text);
    QCOMPARE(kind.IsMixed(), !first.isEmpty());
    if (kind.IsMixed())
        QCOMPARE(kind.Entries().first()->Prefix.Text(), first);
}

QTEST_APPLESS_MAIN(tst_AddressRegistry)
#include "tst_addressregistry.moc"
