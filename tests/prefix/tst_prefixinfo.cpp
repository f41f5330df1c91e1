#include <QTest>

#include "prefix/PrefixInfo.h"

using namespace Qt::StringLiterals;

// TPrefixInfo and the prefix rules: host range, reverse zones, bit map.
class tst_TPrefixInfo : public QObject
{
    Q_OBJECT
private slots:
    void rows_data();
    void rows();
    void hosts_data();
    void hosts();
    void reverseZones_data();
    void reverseZones();
    void bitMap_data();
    void bitMap();
    void mixedPrefixListsWhatItCovers();
    void unreadableEntryKeepsResults();
};

namespace {

QString RowsText(const TResultRows &rows)
{
    QStringList lines;
    for (const TResultRow &row : rows)
        lines.append(row.Caption + u": "_s + row.Value);
    return lines.join(u'\n');
}

} // namespace

void tst_TPrefixInfo::rows_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("IPv4 /19") << u"10.1.2.3/19"_s << QStringList{
        u"Network: 10.1.0.0/19"_s, u"Host Range: 10.1.0.1 - 10.1.31.254"_s, u"Broadcast: 10.1.31.255"_s,
        u"Netmask: 255.255.224.0"_s, u"Wildcard: 0.0.31.255"_s, u"Addresses: 8192 (2^13)"_s,
        u"Usable Hosts: 8190"_s, u"Address Type: Private-Use (RFC 1918)"_s,
        u"Reverse Zone: 0.1.10.in-addr.arpa (first of 32 zones)"_s,
        u"Bit Map: 00001010.00000001.000|00010.00000011"_s};
    QTest::newRow("IPv4 /31") << u"192.0.2.7/31"_s << QStringList{
        u"Network: 192.0.2.6/31"_s, u"Host Range: 192.0.2.6 - 192.0.2.7"_s, u"Broadcast: none"_s,
        u"Netmask: 255.255.255.254"_s, u"Wildcard: 0.0.0.1"_s, u"Addresses: 2 (2^1)"_s, u"Usable Hosts: 2"_s,
        u"Address Type: Documentation (TEST-NET-1) (RFC 5737)"_s,
        u"Reverse Zone: 6.2.0.192.in-addr.arpa (first of 2 zones)"_s,
        u"Bit Map: 11000000.00000000.00000010.0000011|1"_s};
    QTest::newRow("IPv4 /32") << u"8.8.8.8"_s << QStringList{
        u"Network: 8.8.8.8/32"_s, u"Host Range: 8.8.8.8"_s, u"Broadcast: none"_s, u"Netmask: 255.255.255.255"_s,
        u"Wildcard: 0.0.0.0"_s, u"Addresses: 1 (2^0)"_s, u"Usable Hosts: 1"_s, u"Address Type: Global Unicast"_s,
        u"Reverse Zone: 8.8.8.8.in-addr.arpa"_s, u"Bit Map: 00001000.00001000.00001000.00001000"_s};
    QTest::newRow("IPv6 /48") << u"2001:db8::1/48"_s << QStringList{
        u"Network: 2001:db8::/48"_s, u"First Address: 2001:db8::"_s,
        u"Last Address: 2001:db8:0:ffff:ffff:ffff:ffff:ffff"_s, u"Compressed: 2001:db8::1"_s,
        u"Expanded: 2001:0db8:0000:0000:0000:0000:0000:0001"_s,
        u"Addresses: 1208925819614629174706176 (2^80)"_s, u"/64 Networks: 65536 (2^16)"_s,
        u"Address Type: Documentation (RFC 3849)"_s, u"Reverse Zone: 0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa"_s};
    QTest::newRow("IPv6 /64 has no /64 count") << u"2001:db8:1:2::/64"_s << QStringList{
        u"Network: 2001:db8:1:2::/64"_s, u"First Address: 2001:db8:1:2::"_s,
        u"Last Address: 2001:db8:1:2:ffff:ffff:ffff:ffff"_s, u"Compressed: 2001:db8:1:2::"_s,
        u"Expanded: 2001:0db8:0001:0002:0000:0000:0000:0000"_s, u"Addresses: 18446744073709551616 (2^64)"_s,
        u"Address Type: Documentation (RFC 3849)"_s, u"Reverse Zone: 2.0.0.0.1.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa"_s};
    QTest::newRow("IPv6 /127") << u"2001:db8::3/127"_s << QStringList{
        u"Network: 2001:db8::2/127"_s, u"First Address: 2001:db8::2"_s, u"Last Address: 2001:db8::3"_s,
        u"Compressed: 2001:db8::3"_s, u"Expanded: 2001:0db8:0000:0000:0000:0000:0000:0003"_s,
        u"Addresses: 2 (2^1)"_s, u"Address Type: Documentation (RFC 3849)"_s,
        u"Reverse Zone: 2.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa (first of 2 zones)"_s};
    QTest::newRow("unspecified") << u"::"_s << QStringList{
        u"Network: ::/128"_s, u"First Address: ::"_s, u"Last Address: ::"_s, u"Compressed: ::"_s,
        u"Expanded: 0000:0000:0000:0000:0000:0000:0000:0000"_s, u"Addresses: 1 (2^0)"_s,
        u"Address Type: Unspecified Address (RFC 4291)"_s,
        u"Reverse Zone: 0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.ip6.arpa"_s};
    QTest::newRow("loopback") << u"::1/128"_s << QStringList{
        u"Network: ::1/128"_s, u"First Address: ::1"_s, u"Last Address: ::1"_s, u"Compressed: ::1"_s,
        u"Expanded: 0000:0000:0000:0000:0000:0000:0000:0001"_s, u"Addresses: 1 (2^0)"_s,
        u"Address Type: Loopback Address (RFC 4291)"_s,
        u"Reverse Zone: 1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.ip6.arpa"_s};
    QTest::newRow("IPv4-mapped block") << u"::ffff:0:0/96"_s << QStringList{
        u"Network: ::ffff:0.0.0.0/96"_s, u"First Address: ::ffff:0.0.0.0"_s,
        u"Last Address: ::ffff:255.255.255.255"_s, u"Compressed: ::ffff:0.0.0.0"_s,
        u"Expanded: 0000:0000:0000:0000:0000:ffff:0000:0000"_s, u"Addresses: 4294967296 (2^32)"_s,
        u"Address Type: IPv4-mapped Address (RFC 4291)"_s,
        u"Reverse Zone: f.f.f.f.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.ip6.arpa"_s};
}

void tst_TPrefixInfo::rows()
{
    QFETCH(QString, entry);
    QFETCH(QStringList, rows);
    TPrefixInfo info;
    QVERIFY(info.SetEntryText(entry));
    QCOMPARE(RowsText(info.Rows()), rows.join(u'\n'));
}

void tst_TPrefixInfo::hosts_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("usable");
    QTest::newRow("/0") << u"0.0.0.0/0"_s << u"0.0.0.1 - 255.255.255.254"_s << u"4294967294"_s;
    QTest::newRow("/30") << u"10.0.0.4/30"_s << u"10.0.0.5 - 10.0.0.6"_s << u"2"_s;
    QTest::newRow("/31, RFC 3021") << u"10.0.0.4/31"_s << u"10.0.0.4 - 10.0.0.5"_s << u"2"_s;
    QTest::newRow("/32") << u"10.0.0.4/32"_s << u"10.0.0.4"_s << u"1"_s;
    QTest::newRow("IPv6 /0, every address") << u"::/0"_s << u":: - ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"_s
                                            << u"340282366920938463463374607431768211456"_s;
    QTest::newRow("IPv6 /128") << u"2001:db8::9/128"_s << u"2001:db8::9"_s << u"1"_s;
}

void tst_TPrefixInfo::hosts()
{
    QFETCH(QString, prefix);
    QFETCH(QString, range);
    QFETCH(QString, usable);
    const TNetPrefix read = ReadPrefix(prefix).Value;
    const TAddressRange hosts = HostRange(read);
    QCOMPARE(RangeText(hosts.Family, hosts.First, hosts.Last), range);
    QCOMPARE(UsableHosts(read).DecimalText(), usable);
}

void tst_TPrefixInfo::reverseZones_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("count");
    QTest::newRow("IPv4 /0") << u"0.0.0.0/0"_s << u"in-addr.arpa"_s << u"1"_s;
    QTest::newRow("IPv4 /1") << u"128.0.0.0/1"_s << u"128.in-addr.arpa"_s << u"128"_s;
    QTest::newRow("IPv4 /8") << u"10.0.0.0/8"_s << u"10.in-addr.arpa"_s << u"1"_s;
    QTest::newRow("IPv4 /22") << u"198.51.100.0/22"_s << u"100.51.198.in-addr.arpa"_s << u"4"_s;
    QTest::newRow("IPv4 /25") << u"192.0.2.128/25"_s << u"128.2.0.192.in-addr.arpa"_s << u"128"_s;
    QTest::newRow("IPv6 /0") << u"::/0"_s << u"ip6.arpa"_s << u"1"_s;
    QTest::newRow("IPv6 /33") << u"2001:db8:8000::/33"_s << u"8.8.b.d.0.1.0.0.2.ip6.arpa"_s << u"8"_s;
    QTest::newRow("IPv6 /56") << u"2001:db8:0:ab00::/56"_s << u"b.a.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa"_s << u"1"_s;
}

void tst_TPrefixInfo::reverseZones()
{
    QFETCH(QString, prefix);
    QFETCH(QString, first);
    QFETCH(QString, count);
    const TReverseZones zones = ReverseZonesOf(ReadPrefix(prefix).Value);
    QCOMPARE(zones.First, first);
    QCOMPARE(zones.Count.DecimalText(), count);
}

void tst_TPrefixInfo::bitMap_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("bits");
    QTest::newRow("/0: no mark") << u"255.0.0.1/0"_s << u"11111111.00000000.00000000.00000001"_s;
    QTest::newRow("/1") << u"255.0.0.1/1"_s << u"1|1111111.00000000.00000000.00000001"_s;
    QTest::newRow("/8: on the dot") << u"255.0.0.1/8"_s << u"11111111|00000000.00000000.00000001"_s;
    QTest::newRow("/32: no mark") << u"255.0.0.1"_s << u"11111111.00000000.00000000.00000001"_s;
}

void tst_TPrefixInfo::bitMap()
{
    QFETCH(QString, prefix);
    QFETCH(QString, bits);
    QCOMPARE(BitMapText(ReadPrefix(prefix).Value), bits);
}

void tst_TPrefixInfo::mixedPrefixListsWhatItCovers()
{
    TPrefixInfo info;
    QVERIFY(info.SetEntryText(u"192.0.0.8/30"_s));
    QStringList covers;
    for (const TResultRow &row : info.Rows())
        if (row.Caption == u"Covers")
            covers.append(row.Value);
    QCOMPARE(covers, (QStringList{u"192.0.0.0/24 IETF Protocol Assignments (RFC 6890)"_s,
                                  u"192.0.0.8/32 IPv4 Dummy Address (RFC 7600)"_s,
                                  u"192.0.0.9/32 Port Control Protocol Anycast (RFC 7723)"_s,
                                  u"192.0.0.10/32 Traversal Using Relays around NAT Anycast (RFC 8155)"_s}));
    // Right after the type row, before the reverse zone.
    QCOMPARE(info.Rows().at(7).Value, u"Mixed: 4 registry entries"_s);
    QCOMPARE(info.Rows().at(8).Caption, u"Covers"_s);
    QCOMPARE(info.Rows().at(12).Caption, u"Reverse Zone"_s);
}

void tst_TPrefixInfo::unreadableEntryKeepsResults()
{
    TPrefixInfo info;
    QVERIFY(!info.HasPrefix());
    QVERIFY(info.Rows().isEmpty());
    QVERIFY(info.SetEntryText(u"10.0.0.0/8"_s));
    const TResultRows rows = info.Rows();
    QVERIFY(!info.SetEntryText(u"10.0.0.0/33"_s));
    QCOMPARE(info.Message(), u"prefix length 33 is out of range 0–32"_s);
    QCOMPARE(info.EntryText(), u"10.0.0.0/33"_s);
    QVERIFY(info.HasPrefix());
    QCOMPARE(info.Prefix().Text(), u"10.0.0.0/8"_s);
    QCOMPARE(info.Rows(), rows);
    QVERIFY(info.SetEntryText(u"10.0.0.0/9"_s));
    QVERIFY(info.Message().isEmpty());
    QCOMPARE(info.RowsText().section(u"\r\n"_s, 0, 0), u"Network\t10.0.0.0/9"_s);
}

QTEST_APPLESS_MAIN(tst_TPrefixInfo)
#include "tst_prefixinfo.moc"
