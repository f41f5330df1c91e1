#include <QTest>

#include "prefix/PrefixSplit.h"

using namespace Qt::StringLiterals;

// TPrefixSplit.
class tst_TPrefixSplit : public QObject
{
    Q_OBJECT
private slots:
    void lengths_data();
    void lengths();
    void keepsTheChosenLength();
    void rows_data();
    void rows();
    void viewWindow();
    void goTo_data();
    void goTo();
    void copyText();
    void copyRefusedPastTheLimit();
    void noSplitOfAHost();
};

namespace {

TPrefixSplit Split(const QString &prefix, int length = -1)
{
    TPrefixSplit split;
    split.SetPrefix(ReadPrefix(prefix).Value);
    if (length >= 0)
        split.SetNewLength(length);
    return split;
}

TUInt128 Index(const QString &text)
{
    return TUInt128::FromDecimal(text).value();
}

} // namespace

void tst_TPrefixSplit::lengths_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("defaultLength");
    QTest::addColumn<int>("minLength");
    QTest::addColumn<int>("maxLength");
    QTest::newRow("IPv4 +2") << u"10.0.0.0/8"_s << 10 << 9 << 32;
    QTest::newRow("IPv4 /31 clamps to /32") << u"10.0.0.0/31"_s << 32 << 32 << 32;
    QTest::newRow("IPv6 /32 to /64") << u"2001:db8::/32"_s << 64 << 33 << 128;
    QTest::newRow("IPv6 /63 to /64") << u"2001:db8::/63"_s << 64 << 64 << 128;
    QTest::newRow("IPv6 /64 +2") << u"2001:db8::/64"_s << 66 << 65 << 128;
    QTest::newRow("IPv6 /127 clamps to /128") << u"2001:db8::/127"_s << 128 << 128 << 128;
}

void tst_TPrefixSplit::lengths()
{
    QFETCH(QString, prefix);
    QFETCH(int, defaultLength);
    QFETCH(int, minLength);
    QFETCH(int, maxLength);
    TPrefixSplit split = Split(prefix);
    QCOMPARE(split.NewLength(), defaultLength);
    QCOMPARE(split.MinLength(), minLength);
    QCOMPARE(split.MaxLength(), maxLength);
    split.SetNewLength(0);
    QCOMPARE(split.NewLength(), minLength);
    split.SetNewLength(500);
    QCOMPARE(split.NewLength(), maxLength);
}

void tst_TPrefixSplit::keepsTheChosenLength()
{
    TPrefixSplit split = Split(u"10.0.0.0/24"_s, 28);
    split.SetPrefix(ReadPrefix(u"10.0.1.0/24"_s).Value);
    QCOMPARE(split.NewLength(), 28);
    QCOMPARE(split.ChosenLength(), 28);
    split.SetPrefix(ReadPrefix(u"10.0.1.0/28"_s).Value);
    QCOMPARE(split.NewLength(), 30);
    // A prefix the choice does not fit (a bare address typed on the way to
    // the next prefix) leaves the choice for the next one; another family
    // has its own.
    split.SetPrefix(ReadPrefix(u"10.0.1.0"_s).Value);
    QCOMPARE(split.NewLength(), 32);
    split.SetPrefix(ReadPrefix(u"10.0.2.0/24"_s).Value);
    QCOMPARE(split.NewLength(), 28);
    split.SetPrefix(ReadPrefix(u"2001:db8::/28"_s).Value);
    QCOMPARE(split.NewLength(), 64);
    QCOMPARE(split.ChosenLength(), 28);  // kept for the next start
    split.SetPrefix(ReadPrefix(u"2001:db8::/27"_s).Value);
    QCOMPARE(split.NewLength(), 64);
    split.SetNewLength(48);
    split.SetPrefix(ReadPrefix(u"10.0.3.0/26"_s).Value);
    QCOMPARE(split.NewLength(), 28);
    QCOMPARE(split.ChosenLength(), 28);
    // The default is no choice.
    QCOMPARE(Split(u"10.0.0.0/24"_s).ChosenLength(), 0);
    // A stored choice is kept as it is, also where it does not fit.
    split.SetChosenLength(100);
    QCOMPARE(split.NewLength(), 28);
    QCOMPARE(split.ChosenLength(), 100);
    split.SetPrefix(ReadPrefix(u"2001:db8::/48"_s).Value);
    QCOMPARE(split.NewLength(), 100);
}

void tst_TPrefixSplit::rows_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("cells");
    QTest::newRow("IPv4 first") << u"192.168.1.77/24"_s << 26 << u"0"_s << u"4 (2^2)"_s
                                << u"1|192.168.1.0/26|192.168.1.1 - 192.168.1.62|192.168.1.63"_s;
    QTest::newRow("IPv4 last") << u"192.168.1.0/24"_s << 26 << u"3"_s << u"4 (2^2)"_s
                               << u"4|192.168.1.192/26|192.168.1.193 - 192.168.1.254|192.168.1.255"_s;
    QTest::newRow("IPv4 into /31") << u"10.0.0.0/30"_s << 31 << u"1"_s << u"2 (2^1)"_s
                                   << u"2|10.0.0.2/31|10.0.0.2 - 10.0.0.3|none"_s;
    QTest::newRow("IPv4 into /32") << u"10.0.0.0/30"_s << 32 << u"3"_s << u"4 (2^2)"_s << u"4|10.0.0.3/32|10.0.0.3|none"_s;
    QTest::newRow("IPv4 /0 into /32, last") << u"0.0.0.0/0"_s << 32 << u"4294967295"_s << u"4294967296 (2^32)"_s
                                            << u"4294967296|255.255.255.255/32|255.255.255.255|none"_s;
    QTest::newRow("IPv6 beyond 2^31") << u"2001:db8::/32"_s << 64 << u"2147483648"_s << u"4294967296 (2^32)"_s
                                      << u"2147483649|2001:db8:8000::/64|2001:db8:8000:: - 2001:db8:8000:0:ffff:ffff:ffff:ffff"_s;
    QTest::newRow("IPv6 last /64 of a /32") << u"2001:db8::/32"_s << 64 << u"4294967295"_s << u"4294967296 (2^32)"_s
        << u"4294967296|2001:db8:ffff:ffff::/64|2001:db8:ffff:ffff:: - 2001:db8:ffff:ffff:ffff:ffff:ffff:ffff"_s;
    QTest::newRow("IPv6 into /128") << u"2001:db8::/127"_s << 128 << u"1"_s << u"2 (2^1)"_s
                                    << u"2|2001:db8::1/128|2001:db8::1"_s;
    QTest::newRow("IPv6 /0 into /1") << u"::/0"_s << 1 << u"1"_s << u"2 (2^1)"_s
                                     << u"2|8000::/1|8000:: - ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"_s;
    QTest::newRow("IPv6 /0 into /128, last") << u"::/0"_s << 128 << u"340282366920938463463374607431768211455"_s
        << u"340282366920938463463374607431768211456 (2^128)"_s
        << u"340282366920938463463374607431768211456|ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff/128|"
           "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"_s;
}

void tst_TPrefixSplit::rows()
{
    QFETCH(QString, prefix);
    QFETCH(int, length);
    QFETCH(QString, index);
    QFETCH(QString, count);
    QFETCH(QString, cells);
    const TPrefixSplit split = Split(prefix, length);
    QCOMPARE(split.CountText(), count);
    const QStringList row = split.RowCells(Index(index));
    QCOMPARE(row.size(), split.ColumnCount());
    QCOMPARE(row.size(), split.Headers().size());
    QCOMPARE(row.join(u'|'), cells);
}

void tst_TPrefixSplit::viewWindow()
{
    const TPrefixSplit small = Split(u"10.0.0.0/8"_s, 24);
    QCOMPARE(small.ViewRowCount(), 65536);
    QCOMPARE(small.ViewRowCells(65535).at(1), u"10.255.255.0/24"_s);
    QCOMPARE(small.ViewRowCells(65536), QStringList());
    // 2^31 - 1 rows fit a view, 2^31 rows do not.
    QCOMPARE(Split(u"::/0"_s, 31).ViewRowCount(), 2147483647);
    QCOMPARE(Split(u"::/0"_s, 30).ViewRowCount(), 1073741824);
    QCOMPARE(Split(u"::/0"_s, 128).ViewRowCount(), MaxViewRows);
}

void tst_TPrefixSplit::goTo_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("base");
    QTest::newRow("inside the window") << u"10.0.0.0/8"_s << 24 << u"65536"_s << QString() << 65535 << u"0"_s;
    QTest::newRow("group separators") << u"10.0.0.0/8"_s << 24 << u" 1,024 "_s << QString() << 1023 << u"0"_s;
    QTest::newRow("past the view limit, centred") << u"2001:db8::/32"_s << 64 << u"3000000000"_s << QString()
                                                  << 1073741823 << u"1926258176"_s;
    QTest::newRow("the last of 2^32, window at the end") << u"2001:db8::/32"_s << 64 << u"4294967296"_s << QString()
                                                         << 2147483646 << u"2147483649"_s;
    QTest::newRow("the last of 2^128") << u"::/0"_s << 128 << u"340282366920938463463374607431768211456"_s << QString()
                                       << 2147483646 << u"340282366920938463463374607429620727809"_s;
    QTest::newRow("beyond the last") << u"10.0.0.0/24"_s << 26 << u"5"_s << u"subnet 5 is beyond the last one, 4"_s << 0
                                     << u"0"_s;
    QTest::newRow("beyond 2^128") << u"::/0"_s << 128 << u"340282366920938463463374607431768211457"_s
                                  << u"subnet 340282366920938463463374607431768211457 is beyond the last one, "
                                     "340282366920938463463374607431768211456"_s
                                  << 0 << u"0"_s;
    QTest::newRow("zero") << u"10.0.0.0/24"_s << 26 << u"0"_s << u"subnets are numbered from 1"_s << 0 << u"0"_s;
    QTest::newRow("not a number") << u"10.0.0.0/24"_s << 26 << u"-3"_s << u"'-3' is not a subnet number"_s << 0
                                  << u"0"_s;
    QTest::newRow("empty") << u"10.0.0.0/24"_s << 26 << u" "_s << u"enter a subnet number"_s << 0 << u"0"_s;
}

void tst_TPrefixSplit::goTo()
{
    QFETCH(QString, prefix);
    QFETCH(int, length);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(int, row);
    QFETCH(QString, base);
    TPrefixSplit split = Split(prefix, length);
    const TReadResult<int> result = split.GoTo(text);
    QCOMPARE(result.Message, message);
    QCOMPARE(result.Ok, message.isEmpty());
    QCOMPARE(split.ViewBase().DecimalText(), base);
    if (!result.Ok)
        return;
    QCOMPARE(result.Value, row);
    QString digits = text;
    digits.remove(u',').remove(u' ');
    QCOMPARE(split.ViewRowCells(result.Value).at(0), digits);
    // A number already in the window leaves it where it is.
    QCOMPARE(split.GoTo(split.ViewRowCells(0).at(0)).Value, 0);
    QCOMPARE(split.ViewBase().DecimalText(), base);
}

void tst_TPrefixSplit::copyText()
{
    const TPrefixSplit split = Split(u"10.0.0.0/24"_s, 26);
    const TReadResult<QString> copy = split.CopyText(2, 1);
    QVERIFY(copy.Ok);
    QCOMPARE(copy.Value, u"#\tNetwork\tHost Range\tBroadcast\r\n"
                         "2\t10.0.0.64/26\t10.0.0.65 - 10.0.0.126\t10.0.0.127\r\n"
                         "3\t10.0.0.128/26\t10.0.0.129 - 10.0.0.190\t10.0.0.191\r\n"_s);
    const TPrefixSplit v6 = Split(u"::/0"_s, 128);
    const TReadResult<QString> last = v6.CopyIndexText(TUInt128::Max(), TUInt128::Max());
    QCOMPARE(last.Value, u"#\tNetwork\tAddress Range\r\n340282366920938463463374607431768211456\t"
                         "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff/128\tffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff\r\n"_s);
}

void tst_TPrefixSplit::copyRefusedPastTheLimit()
{
    const TPrefixSplit split = Split(u"10.0.0.0/8"_s, 32);
    const TReadResult<QString> copy = split.CopyText(0, MaxCopyRows);
    QVERIFY(!copy.Ok);
    QCOMPARE(copy.Message, u"1048577 rows are too many to copy: at most 1048576 rows can be copied at once. "
                           "Select a smaller range."_s);
    const TPrefixSplit huge = Split(u"::/0"_s, 128);
    QVERIFY(huge.CopyIndexText(TUInt128(), TUInt128::Max()).Message.startsWith(
        u"340282366920938463463374607431768211456 rows are too many"_s));
    QCOMPARE(split.CopyIndexText(TUInt128(), Index(u"16777216"_s)).Message,
             u"subnet 16777217 is beyond the last one, 16777216"_s);
}

void tst_TPrefixSplit::noSplitOfAHost()
{
    TPrefixSplit split = Split(u"10.0.0.1"_s);
    QVERIFY(!split.CanSplit());
    QCOMPARE(split.NewLength(), 32);
    QVERIFY(split.Count().IsZero());
    QCOMPARE(split.ViewRowCount(), 0);
    QCOMPARE(split.CountText(), u"none (a /32 cannot be split)"_s);
    QCOMPARE(split.GoTo(u"1"_s).Message, u"none (a /32 cannot be split)"_s);
    QVERIFY(!split.CopyText(0, 0).Ok);
}

QTEST_APPLESS_MAIN(tst_TPrefixSplit)
#include "tst_prefixsplit.moc"
