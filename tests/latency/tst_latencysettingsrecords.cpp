#include <QTest>

#include "latency/LatencySettingsRecords.h"
#include "tests/common/TestEnvironment.h"

class tst_LatencySettingsRecords : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { FEnvironment = std::make_unique<TTestEnvironment>(); }
    void nodeLayout();
    void networkLayout();
    void paddingIsIgnored();
    void roundTrip_data();
    void roundTrip();
    void wrongSizesDoNotDecode_data();
    void wrongSizesDoNotDecode();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_LatencySettingsRecords::nodeLayout()
{
    const TNodeRecord record{1024, 20};
    QCOMPARE(record.Encode(), QByteArray::fromHex("0004000014000000"));
}

void tst_LatencySettingsRecords::networkLayout()
{
    TNetworkRecord record;
    record.Bandwidth = 1.544;
    record.Left = 75;
    record.KindOrdinal = 12;  // nbTCarrier
    record.PropDelay = 5;
    record.Top = -2;
    // 1.544 as an IEEE double is 0x3FF8B4395810624E.
    QCOMPARE(record.Encode(), QByteArray::fromHex("4e621058 39b4f83f 4b000000 0c000000 05000000 feffffff"));
}

void tst_LatencySettingsRecords::paddingIsIgnored()
{
    QByteArray bytes = TNetworkRecord{10.0, 143, 4, 0, 8}.Encode();
    bytes[13] = '\x55';
    bytes[14] = '\xaa';
    bytes[15] = '\xff';
    const std::optional<TNetworkRecord> record = TNetworkRecord::Decode(bytes);
    QVERIFY(record);
    QCOMPARE(*record, (TNetworkRecord{10.0, 143, 4, 0, 8}));
}

void tst_LatencySettingsRecords::roundTrip_data()
{
    QTest::addColumn<double>("bandwidth");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("propDelay");
    QTest::addColumn<int>("top");
    QTest::newRow("unconfigured") << 0.0 << 75 << 14 << 0 << 8;
    QTest::newRow("satellite") << 0.512 << 210 << 10 << 270 << 200;
    QTest::newRow("extremes") << 1.0e300 << int(0x7fffffff) << 255 << int(0x80000000) << -1;
}

void tst_LatencySettingsRecords::roundTrip()
{
    QFETCH(double, bandwidth);
    QFETCH(int, left);
    QFETCH(int, kind);
    QFETCH(int, propDelay);
    QFETCH(int, top);
    const TNetworkRecord record{bandwidth, left, quint8(kind), propDelay, top};
    const QByteArray bytes = record.Encode();
    QCOMPARE(bytes.size(), TNetworkRecord::Size);
    QCOMPARE(TNetworkRecord::Decode(bytes), std::optional<TNetworkRecord>(record));
    const TNodeRecord node{left, propDelay};
    QCOMPARE(TNodeRecord::Decode(node.Encode()), std::optional<TNodeRecord>(node));
}

void tst_LatencySettingsRecords::wrongSizesDoNotDecode_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("one short") << 7;
    QTest::newRow("one long") << 9;
    QTest::newRow("network-sized") << 24;
}

void tst_LatencySettingsRecords::wrongSizesDoNotDecode()
{
    QFETCH(int, size);
    QVERIFY(!TNodeRecord::Decode(QByteArray(size, '\1')));
    QVERIFY(!TNetworkRecord::Decode(QByteArray(size == 24 ? 23 : size * 3, '\1')));
}

QTEST_APPLESS_MAIN(tst_LatencySettingsRecords)
#include "tst_latencysettingsrecords.moc"
