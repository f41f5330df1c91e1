#include <QTest>

#include <memory>

#include "tests/common/TestEnvironment.h"
#include "tests/ipsubnet/IPAddressTestHelpers.h"

using namespace Qt::StringLiterals;

class tst_TIPAddSupernet : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void initialState();
    void setSupernetBits_data();
    void setSupernetBits();
    void everyCountGivesItsPrefix();
    void setClassType_data();
    void setClassType();
    void addressKeepsBitsAndMask();
    void longerPrefixThanClassCountsNothing();
    void setOctetText_data();
    void setOctetText();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_TIPAddSupernet::initTestCase()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_TIPAddSupernet::initialState()
{
    const TIPAddSupernet supernet;
    QCOMPARE(supernet.DecimalText(), u"192.0.0.1"_s);
    QCOMPARE(supernet.ClassType(), TIPClassType::icClassC);
    QCOMPARE(int(supernet.SupernetBits()), 23);
    QCOMPARE(supernet.BitsMask().DecimalText(), u"255.255.254.0"_s);
    QCOMPARE(Text(supernet.Route()), u"192.0.0.0"_s);
    QCOMPARE(Text(supernet.LastAddress()), u"192.0.1.255"_s);
    QCOMPARE(supernet.NumNetworks(), 2u);
}

void tst_TIPAddSupernet::setSupernetBits_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("bits");
    QTest::addColumn<TIPClassType>("classType");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<quint32>("networks");
    QTest::newRow("class C, 3 down to 2 selects B") << u"200.9.9.9"_s << 3 << 2 << 2
        << TIPClassType::icClassB << u"128.9.9.9"_s << 16384u;
    QTest::newRow("class B, 16 up to 17 selects C") << u"172.9.9.9"_s << 16 << 17 << 17
        << TIPClassType::icClassC << u"192.9.9.9"_s << 128u;
    QTest::newRow("down to 1 selects A") << u"200.9.9.9"_s << 23 << 1 << 1
        << TIPClassType::icClassA << u"1.9.9.9"_s << 128u;
    QTest::newRow("up to 9 selects B") << u"10.9.9.9"_s << 7 << 9 << 9
        << TIPClassType::icClassB << u"128.9.9.9"_s << 128u;
    QTest::newRow("up to 8 keeps A") << u"10.9.9.9"_s << 7 << 8 << 8
        << TIPClassType::icClassA << u"10.9.9.9"_s << 1u;
    QTest::newRow("down to 3 keeps C") << u"200.9.9.9"_s << 23 << 3 << 3
        << TIPClassType::icClassC << u"200.9.9.9"_s << 2097152u;
    QTest::newRow("0 gives 1") << u"200.9.9.9"_s << 23 << 0 << 1
        << TIPClassType::icClassA << u"1.9.9.9"_s << 128u;
    QTest::newRow("30 gives 24") << u"200.9.9.9"_s << 23 << 30 << 24
        << TIPClassType::icClassC << u"200.9.9.9"_s << 1u;
    QTest::newRow("class B, 16 allowed") << u"172.9.9.9"_s << 15 << 16 << 16
        << TIPClassType::icClassB << u"172.9.9.9"_s << 1u;
    QTest::newRow("same count") << u"200.9.9.9"_s << 23 << 23 << 23
        << TIPClassType::icClassC << u"200.9.9.9"_s << 2u;
}

void tst_TIPAddSupernet::setSupernetBits()
{
    QFETCH(QString, address);
    QFETCH(int, start);
    QFETCH(int, count);
    TIPAddSupernet supernet;
    supernet.SetSupernetBits(quint8(start));
    supernet.SetValue(Addr(address));
    QCOMPARE(int(supernet.SupernetBits()), start);
    supernet.SetSupernetBits(quint8(count));
    QTEST(int(supernet.SupernetBits()), "bits");
    QTEST(supernet.ClassType(), "classType");
    QTEST(supernet.DecimalText(), "stored");
    QTEST(supernet.NumNetworks(), "networks");
    QCOMPARE(supernet.BitsMask().GetValue(), TIPAddMask::MakeMask(31, supernet.SupernetBits()));
}

// Down from 24 to 1 and up again: the mask is always the prefix, the range
// is the prefix's block, and the class always has room for the prefix.
void tst_TIPAddSupernet::everyCountGivesItsPrefix()
{
    TIPAddSupernet supernet;
    supernet.SetValue(Addr(u"200.170.85.3"_s));
    QList<int> counts;
    for (int n = 24; n >= 1; --n)
        counts << n;
    for (int n = 2; n <= 24; ++n)
        counts << n;
    for (const int n : std::as_const(counts)) {
        supernet.SetSupernetBits(quint8(n));
        QCOMPARE(int(supernet.SupernetBits()), n);
        const quint32 mask = TIPAddMask::MakeMask(31, quint8(n));
        QCOMPARE(supernet.BitsMask().GetValue(), mask);
        QCOMPARE(supernet.Route(), supernet.GetValue() & mask);
        QCOMPARE(supernet.LastAddress(), supernet.Route() | ~mask);
        QVERIFY(n <= supernet.NetworkBits());
        QCOMPARE(supernet.NumNetworks(), quint32(1) << (supernet.NetworkBits() - n));
        QCOMPARE(supernet.ClassType(), TIPAddClass::ClassOfFirstOctet(supernet.GetByte(0)));
    }
}

void tst_TIPAddSupernet::setClassType_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<TIPClassType>("classType");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("firstOctet");
    QTest::addColumn<quint32>("networks");
    QTest::newRow("C to A with 23 bits") << 23 << TIPClassType::icClassA << 7 << 1 << 2u;
    QTest::newRow("C to B with 23 bits") << 23 << TIPClassType::icClassB << 15 << 128 << 2u;
    QTest::newRow("C to A with 4 bits") << 4 << TIPClassType::icClassA << 4 << 1 << 16u;
    QTest::newRow("same class") << 23 << TIPClassType::icClassC << 23 << 192 << 2u;
    QTest::newRow("class D gives C") << 23 << TIPClassType::icClassD << 23 << 192 << 2u;
}

void tst_TIPAddSupernet::setClassType()
{
    QFETCH(int, start);
    QFETCH(TIPClassType, classType);
    TIPAddSupernet supernet;
    supernet.SetSupernetBits(quint8(start));
    supernet.SetClassType(classType);
    QTEST(int(supernet.SupernetBits()), "bits");
    QTEST(int(supernet.GetByte(0)), "firstOctet");
    QTEST(supernet.NumNetworks(), "networks");
    QCOMPARE(supernet.BitsMask().GetValue(), TIPAddMask::MakeMask(31, supernet.SupernetBits()));
}

void tst_TIPAddSupernet::addressKeepsBitsAndMask()
{
    TIPAddSupernet supernet;
    supernet.SetByte(2, 77);
    supernet.SetByte(0, 250);
    QCOMPARE(supernet.DecimalText(), u"223.0.77.1"_s);
    QCOMPARE(int(supernet.SupernetBits()), 23);
    QCOMPARE(supernet.BitsMask().DecimalText(), u"255.255.254.0"_s);
    QCOMPARE(Text(supernet.Route()), u"223.0.76.0"_s);
    QCOMPARE(Text(supernet.LastAddress()), u"223.0.77.255"_s);
}

void tst_TIPAddSupernet::longerPrefixThanClassCountsNothing()
{
    TIPAddSupernet supernet;
    supernet.SetValue(Addr(u"10.1.2.3"_s));
    QCOMPARE(supernet.ClassType(), TIPClassType::icClassA);
    QCOMPARE(int(supernet.SupernetBits()), 23);
    QCOMPARE(supernet.NumNetworks(), 0u);
    supernet.SetByte(0, 172);
    QCOMPARE(supernet.NumNetworks(), 0u);
    supernet.SetSupernetBits(16);
    QCOMPARE(supernet.NumNetworks(), 1u);
}

void tst_TIPAddSupernet::setOctetText_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<TIPClassType>("classType");
    // All from 192.0.0.1, class C, 23 supernet bits.
    QTest::newRow("empty first octet is 1") << 0 << QString() << u"1.0.0.1"_s << TIPClassType::icClassA;
    QTest::newRow("300 in the first octet is 223") << 0 << u"300"_s << u"223.0.0.1"_s << TIPClassType::icClassC;
    QTest::newRow("127 in the first octet is 126") << 0 << u"127"_s << u"126.0.0.1"_s << TIPClassType::icClassA;
    QTest::newRow("172 in the first octet") << 0 << u"172"_s << u"172.0.0.1"_s << TIPClassType::icClassB;
    QTest::newRow("empty second octet is 0") << 1 << QString() << u"192.0.0.1"_s << TIPClassType::icClassC;
    QTest::newRow("300 in the third octet is 255") << 2 << u"300"_s << u"192.0.255.1"_s << TIPClassType::icClassC;
    QTest::newRow("0 in the last octet") << 3 << u"0"_s << u"192.0.0.0"_s << TIPClassType::icClassC;
    QTest::newRow("255 in the last octet") << 3 << u"255"_s << u"192.0.0.255"_s << TIPClassType::icClassC;
}

// The prefix stays whatever the address: only the class selector and the
// bits field change the supernet bits.
void tst_TIPAddSupernet::setOctetText()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    TIPAddSupernet supernet;
    supernet.SetOctetText(quint8(index), text);
    QTEST(supernet.DecimalText(), "stored");
    QTEST(supernet.ClassType(), "classType");
    QCOMPARE(int(supernet.SupernetBits()), 23);
    QCOMPARE(supernet.BitsMask().DecimalText(), u"255.255.254.0"_s);
}

QTEST_APPLESS_MAIN(tst_TIPAddSupernet)
#include "tst_ipaddsupernet.moc"
