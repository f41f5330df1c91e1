#include <QTest>

#include "prefix/PrefixSummary.h"

using namespace Qt::StringLiterals;

// TPrefixSummary.
class tst_TPrefixSummary : public QObject
{
    Q_OBJECT
private slots:
    void summarize_data();
    void summarize();
    void badLinesNamedByNumber();
    void resultRowsAndText();
};

void tst_TPrefixSummary::summarize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("prefixes");
    QTest::addColumn<QString>("v4Count");
    QTest::addColumn<QString>("v6Count");
    QTest::newRow("adjacent halves merge") << u"10.0.0.0/25\n10.0.0.128/25"_s << u"10.0.0.0/24"_s << u"256"_s << QString();
    QTest::newRow("overlaps merge") << u"10.0.0.0/24\n10.0.0.77\n10.0.0.0/16"_s << u"10.0.0.0/16"_s << u"65536"_s
                                    << QString();
    QTest::newRow("adjacent single addresses") << u"10.0.0.3\n10.0.0.2\n10.0.0.1\n10.0.0.4"_s
                                               << u"10.0.0.1/32 10.0.0.2/31 10.0.0.4/32"_s << u"4"_s << QString();
    QTest::newRow("every form, with comments") << u"# office\n10.0.1.0 255.255.255.0  # floor 1\n"
                                                  "10.0.2.0/255.255.255.0\n10.0.3.0 - 10.0.3.255\r\n10.0.0.9/24\n"_s
                                               << u"10.0.0.0/22"_s << u"1024"_s << QString();
    QTest::newRow("IPv4 first, then IPv6") << u"2001:db8::/48\n192.0.2.0/24\n2001:db8:1::/48\n198.51.100.1"_s
                                           << u"192.0.2.0/24 198.51.100.1/32 2001:db8::/47"_s << u"257"_s
                                           << u"2417851639229258349412352"_s;
    QTest::newRow("a range split into prefixes") << u"10.0.0.5 - 10.0.0.10"_s << u"10.0.0.5/32 10.0.0.6/31 10.0.0.8/31 10.0.0.10/32"_s
                                                 << u"6"_s << QString();
    QTest::newRow("all of IPv4") << u"0.0.0.0/1\n128.0.0.0 - 255.255.255.255"_s << u"0.0.0.0/0"_s << u"4294967296"_s
                                 << QString();
    QTest::newRow("all of IPv6, exact") << u"::/1\n8000:: - ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff\n::1"_s << u"::/0"_s
                                        << QString() << u"340282366920938463463374607431768211456"_s;
    QTest::newRow("the top address merges nothing after it") << u"ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff\n::"_s
        << u"::/128 ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff/128"_s << QString() << u"2"_s;
    QTest::newRow("IPv4-mapped stays IPv6") << u"::ffff:10.0.0.0/120\n10.0.0.0/24"_s << u"10.0.0.0/24 ::ffff:10.0.0.0/120"_s
                                            << u"256"_s << u"256"_s;
    QTest::newRow("nothing") << u"\n# only comments\n   \n"_s << QString() << QString() << QString();
}

void tst_TPrefixSummary::summarize()
{
    QFETCH(QString, text);
    QFETCH(QString, prefixes);
    QFETCH(QString, v4Count);
    QFETCH(QString, v6Count);
    TPrefixSummary summary;
    summary.Compute(text);
    QCOMPARE(summary.LineMessages(), QStringList());
    QCOMPARE(summary.PrefixTexts().join(u' '), prefixes);
    QCOMPARE(summary.HasFamily(TIPFamily::ifIPv4), !v4Count.isEmpty());
    QCOMPARE(summary.HasFamily(TIPFamily::ifIPv6), !v6Count.isEmpty());
    if (!v4Count.isEmpty())
        QCOMPARE(summary.AddressCount(TIPFamily::ifIPv4).DecimalText(), v4Count);
    if (!v6Count.isEmpty())
        QCOMPARE(summary.AddressCount(TIPFamily::ifIPv6).DecimalText(), v6Count);
}

void tst_TPrefixSummary::badLinesNamedByNumber()
{
    TPrefixSummary summary;
    summary.Compute(u"10.0.0.0/24\n10.0.1.256\n\nrouter-1 # core\n10.0.0.9 - 10.0.0.1\n10.0.1.0/24"_s);
    QCOMPARE(summary.LineMessages(), (QStringList{u"line 2: octet 256 is out of range 0–255"_s,
                                                  u"line 4: 'router' is not an IPv4 or IPv6 address"_s,
                                                  u"line 5: range end 10.0.0.1 is below its start 10.0.0.9"_s}));
    QCOMPARE(summary.PrefixTexts(), QStringList{u"10.0.0.0/23"_s});
}

void tst_TPrefixSummary::resultRowsAndText()
{
    TPrefixSummary summary;
    summary.Compute(u"10.0.0.1\n10.0.3.0/24\n2001:db8::1\n2001:db8:0:8000::/49"_s);
    QCOMPARE(summary.ResultRows(), (TResultRows{{u"Prefixes"_s, u"4"_s},
                                                {u"IPv4 Addresses"_s, u"257"_s},
                                                {u"IPv4 Summary"_s, u"10.0.0.0/22"_s},
                                                {u"IPv6 Addresses"_s, u"604462909807314587353089"_s},
                                                {u"IPv6 Summary"_s, u"2001:db8::/48"_s}}));
    QCOMPARE(summary.PrefixListText(), u"10.0.0.1/32\r\n10.0.3.0/24\r\n2001:db8::1/128\r\n2001:db8:0:8000::/49\r\n"_s);
    QCOMPARE(summary.PrefixCount(), 4);
    QCOMPARE(summary.PrefixText(3), u"2001:db8:0:8000::/49"_s);
    QCOMPARE(summary.PrefixText(4), QString());
    summary.Compute(QString());
    QCOMPARE(summary.ResultRows(), (TResultRows{{u"Prefixes"_s, u"0"_s}}));
}

QTEST_APPLESS_MAIN(tst_TPrefixSummary)
#include "tst_prefixsummary.moc"
