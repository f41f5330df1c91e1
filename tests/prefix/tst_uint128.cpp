#include <QTest>

#include "prefix/UInt128.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TUInt128)

// TUInt128 and TAddressCount.
class tst_TUInt128 : public QObject
{
    Q_OBJECT
private slots:
    void decimalRoundTrip_data();
    void decimalRoundTrip();
    void decimalRefused_data();
    void decimalRefused();
    void addSubtract_data();
    void addSubtract();
    void shifts_data();
    void shifts();
    void bitCounts();
    void countReaches2To128();
    void countFromDecimal_data();
    void countFromDecimal();
};

namespace {

TUInt128 Dec(const char *text)
{
    return TUInt128::FromDecimal(QString::fromLatin1(text)).value();
}

} // namespace

void tst_TUInt128::decimalRoundTrip_data()
{
    QTest::addColumn<TUInt128>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << TUInt128() << u"0"_s;
    QTest::newRow("low half max") << TUInt128(~quint64(0)) << u"18446744073709551615"_s;
    QTest::newRow("2^64") << TUInt128(1, 0) << u"18446744073709551616"_s;
    // Zeros inside the nine-digit chunks of the long division.
    QTest::newRow("10^36") << TUInt128(0x00C097CE7BC90715, 0xB34B9F1000000000) << u"1000000000000000000000000000000000000"_s;
    QTest::newRow("2^127") << TUInt128::PowerOfTwo(127) << u"170141183460469231731687303715884105728"_s;
    QTest::newRow("max") << TUInt128::Max() << u"340282366920938463463374607431768211455"_s;
}

void tst_TUInt128::decimalRoundTrip()
{
    QFETCH(TUInt128, value);
    QFETCH(QString, text);
    QCOMPARE(value.DecimalText(), text);
    QCOMPARE(TUInt128::FromDecimal(text), std::optional<TUInt128>(value));
    QCOMPARE(TUInt128::FromDecimal(QString(u"000"_s + text)), std::optional<TUInt128>(value));
}

void tst_TUInt128::decimalRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("sign") << u"-1"_s;
    QTest::newRow("plus") << u"+1"_s;
    QTest::newRow("blank") << u"1 "_s;
    QTest::newRow("Arabic-Indic digit") << u"\u0661"_s;
    QTest::newRow("2^128") << u"340282366920938463463374607431768211456"_s;
    QTest::newRow("ten times max") << u"3402823669209384634633746074317682114550"_s;
}

void tst_TUInt128::decimalRefused()
{
    QFETCH(QString, text);
    QVERIFY(!TUInt128::FromDecimal(text));
}

void tst_TUInt128::addSubtract_data()
{
    QTest::addColumn<TUInt128>("a");
    QTest::addColumn<TUInt128>("b");
    QTest::addColumn<TUInt128>("sum");
    QTest::addColumn<bool>("overflows");
    QTest::newRow("carry into the high half") << TUInt128(~quint64(0)) << TUInt128(1) << TUInt128(1, 0) << false;
    QTest::newRow("carry with high bits") << TUInt128(5, ~quint64(0)) << TUInt128(2, 3) << TUInt128(8, 2) << false;
    QTest::newRow("wraps at 2^128") << TUInt128::Max() << TUInt128(1) << TUInt128() << true;
    QTest::newRow("decimal operands") << Dec("99999999999999999999") << Dec("1") << Dec("100000000000000000000") << false;
}

void tst_TUInt128::addSubtract()
{
    QFETCH(TUInt128, a);
    QFETCH(TUInt128, b);
    QFETCH(TUInt128, sum);
    QFETCH(bool, overflows);
    QCOMPARE(a + b, sum);
    QCOMPARE(sum - b, a);
    QCOMPARE(sum - a, b);
    TUInt128 wrapped;
    QCOMPARE(TUInt128::AddOverflows(a, b, wrapped), overflows);
    QCOMPARE(wrapped, sum);
}

void tst_TUInt128::shifts_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<TUInt128>("left");
    QTest::addColumn<TUInt128>("right");
    // Shifts of 0x8000...0001 (high bit and low bit set).
    QTest::newRow("0") << 0 << TUInt128(quint64(1) << 63, 1) << TUInt128(quint64(1) << 63, 1);
    QTest::newRow("1") << 1 << TUInt128(0, 2) << TUInt128(quint64(1) << 62, quint64(0));
    QTest::newRow("63") << 63 << TUInt128(0, quint64(1) << 63) << TUInt128(1, 0);
    QTest::newRow("64") << 64 << TUInt128(1, 0) << TUInt128(0, quint64(1) << 63);
    QTest::newRow("65") << 65 << TUInt128(2, 0) << TUInt128(0, quint64(1) << 62);
    QTest::newRow("127") << 127 << TUInt128(quint64(1) << 63, 0) << TUInt128(1);
    QTest::newRow("128") << 128 << TUInt128() << TUInt128();
    QTest::newRow("negative") << -1 << TUInt128() << TUInt128();
}

void tst_TUInt128::shifts()
{
    QFETCH(int, n);
    QFETCH(TUInt128, left);
    QFETCH(TUInt128, right);
    const TUInt128 value(quint64(1) << 63, 1);
    QCOMPARE(value << n, left);
    QCOMPARE(value >> n, right);
}

void tst_TUInt128::bitCounts()
{
    QCOMPARE(TUInt128().CountLeadingZeros(), 128);
    QCOMPARE(TUInt128().CountTrailingZeros(), 128);
    for (int n = 0; n < 128; ++n) {
        const TUInt128 bit = TUInt128::PowerOfTwo(n);
        QCOMPARE(bit.CountTrailingZeros(), n);
        QCOMPARE(bit.CountLeadingZeros(), 127 - n);
        QVERIFY(bit.IsPowerOfTwo());
        QVERIFY(bit.Bit(n));
        QCOMPARE(TUInt128::LowBits(n).PopCount(), n);
        QCOMPARE(TUInt128::LowBits(n) + TUInt128(1), bit);
    }
    QCOMPARE(TUInt128::LowBits(128), TUInt128::Max());
    QVERIFY(!TUInt128(3).IsPowerOfTwo());
    QVERIFY(TUInt128(1, 0) > TUInt128(~quint64(0)));
}

void tst_TUInt128::countReaches2To128()
{
    const TAddressCount full = TAddressCount::OfRange(TUInt128(), TUInt128::Max());
    QVERIFY(full.IsFull());
    QCOMPARE(full, TAddressCount::PowerOfTwo(128));
    QCOMPARE(full.DecimalText(), u"340282366920938463463374607431768211456"_s);
    QCOMPARE(full.TextWithPower(), u"340282366920938463463374607431768211456 (2^128)"_s);
    QVERIFY(full > TAddressCount(TUInt128::Max()));
    QCOMPARE(TAddressCount(TUInt128::Max()).Incremented(), full);
    QCOMPARE(TAddressCount::PowerOfTwo(127) + TAddressCount::PowerOfTwo(127), full);
    QCOMPARE(TAddressCount::OfRange(TUInt128(5), TUInt128(5)).TextWithPower(), u"1 (2^0)"_s);
    QCOMPARE(TAddressCount::OfRange(TUInt128(1), TUInt128(6)).TextWithPower(), u"6"_s);
    QCOMPARE(TAddressCount::PowerOfTwo(64).Log2(), std::optional<int>(64));
    QCOMPARE(TAddressCount(TUInt128(12)).Log2(), std::nullopt);
}

void tst_TUInt128::countFromDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("full");
    QTest::newRow("2^128") << u"340282366920938463463374607431768211456"_s << true << true;
    QTest::newRow("2^128 with leading zeros") << u"00340282366920938463463374607431768211456"_s << true << true;
    QTest::newRow("2^128 - 1") << u"340282366920938463463374607431768211455"_s << true << false;
    QTest::newRow("2^128 + 1") << u"340282366920938463463374607431768211457"_s << false << false;
    QTest::newRow("40 digits") << u"1340282366920938463463374607431768211456"_s << false << false;
}

void tst_TUInt128::countFromDecimal()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(bool, full);
    const std::optional<TAddressCount> count = TAddressCount::FromDecimal(text);
    QCOMPARE(count.has_value(), valid);
    if (valid)
        QCOMPARE(count->IsFull(), full);
}

QTEST_APPLESS_MAIN(tst_TUInt128)
#include "tst_uint128.moc"
