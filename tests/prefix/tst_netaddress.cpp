#include <QTest>

#include <QHostAddress>
#include <QRandomGenerator>

#include "prefix/NetAddress.h"

using namespace Qt::StringLiterals;

// TNetAddress, TNetPrefix, their text forms and the readers.
class tst_TNetAddress : public QObject
{
    Q_OBJECT
private slots:
    void ipv6Text_data();
    void ipv6Text();
    void textAgreesWithQHostAddress();
    void expandedAndReverse();
    void readAddress_data();
    void readAddress();
    void readErrors_data();
    void readErrors();
    void readPrefix_data();
    void readPrefix();
    void readRange_data();
    void readRange();
    void rangePrefixes_data();
    void rangePrefixes();
};

namespace {

TNetAddress Address(const QString &text)
{
    const TReadResult<TNetAddress> read = ReadAddress(text);
    if (!read.Ok)
        qFatal("unreadable test address %s: %s", qPrintable(text), qPrintable(read.Message));
    return read.Value;
}

} // namespace

void tst_TNetAddress::ipv6Text_data()
{
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("text");
    // RFC 5952 section 4 and its corner cases.
    QTest::newRow("leading zeros dropped") << u"2001:0db8:0000:0000:0000:0000:0002:0001"_s << u"2001:db8::2:1"_s;
    QTest::newRow("single zero group kept") << u"2001:db8:0:1:1:1:1:1"_s << u"2001:db8:0:1:1:1:1:1"_s;
    QTest::newRow("longest run shortened") << u"2001:0:0:1:0:0:0:1"_s << u"2001:0:0:1::1"_s;
    QTest::newRow("first of equal runs") << u"2001:db8:0:0:1:0:0:1"_s << u"2001:db8::1:0:0:1"_s;
    QTest::newRow("lower case") << u"2001:DB8:0:0:0:0:0:ABCD"_s << u"2001:db8::abcd"_s;
    QTest::newRow("trailing zero group kept") << u"1:2:3:4:5:6:7:0"_s << u"1:2:3:4:5:6:7:0"_s;
    QTest::newRow("leading zero group kept") << u"0:1:2:3:4:5:6:7"_s << u"0:1:2:3:4:5:6:7"_s;
    QTest::newRow("run at the end") << u"1:0:0:0:0:0:0:0"_s << u"1::"_s;
    QTest::newRow("alternating zeros") << u"1:0:2:0:3:0:4:0"_s << u"1:0:2:0:3:0:4:0"_s;
    QTest::newRow("unspecified") << u"0:0:0:0:0:0:0:0"_s << u"::"_s;
    QTest::newRow("loopback") << u"0:0:0:0:0:0:0:1"_s << u"::1"_s;
    QTest::newRow("IPv4-mapped in mixed form") << u"0:0:0:0:0:ffff:c000:0201"_s << u"::ffff:192.0.2.1"_s;
    QTest::newRow("IPv4-mapped zero") << u"0:0:0:0:0:ffff:0:0"_s << u"::ffff:0.0.0.0"_s;
    QTest::newRow("IPv4-compatible stays hex") << u"0:0:0:0:0:0:0102:0304"_s << u"::102:304"_s;
    QTest::newRow("::1:0 is not 0.1.0.0") << u"0:0:0:0:0:0:1:0"_s << u"::1:0"_s;
    QTest::newRow("NAT64 stays hex") << u"64:ff9b:0:0:0:0:c000:0221"_s << u"64:ff9b::c000:221"_s;
    QTest::newRow("ffff not in the mapped place") << u"0:0:0:0:ffff:0:0:1"_s << u"::ffff:0:0:1"_s;
    QTest::newRow("all ones") << u"ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"_s << u"ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"_s;
}

void tst_TNetAddress::ipv6Text()
{
    QFETCH(QString, full);
    QFETCH(QString, text);
    const TNetAddress address = Address(full);
    QCOMPARE(address.Text(), text);
    QCOMPARE(Address(text), address);
}

void tst_TNetAddress::textAgreesWithQHostAddress()
{
    // QHostAddress writes the same RFC 5952 zero runs; it differs only in
    // the IPv4-compatible block ::/96, which it writes in mixed form.
    QRandomGenerator random(5952);
    for (int i = 0; i < 20000; ++i) {
        Q_IPV6ADDR bytes{};
        for (int group = 0; group < 8; ++group) {
            const quint32 pick = random.bounded(4);
            const quint16 value = pick == 0 ? quint16(random.bounded(0x10000)) : pick == 1 ? 1 : 0;
            bytes[2 * group] = quint8(value >> 8);
            bytes[2 * group + 1] = quint8(value);
        }
        const QHostAddress host(bytes);
        const TNetAddress address = TNetAddress::FromQHostAddress(host);
        if (address.Value().High() == 0 && (address.Value().Low() >> 32) == 0)
            continue;
        QCOMPARE(address.Text(), host.toString());
    }
}

void tst_TNetAddress::expandedAndReverse()
{
    const TNetAddress v6 = Address(u"2001:db8::567:89ab"_s);
    QCOMPARE(v6.ExpandedText(), u"2001:0db8:0000:0000:0000:0000:0567:89ab"_s);
    QCOMPARE(v6.ReversePointer(), u"b.a.9.8.7.6.5.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa"_s);
    QCOMPARE(Address(u"::ffff:10.1.2.3"_s).ExpandedText(), u"0000:0000:0000:0000:0000:ffff:0a01:0203"_s);
    const TNetAddress v4 = Address(u"192.0.2.10"_s);
    QCOMPARE(v4.ExpandedText(), u"192.0.2.10"_s);
    QCOMPARE(v4.ReversePointer(), u"10.2.0.192.in-addr.arpa"_s);
}

void tst_TNetAddress::readAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read");
    QTest::newRow("IPv4 with blanks") << u" \t10.0.0.1  "_s << u"10.0.0.1"_s;
    QTest::newRow("IPv4 ends") << u"255.255.255.255"_s << u"255.255.255.255"_s;
    QTest::newRow("IPv6 upper case") << u"2001:DB8::A"_s << u"2001:db8::a"_s;
    QTest::newRow("IPv6 four-digit groups") << u"2001:0db8:0000::0001"_s << u"2001:db8::1"_s;
    QTest::newRow(":: for one group") << u"1:2:3:4:5:6::8"_s << u"1:2:3:4:5:6:0:8"_s;
    QTest::newRow(":: after seven groups") << u"1:2:3:4:5:6:7::"_s << u"1:2:3:4:5:6:7:0"_s;
    QTest::newRow("embedded IPv4 after six groups") << u"1:2:3:4:5:6:1.2.3.4"_s << u"1:2:3:4:5:6:102:304"_s;
    QTest::newRow("embedded IPv4 after ::") << u"::ffff:10.1.2.3"_s << u"::ffff:10.1.2.3"_s;
}

void tst_TNetAddress::readAddress()
{
    QFETCH(QString, text);
    QFETCH(QString, read);
    const TReadResult<TNetAddress> result = ReadAddress(text);
    QVERIFY2(result.Ok, qPrintable(result.Message));
    QCOMPARE(result.Value.Text(), read);
}

void tst_TNetAddress::readErrors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty entry") << u"  "_s << u"enter an address, like 10.1.2.3/19 or 2001:db8::1/48"_s;
    QTest::newRow("length too long") << u"10.1.2.3/33"_s << u"prefix length 33 is out of range 0–32"_s;
    QTest::newRow("IPv6 length too long") << u"2001:db8::/129"_s << u"prefix length 129 is out of range 0–128"_s;
    QTest::newRow("huge length") << u"10.0.0.0/99999999999"_s << u"prefix length 99999999999 is out of range 0–32"_s;
    QTest::newRow("length missing") << u"10.1.2.3/"_s << u"prefix length is missing after '/'"_s;
    QTest::newRow("length not a number") << u"10.1.2.3/1x"_s << u"prefix length '1x' is not a number"_s;
    QTest::newRow("two slashes") << u"10.1.2.3/8/8"_s << u"more than one '/' in '10.1.2.3/8/8'"_s;
    QTest::newRow("address missing") << u"/24"_s << u"the address is missing before '/'"_s;
    QTest::newRow("text after the mask") << u"10.1.2.3 255.0.0.0 x"_s << u"unexpected text after '10.1.2.3 255.0.0.0'"_s;
    QTest::newRow("a length and a mask") << u"2001:db8::/64 255.255.255.0"_s << u"unexpected text after '2001:db8::/64'"_s;
    QTest::newRow("text after the length") << u"10.1.2.3/19 x"_s << u"unexpected text after '10.1.2.3/19'"_s;
    QTest::newRow("octet too large") << u"10.1.2.256"_s << u"octet 256 is out of range 0–255"_s;
    QTest::newRow("three octets") << u"10.1.2"_s << u"IPv4 address '10.1.2' has 3 octets instead of 4"_s;
    QTest::newRow("trailing dot") << u"10.1.2.3."_s << u"IPv4 address '10.1.2.3.' has an empty octet"_s;
    QTest::newRow("leading zero") << u"10.1.02.3"_s << u"octet '02' has a leading zero"_s;
    QTest::newRow("hex IPv4") << u"0x0a.1.2.3"_s << u"unexpected character 'x' in IPv4 address '0x0a.1.2.3'"_s;
    QTest::newRow("a name") << u"router"_s << u"'router' is not an IPv4 or IPv6 address"_s;
    QTest::newRow("control character") << u"10.1.2.\u00073"_s << u"unexpected character U+0007 in IPv4 address '10.1.2.\u00073'"_s;
    QTest::newRow("non-contiguous mask") << u"10.1.2.3 255.0.255.0"_s << u"netmask 255.0.255.0 is not contiguous"_s;
    QTest::newRow("wildcard mask") << u"10.1.2.3/0.0.31.255"_s
                                   << u"netmask 0.0.31.255 is not contiguous (a wildcard mask? its netmask is 255.255.224.0)"_s;
    QTest::newRow("IPv6 mask on IPv4") << u"10.1.2.3/ffff::"_s << u"netmask ffff:: is IPv6 but the address is IPv4"_s;
    QTest::newRow("two ::") << u"1::2::3"_s << u"IPv6 address '1::2::3' has more than one '::'"_s;
    QTest::newRow(":::") << u"1:::3"_s << u"IPv6 address '1:::3' has more than one '::'"_s;
    QTest::newRow("five hex digits") << u"12345::"_s << u"group '12345' has more than 4 hex digits"_s;
    QTest::newRow("nine groups") << u"1:2:3:4:5:6:7:8:9"_s << u"IPv6 address '1:2:3:4:5:6:7:8:9' has 9 groups instead of 8"_s;
    // A long text is quoted cut, so that the message fits under the field.
    QTest::newRow("eleven groups, quoted cut")
        << u"2001:db8:1234:5678:9abc:def0:1234:5678:9abc:def0:1234"_s
        << u"IPv6 address '2001:db8:1234:5678:9abc\u2026' has 11 groups instead of 8"_s;
    QTest::newRow("eight groups and ::") << u"1:2:3:4:5:6:7:8::"_s
                                         << u"IPv6 address '1:2:3:4:5:6:7:8::' has 8 groups besides '::', at most 7"_s;
    QTest::newRow("single leading colon") << u":1::"_s << u"IPv6 address ':1::' starts with a single ':'"_s;
    QTest::newRow("single trailing colon") << u"1::2:"_s << u"IPv6 address '1::2:' ends with a single ':'"_s;
    QTest::newRow("bad character") << u"2001:db8::g"_s << u"unexpected character 'g' in IPv6 address '2001:db8::g'"_s;
    QTest::newRow("IPv4 part before the end") << u"::1.2.3.4:5"_s << u"IPv6 address '::1.2.3.4:5' has an IPv4 part before its end"_s;
    QTest::newRow("IPv4 part before ::") << u"1.2.3.4::"_s << u"IPv6 address '1.2.3.4::' has an IPv4 part before its end"_s;
    QTest::newRow("bad embedded IPv4") << u"::ffff:1.2.3.04"_s << u"octet '04' has a leading zero"_s;
    QTest::newRow("zone index") << u"fe80::1%eth0/64"_s << u"zone index '%eth0' is not supported"_s;
    QTest::newRow("no-break space") << u"10.1.2.\u00a03"_s << u"unexpected character U+00A0 in IPv4 address '10.1.2.\u00a03'"_s;
    QTest::newRow("brackets") << u"[::1]"_s << u"unexpected character '[' in IPv6 address '[::1]'"_s;
}

void tst_TNetAddress::readErrors()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    const TReadResult<TNetPrefix> result = ReadPrefix(text);
    QVERIFY(!result.Ok);
    QCOMPARE(result.Message, message);
}

void tst_TNetAddress::readPrefix_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("network");
    QTest::addColumn<QString>("address");
    QTest::newRow("slash length") << u"10.1.2.3/19"_s << u"10.1.0.0/19"_s << u"10.1.2.3"_s;
    QTest::newRow("blank and netmask") << u"10.1.2.3 255.255.224.0"_s << u"10.1.0.0/19"_s << u"10.1.2.3"_s;
    QTest::newRow("slash and netmask") << u"10.1.2.3/255.255.224.0"_s << u"10.1.0.0/19"_s << u"10.1.2.3"_s;
    QTest::newRow("blanks around the slash") << u" 10.1.2.3 / 19 "_s << u"10.1.0.0/19"_s << u"10.1.2.3"_s;
    QTest::newRow("blank and length") << u"10.1.2.3\t19"_s << u"10.1.0.0/19"_s << u"10.1.2.3"_s;
    QTest::newRow("length with leading zero") << u"10.1.2.3/019"_s << u"10.1.0.0/19"_s << u"10.1.2.3"_s;
    QTest::newRow("bare IPv4") << u"10.1.2.3"_s << u"10.1.2.3/32"_s << u"10.1.2.3"_s;
    QTest::newRow("zero netmask") << u"10.1.2.3 0.0.0.0"_s << u"0.0.0.0/0"_s << u"10.1.2.3"_s;
    QTest::newRow("IPv6") << u"2001:db8::1/48"_s << u"2001:db8::/48"_s << u"2001:db8::1"_s;
    QTest::newRow("IPv4-mapped") << u"::ffff:10.1.2.3/120"_s << u"::ffff:10.1.2.0/120"_s << u"::ffff:10.1.2.3"_s;
    QTest::newRow("bare IPv6") << u"fe80::1"_s << u"fe80::1/128"_s << u"fe80::1"_s;
    QTest::newRow("IPv6 netmask") << u"2001:db8::1/ffff:ffff:ffff::"_s << u"2001:db8::/48"_s << u"2001:db8::1"_s;
    QTest::newRow("IPv6 /0") << u"::/0"_s << u"::/0"_s << u"::"_s;
}

void tst_TNetAddress::readPrefix()
{
    QFETCH(QString, text);
    QFETCH(QString, network);
    QFETCH(QString, address);
    const TReadResult<TNetPrefix> result = ReadPrefix(text);
    QVERIFY2(result.Ok, qPrintable(result.Message));
    QCOMPARE(result.Value.Text(), network);
    QCOMPARE(result.Value.Address().Text(), address);
}

void tst_TNetAddress::readRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("message");
    QTest::newRow("range") << u"10.0.0.1 - 10.0.0.9"_s << u"10.0.0.1"_s << u"10.0.0.9"_s << QString();
    QTest::newRow("range without blanks") << u"2001:db8::-2001:db8::ff"_s << u"2001:db8::"_s << u"2001:db8::ff"_s << QString();
    QTest::newRow("one-address range") << u"10.0.0.1-10.0.0.1"_s << u"10.0.0.1"_s << u"10.0.0.1"_s << QString();
    QTest::newRow("prefix, host bits ignored") << u"10.0.0.77/24"_s << u"10.0.0.0"_s << u"10.0.0.255"_s << QString();
    QTest::newRow("reversed") << u"10.0.0.9 - 10.0.0.1"_s << QString() << QString()
                              << u"range end 10.0.0.1 is below its start 10.0.0.9"_s;
    QTest::newRow("mixed families") << u"10.0.0.1 - ::1"_s << QString() << QString()
                                    << u"range 10.0.0.1 - ::1 mixes IPv4 and IPv6"_s;
    QTest::newRow("end missing") << u"10.0.0.1 -"_s << QString() << QString() << u"an address is missing"_s;
}

void tst_TNetAddress::readRange()
{
    QFETCH(QString, text);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, message);
    const TReadResult<TAddressRange> result = ReadAddressRange(text);
    QCOMPARE(result.Message, message);
    QCOMPARE(result.Ok, message.isEmpty());
    if (result.Ok) {
        QCOMPARE(TNetAddress(result.Value.Family, result.Value.First).Text(), first);
        QCOMPARE(TNetAddress(result.Value.Family, result.Value.Last).Text(), last);
    }
}

void tst_TNetAddress::rangePrefixes_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("prefixes");
    QTest::addColumn<QString>("covering");
    QTest::newRow("unaligned IPv4") << u"10.0.0.1"_s << u"10.0.0.6"_s
                                    << u"10.0.0.1/32 10.0.0.2/31 10.0.0.4/31 10.0.0.6/32"_s << u"10.0.0.0/29"_s;
    QTest::newRow("one address") << u"10.0.0.5"_s << u"10.0.0.5"_s << u"10.0.0.5/32"_s << u"10.0.0.5/32"_s;
    QTest::newRow("all of IPv4") << u"0.0.0.0"_s << u"255.255.255.255"_s << u"0.0.0.0/0"_s << u"0.0.0.0/0"_s;
    QTest::newRow("all but the first") << u"0.0.0.1"_s << u"255.255.255.255"_s
        << u"0.0.0.1/32 0.0.0.2/31 0.0.0.4/30 0.0.0.8/29 0.0.0.16/28 0.0.0.32/27 0.0.0.64/26 0.0.0.128/25 0.0.1.0/24 "
           "0.0.2.0/23 0.0.4.0/22 0.0.8.0/21 0.0.16.0/20 0.0.32.0/19 0.0.64.0/18 0.0.128.0/17 0.1.0.0/16 0.2.0.0/15 "
           "0.4.0.0/14 0.8.0.0/13 0.16.0.0/12 0.32.0.0/11 0.64.0.0/10 0.128.0.0/9 1.0.0.0/8 2.0.0.0/7 4.0.0.0/6 "
           "8.0.0.0/5 16.0.0.0/4 32.0.0.0/3 64.0.0.0/2 128.0.0.0/1"_s
        << u"0.0.0.0/0"_s;
    QTest::newRow("all of IPv6") << u"::"_s << u"ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"_s << u"::/0"_s << u"::/0"_s;
    QTest::newRow("upper half of IPv6") << u"8000::"_s << u"ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"_s << u"8000::/1"_s
                                        << u"8000::/1"_s;
    QTest::newRow("across a /64") << u"2001:db8::ffff:ffff:ffff:ffff"_s << u"2001:db8:0:1::"_s
                                  << u"2001:db8::ffff:ffff:ffff:ffff/128 2001:db8:0:1::/128"_s << u"2001:db8::/63"_s;
}

void tst_TNetAddress::rangePrefixes()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, prefixes);
    QFETCH(QString, covering);
    const TNetAddress a = Address(first);
    const TNetAddress b = Address(last);
    QList<TNetPrefix> list;
    AppendRangePrefixes(a.Family(), a.Value(), b.Value(), list);
    QStringList texts;
    for (const TNetPrefix &prefix : list)
        texts.append(prefix.Text());
    QCOMPARE(texts.join(u' '), prefixes);
    QCOMPARE(CoveringPrefix(a.Family(), a.Value(), b.Value()).Text(), covering);
}

QTEST_APPLESS_MAIN(tst_TNetAddress)
#include "tst_netaddress.moc"
