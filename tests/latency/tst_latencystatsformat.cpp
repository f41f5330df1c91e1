#include <QTest>

#include "latency/LatencyStatsFormat.h"
#include "tests/common/TestEnvironment.h"

class tst_LatencyStatsFormat : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { FEnvironment = std::make_unique<TTestEnvironment>(); }
    void seconds_data();
    void seconds();
    void share_data();
    void share();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_LatencyStatsFormat::seconds_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0f << "0.0000000";
    QTest::newRow("T1 packet of 64 bytes") << 0.005331606f << "0.0053316";
    QTest::newRow("ten milliseconds") << 0.01f << "0.0100000";
    QTest::newRow("Ethernet 1024 bytes") << 0.0008352f << "0.0008352";
    QTest::newRow("satellite round trip") << 0.557f << "0.5570000";
    QTest::newRow("eighth significant digit rounds up") << 1.2345678f << "1.2345680";
    QTest::newRow("digits beyond the seventh show as zero") << 123.45678f << "123.4568000";
    QTest::newRow("below the last decimal") << 0.00000004f << "0.0000000";
    QTest::newRow("rounds up into the last decimal") << 0.00000006f << "0.0000001";
    QTest::newRow("carry into a new digit") << 9.9999999f << "10.0000000";
    QTest::newRow("seven digits before the point") << 1234567.0f << "1234567.0000000";
    QTest::newRow("eight digits switch to scientific") << 12345678.0f << "1.234568E7";
    QTest::newRow("round power of ten") << 1.0e10f << "1E10";
}

void tst_LatencyStatsFormat::seconds()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(FormatLatencySeconds(value), text);
}

void tst_LatencyStatsFormat::share_data()
{
    QTest::addColumn<float>("fraction");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0f << "0.0%";
    QTest::newRow("node A of the T1 example") << 0.01f / 0.0153316f << "65.2%";
    QTest::newRow("whole") << 1.0f << "100.0%";
    QTest::newRow("small share rounds up") << 0.0006f << "0.1%";
    QTest::newRow("rounds into the next percent") << 0.9999f << "100.0%";
}

void tst_LatencyStatsFormat::share()
{
    QFETCH(float, fraction);
    QFETCH(QString, text);
    QCOMPARE(FormatLatencyShare(fraction), text);
}

QTEST_APPLESS_MAIN(tst_LatencyStatsFormat)
#include "tst_latencystatsformat.moc"
