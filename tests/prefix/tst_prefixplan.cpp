#include <QTest>

#include "prefix/PrefixPlan.h"

using namespace Qt::StringLiterals;

// TPrefixPlan.
class tst_TPrefixPlan : public QObject
{
    Q_OBJECT
private slots:
    void plan_data();
    void plan();
    void lineErrors_data();
    void lineErrors();
    void tableText();
};

namespace {

QStringList Rows(const TPrefixPlan &plan)
{
    QStringList rows;
    for (int row = 0; row < plan.RowCount(); ++row)
        rows.append(plan.RowCells(row).join(u'|'));
    return rows;
}

} // namespace

void tst_TPrefixPlan::plan_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("requirements");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("free");
    QTest::addColumn<QString>("failure");
    QTest::newRow("largest first, lowest address") << u"10.0.0.0/24"_s << u"Links 2\nSales 120\nLab 50"_s
        << QStringList{u"Sales|120|/25|10.0.0.0|10.0.0.1 - 10.0.0.126|6"_s,
                       u"Lab|50|/26|10.0.0.128|10.0.0.129 - 10.0.0.190|12"_s,
                       u"Links|2|/30|10.0.0.192|10.0.0.193 - 10.0.0.194|0"_s}
        << u"10.0.0.196/30 10.0.0.200/29 10.0.0.208/28 10.0.0.224/27"_s << QString();
    QTest::newRow("host bits of the prefix ignored") << u"10.0.0.99/24"_s << u"A 254"_s
        << QStringList{u"A|254|/24|10.0.0.0|10.0.0.1 - 10.0.0.254|0"_s} << QString() << QString();
    // One or two hosts still need their network and broadcast addresses.
    QTest::newRow("1 host gets a /30, 3 a /29") << u"10.0.0.0/28"_s << u"Loopback 1\nThree 3"_s
        << QStringList{u"Three|3|/29|10.0.0.0|10.0.0.1 - 10.0.0.6|3"_s,
                       u"Loopback|1|/30|10.0.0.8|10.0.0.9 - 10.0.0.10|1"_s}
        << u"10.0.0.12/30"_s << QString();
    QTest::newRow("6 hosts fill a /29, 7 need a /28") << u"10.0.0.0/27"_s << u"Six 6\nSeven 7"_s
        << QStringList{u"Seven|7|/28|10.0.0.0|10.0.0.1 - 10.0.0.14|7"_s, u"Six|6|/29|10.0.0.16|10.0.0.17 - 10.0.0.22|0"_s}
        << u"10.0.0.24/29"_s << QString();
    QTest::newRow("ties keep input order") << u"10.0.0.0/28"_s << u"B 2\nA 2\nC 2"_s
        << QStringList{u"B|2|/30|10.0.0.0|10.0.0.1 - 10.0.0.2|0"_s, u"A|2|/30|10.0.0.4|10.0.0.5 - 10.0.0.6|0"_s,
                       u"C|2|/30|10.0.0.8|10.0.0.9 - 10.0.0.10|0"_s}
        << u"10.0.0.12/30"_s << QString();
    QTest::newRow("names with blanks, comments, blank lines") << u"10.0.0.0/29"_s
        << u"# floor plan\n\n  Floor 2  Room\t7   2  \r\n"_s
        << QStringList{u"Floor 2 Room 7|2|/30|10.0.0.0|10.0.0.1 - 10.0.0.2|0"_s} << u"10.0.0.4/30"_s << QString();
    QTest::newRow("a comment after a requirement") << u"10.0.0.0/29"_s << u"Sales 2 # floor 2\n# 9"_s
        << QStringList{u"Sales|2|/30|10.0.0.0|10.0.0.1 - 10.0.0.2|0"_s} << u"10.0.0.4/30"_s << QString();
    QTest::newRow("a number alone has no name") << u"10.0.0.0/29"_s << u"2"_s
        << QStringList{u"|2|/30|10.0.0.0|10.0.0.1 - 10.0.0.2|0"_s} << u"10.0.0.4/30"_s << QString();
    QTest::newRow("exactly full") << u"10.0.0.0/29"_s << u"A 1\nB 1"_s
        << QStringList{u"A|1|/30|10.0.0.0|10.0.0.1 - 10.0.0.2|1"_s, u"B|1|/30|10.0.0.4|10.0.0.5 - 10.0.0.6|1"_s}
        << QString() << QString();
    QTest::newRow("nothing asked") << u"10.0.0.0/24"_s << u"# nothing yet"_s << QStringList() << u"10.0.0.0/24"_s
                                   << QString();
    QTest::newRow("does not fit: nothing allocated") << u"10.0.0.0/25"_s << u"Sales 120\nLab 50\nLinks 2"_s
        << QStringList() << u"10.0.0.0/25"_s
        << u"The plan does not fit: 68 addresses are missing. 'Lab' (line 2) is the first that fails."_s;
    QTest::newRow("1 host in a /31 or /32 does not fit") << u"10.0.0.7/32"_s << u"A 1"_s << QStringList()
        << u"10.0.0.7/32"_s
        << u"The plan does not fit: 3 addresses are missing. 'A' (line 1) is the first that fails."_s;
    QTest::newRow("a block larger than the prefix") << u"10.0.0.0/24"_s << u"Small 2\nHuge 1000"_s << QStringList()
        << u"10.0.0.0/24"_s
        << u"The plan does not fit: 772 addresses are missing. 'Huge' (line 2) is the first that fails."_s;
    QTest::newRow("IPv6 counts /64s, rounded up") << u"2001:db8:0:100::/56"_s << u"Lab 3\nCore 1\nUsers 64"_s
        << QStringList{u"Users|64|/58|2001:db8:0:100::|2001:db8:0:100:: - 2001:db8:0:13f:ffff:ffff:ffff:ffff|0"_s,
                       u"Lab|3|/62|2001:db8:0:140::|2001:db8:0:140:: - 2001:db8:0:143:ffff:ffff:ffff:ffff|1"_s,
                       u"Core|1|/64|2001:db8:0:144::|2001:db8:0:144:: - 2001:db8:0:144:ffff:ffff:ffff:ffff|0"_s}
        << u"2001:db8:0:145::/64 2001:db8:0:146::/63 2001:db8:0:148::/61 2001:db8:0:150::/60 2001:db8:0:160::/59 "
           "2001:db8:0:180::/57"_s
        << QString();
    QTest::newRow("IPv6 prefix longer than /64") << u"2001:db8::/72"_s << u"Lab 1"_s << QStringList()
        << u"2001:db8::/72"_s
        << u"The plan does not fit: a /72 holds no /64 network; plan in a /64 or a shorter prefix. 'Lab' (line 1) is "
           "the first that fails."_s;
    QTest::newRow("IPv6 the whole space") << u"::/0"_s << u"All 18446744073709551616"_s
        << QStringList{u"All|18446744073709551616|/0|::|:: - ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff|0"_s} << QString()
        << QString();
}

void tst_TPrefixPlan::plan()
{
    QFETCH(QString, prefix);
    QFETCH(QString, requirements);
    QFETCH(QStringList, rows);
    QFETCH(QString, free);
    QFETCH(QString, failure);
    TPrefixPlan plan;
    plan.Compute(ReadPrefix(prefix).Value, requirements);
    QCOMPARE(plan.LineMessages(), QStringList());
    QCOMPARE(Rows(plan), rows);
    QCOMPARE(plan.FreePrefixTexts().join(u' '), free);
    QCOMPARE(plan.FailureMessage(), failure);
    QCOMPARE(plan.Fits(), failure.isEmpty());
}

void tst_TPrefixPlan::lineErrors_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("requirements");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("rows");
    QTest::newRow("the other lines still count") << u"10.0.0.0/24"_s
        << u"Sales 120\nLab\nGuests 0\nPrinters 12x\nWAN 99999999999999999999999999999999999999999\nSpace 5000000000\nLab 50"_s
        << QStringList{u"line 2: 'Lab' does not end in a number of hosts"_s,
                       u"line 3: 'Guests 0' asks for 0 hosts"_s,
                       u"line 4: 'Printers 12x' does not end in a number of hosts"_s,
                       u"line 5: 99999999999999999999999999999999999999999 is too large"_s,
                       u"line 6: 5000000000 hosts do not fit in any IPv4 prefix (at most 4294967294)"_s}
        << 2;
    QTest::newRow("IPv6 unit in the messages") << u"2001:db8::/48"_s
        << u"Lab\nHuge 18446744073709551617\nCore 1"_s
        << QStringList{u"line 1: 'Lab' does not end in a number of /64 networks"_s,
                       u"line 2: 18446744073709551617 /64 networks do not fit in any IPv6 prefix (at most 2^64)"_s}
        << 1;
}

void tst_TPrefixPlan::lineErrors()
{
    QFETCH(QString, prefix);
    QFETCH(QString, requirements);
    QFETCH(QStringList, messages);
    QFETCH(int, rows);
    TPrefixPlan plan;
    plan.Compute(ReadPrefix(prefix).Value, requirements);
    QCOMPARE(plan.LineMessages(), messages);
    QCOMPARE(plan.RowCount(), rows);
    QVERIFY(plan.Fits());
}

void tst_TPrefixPlan::tableText()
{
    TPrefixPlan plan;
    plan.Compute(ReadPrefix(u"10.0.0.0/29"_s).Value, u"Core 2"_s);
    QCOMPARE(plan.TableText(), u"Name\tHosts\tPrefix\tNetwork\tHost Range\tSpare\r\n"
                               "Core\t2\t/30\t10.0.0.0\t10.0.0.1 - 10.0.0.2\t0\r\n"
                               "Free\t\t/30\t10.0.0.4\t10.0.0.5 - 10.0.0.6\t2\r\n"_s);
    // IPv6 numbers count /64 networks, and a block has no hosts to range over.
    plan.Compute(ReadPrefix(u"2001:db8::/62"_s).Value, u"Lab 2"_s);
    QCOMPARE(plan.TableText(), u"Name\t/64 Networks\tPrefix\tNetwork\tAddress Range\tSpare\r\n"
                               "Lab\t2\t/63\t2001:db8::\t2001:db8:: - 2001:db8:0:1:ffff:ffff:ffff:ffff\t0\r\n"
                               "Free\t\t/63\t2001:db8:0:2::\t2001:db8:0:2:: - 2001:db8:0:3:ffff:ffff:ffff:ffff\t2\r\n"_s);
}

QTEST_APPLESS_MAIN(tst_TPrefixPlan)
#include "tst_prefixplan.moc"
