#include <QTest>

#include "app/VorlGlobal.h"

class tst_PlacementRecord : public QObject
{
    Q_OBJECT
private slots:
    void clamping_data();
    void clamping();
    void encodeDecodeRoundTrip();
    void shortRecordsCountAsAbsent();
    void checkedArithmetic_data();
    void checkedArithmetic();
};

void tst_PlacementRecord::clamping_data()
{
    QTest::addColumn<QRect>("stored");  // left, top, right, bottom as x, y, x2, y2 pairs below
    QTest::addColumn<QRect>("expected");

    const auto ltrb = [](int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r - 1, b - 1)); };
    // Screen 1024 x 768.
    QTest::newRow("fits, unchanged") << ltrb(100, 50, 400, 500) << QRect(100, 50, 300, 450);
    QTest::newRow("left -50 shifted right by 50") << ltrb(-50, 10, 250, 410) << QRect(0, 10, 300, 400);
    QTest::newRow("top -20 shifted down") << ltrb(10, -20, 310, 380) << QRect(10, 0, 300, 400);
    QTest::newRow("past the right edge shifted left") << ltrb(900, 10, 1200, 410) << QRect(724, 10, 300, 400);
    QTest::newRow("past the bottom shifted up") << ltrb(10, 600, 310, 1000) << QRect(10, 368, 300, 400);
    QTest::newRow("wider than the screen: narrowed then on screen") << ltrb(-100, 0, 1500, 400)
                                                                    << QRect(0, 0, 1024, 400);
    QTest::newRow("wider, starting inside: narrowed then shifted") << ltrb(200, 0, 1500, 400)
                                                                   << QRect(0, 0, 1024, 400);
    QTest::newRow("taller than the screen") << ltrb(0, 100, 300, 1000) << QRect(0, 0, 300, 768);
}

void tst_PlacementRecord::clamping()
{
    QFETCH(QRect, stored);
    QFETCH(QRect, expected);
    TPlacementRecord record;
    record.Left = stored.left();
    record.Top = stored.top();
    record.Right = stored.right() + 1;
    record.Bottom = stored.bottom() + 1;
    QCOMPARE(record.ClampedTo(QSize(1024, 768)), expected);
}

void tst_PlacementRecord::encodeDecodeRoundTrip()
{
    TPlacementRecord record;
    record.Left = -50;
    record.Top = 2000000000;
    record.Right = -1;
    record.Bottom = 7;
    record.WindowState = 2;
    const QByteArray bytes = record.Encode();
    QCOMPARE(bytes.size(), 20);
    QCOMPARE(bytes.left(4), QByteArray("\xce\xff\xff\xff", 4));  // little-endian -50
    QCOMPARE(bytes.at(16), '\x02');
    const auto decoded = TPlacementRecord::Decode(bytes);
    QVERIFY(decoded);
    QCOMPARE(decoded->Left, -50);
    QCOMPARE(decoded->Top, 2000000000);
    QCOMPARE(decoded->Right, -1);
    QCOMPARE(decoded->Bottom, 7);
    QCOMPARE(decoded->WindowState, quint8(2));

    // Absurd values never overflow the clamping.
    TPlacementRecord absurd;
    absurd.Left = std::numeric_limits<qint32>::min();
    absurd.Right = std::numeric_limits<qint32>::max();
    absurd.Top = std::numeric_limits<qint32>::max();
    absurd.Bottom = std::numeric_limits<qint32>::min();
    const QRect r = absurd.ClampedTo(QSize(1024, 768));
    QVERIFY(r.width() >= 0 && r.width() <= 1024);
    QVERIFY(r.height() >= 0);
}

void tst_PlacementRecord::shortRecordsCountAsAbsent()
{
    for (int size = 0; size < 20; ++size)
        QVERIFY(!TPlacementRecord::Decode(QByteArray(size, '\x01')));
}

void tst_PlacementRecord::checkedArithmetic_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<bool>("overflows");
    QTest::newRow("small") << 2 << 3 << false;
    QTest::newRow("at the limit") << 2147483646 << 1 << false;
    QTest::newRow("past the limit") << 2147483647 << 1 << true;
    QTest::newRow("negative past the limit") << -2147483647 - 1 << -1 << true;
}

void tst_PlacementRecord::checkedArithmetic()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(bool, overflows);
    try {
        const qint32 sum = CheckedAdd(a, b);
        QVERIFY(!overflows);
        QCOMPARE(qint64(sum), qint64(a) + b);
    } catch (const TVorlError &error) {
        QVERIFY(overflows);
        QCOMPARE(error.Message(), QStringLiteral("Integer overflow"));
    }
}

QTEST_APPLESS_MAIN(tst_PlacementRecord)
#include "tst_placementrecord.moc"
