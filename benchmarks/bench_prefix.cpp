// The Prefix calculator's work behind each page: one keystroke in the entry
// to all result rows, the rows of a screenful of the largest split, the
// table text of 1,048,576 split rows (the copy limit), and summarizing
// 100,000 mixed lines.

#include <QRandomGenerator>
#include <QTest>

#include "prefix/PrefixInfo.h"
#include "prefix/PrefixSplit.h"
#include "prefix/PrefixSummary.h"

class bench_Prefix : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void entryToAllRows_data();
    void entryToAllRows();
    void splitScreenOfRows();
    void splitCopyRows_data();
    void splitCopyRows();
    void summarizeMixedLines();

private:
    QString FSummaryText;
};

void bench_Prefix::initTestCase()
{
    // A quarter each of IPv4 addresses, IPv4 prefixes and ranges, IPv6
    // addresses and IPv6 prefixes and ranges, clustered so that many merge,
    // with a comment now and then.
    QRandomGenerator random(100000);
    QStringList lines;
    for (int i = 0; i < 100000; ++i) {
        const quint32 v4 = 0x0A000000 | random.bounded(1 << 20);
        const TNetAddress a4 = TNetAddress::IPv4(v4);
        const TNetAddress a6 = TNetAddress::IPv6(0x20010DB800000000 | random.bounded(1 << 16), random.generate64());
        QString line;
        switch (i % 6) {
        case 0:
            line = a4.Text();
            break;
        case 1:
            line = a4.Text() + u'/' + QString::number(20 + random.bounded(13));
            break;
        case 2:
            line = a4.Text() + QStringLiteral(" - ") + TNetAddress::IPv4(v4 + random.bounded(300)).Text();
            break;
        case 3:
            line = a6.Text();
            break;
        case 4:
            line = a6.Text() + u'/' + QString::number(48 + random.bounded(81));
            break;
        default:
            line = TNetAddress::IPv4(v4).Text() + QStringLiteral(" 255.255.255.0  # office");
            break;
        }
        lines.append(line);
    }
    FSummaryText = lines.join(u'\n');
}

void bench_Prefix::entryToAllRows_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("IPv4") << QStringLiteral("10.1.2.3/19");
    QTest::newRow("IPv6") << QStringLiteral("2001:db8:1234::1/48");
    // The most rows: every registry entry of the family is listed.
    QTest::newRow("IPv6 /0") << QStringLiteral("::/0");
}

void bench_Prefix::entryToAllRows()
{
    QFETCH(QString, entry);
    TPrefixInfo info;
    QBENCHMARK {
        info.SetEntryText(entry);
    }
    QVERIFY(!info.Rows().isEmpty());
}

void bench_Prefix::splitScreenOfRows()
{
    TPrefixSplit split;
    split.SetPrefix(ReadPrefix(u"::/0").Value);
    split.SetNewLength(128);
    QVERIFY(split.GoTo(QStringLiteral("340282366920938463463374607431768211456")).Ok);
    qsizetype cells = 0;
    QBENCHMARK {
        for (int row = split.ViewRowCount() - 50; row < split.ViewRowCount(); ++row)
            cells += split.ViewRowCells(row).size();
    }
    QVERIFY(cells > 0);
}

void bench_Prefix::splitCopyRows_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("length");
    QTest::newRow("IPv4 /8 into /28") << QStringLiteral("10.0.0.0/8") << 28;
    QTest::newRow("IPv6 /32 into /52") << QStringLiteral("2001:db8::/32") << 52;
}

void bench_Prefix::splitCopyRows()
{
    QFETCH(QString, prefix);
    QFETCH(int, length);
    TPrefixSplit split;
    split.SetPrefix(ReadPrefix(prefix).Value);
    split.SetNewLength(length);
    QCOMPARE(split.ViewRowCount(), MaxCopyRows);
    qsizetype size = 0;
    QBENCHMARK {
        const TReadResult<QString> copy = split.CopyText(0, MaxCopyRows - 1);
        size = copy.Value.size();
    }
    QVERIFY(size > 0);
}

void bench_Prefix::summarizeMixedLines()
{
    TPrefixSummary summary;
    qsizetype size = 0;
    QBENCHMARK {
        summary.Compute(FSummaryText);
        size = summary.PrefixListText().size();
    }
    QVERIFY(summary.LineMessages().isEmpty());
    QVERIFY(size > 0);
}

QTEST_APPLESS_MAIN(bench_Prefix)
#include "bench_prefix.moc"
