#include <QTest>

#include <memory>

#include "tests/common/TestEnvironment.h"
#include "tests/ipsubnet/IPAddressTestHelpers.h"

using namespace Qt::StringLiterals;

// TIPAddress, TIPAddClass, TIPAddMask and TIPAddNetwork.
class tst_TIPAddress : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void textForms_data();
    void textForms();
    void everyOctetRoundTrips();
    void hostRangeText();

    void classFollowsFirstOctet();
    void setClassType_data();
    void setClassType();
    void classLetters();

    void makeMask_data();
    void makeMask();
    void everyPrefixMask();
    void errorsChangeNothing();

    void networkOctets_data();
    void networkOctets();
    void networkSetValue_data();
    void networkSetValue();
    void classLetterRunsSubclassRules();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_TIPAddress::initTestCase()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_TIPAddress::textForms_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("hex");
    QTest::newRow("host 128.0.0.1") << Addr(128, 0, 0, 1) << u"128.0.0.1"_s << u"80.00.00.01"_s;
    QTest::newRow("class C mask") << Addr(255, 255, 255, 0) << u"255.255.255.0"_s << u"FF.FF.FF.00"_s;
    QTest::newRow("leading zero digit") << Addr(1, 0, 0, 0) << u"1.0.0.0"_s << u"01.00.00.00"_s;
    QTest::newRow("zero") << 0u << u"0.0.0.0"_s << u"00.00.00.00"_s;
    QTest::newRow("all ones") << 0xFFFFFFFFu << u"255.255.255.255"_s << u"FF.FF.FF.FF"_s;
    QTest::newRow("mixed digits") << Addr(10, 171, 9, 205) << u"10.171.9.205"_s << u"0A.AB.09.CD"_s;
}

void tst_TIPAddress::textForms()
{
    QFETCH(quint32, value);
    QFETCH(QString, decimal);
    QFETCH(QString, hex);
    QCOMPARE(TIPAddress::FormatDecimal(value), decimal);
    QCOMPARE(TIPAddress::FormatHex(value), hex);
    const TIPAddress address(value);
    QCOMPARE(address.DecimalText(), decimal);
    QCOMPARE(address.HexText(), hex);
}

void tst_TIPAddress::everyOctetRoundTrips()
{
    for (quint8 index = 0; index < 4; ++index) {
        for (int octet = 0; octet < 256; ++octet) {
            TIPAddress address(Addr(11, 22, 33, 44));
            address.SetByte(index, quint8(octet));
            QCOMPARE(int(address.GetByte(index)), octet);
            const QStringList decimal = address.DecimalText().split(u'.');
            const QStringList hex = address.HexText().split(u'.');
            QCOMPARE(decimal.at(index).toInt(), octet);
            QCOMPARE(hex.at(index).toInt(nullptr, 16), octet);
            QCOMPARE(hex.at(index), hex.at(index).toUpper());
            for (quint8 other = 0; other < 4; ++other) {
                if (other != index)
                    QCOMPARE(int(address.GetByte(other)), 11 * (other + 1));
            }
        }
    }
}

void tst_TIPAddress::hostRangeText()
{
    QCOMPARE(HostRangeText(0xC0A80141u, 0xC0A8017Eu), u"192.168.1.65  -  192.168.1.126"_s);
    // Every octet value in every position, as the address model writes it.
    for (quint32 octet = 0; octet < 256; ++octet) {
        for (int shift = 0; shift < 32; shift += 8) {
            const quint32 first = (octet << shift) | (0x01020304u & ~(0xFFu << shift));
            const quint32 last = ~first;
            QCOMPARE(HostRangeText(first, last),
                     TIPAddress::FormatDecimal(first) + u"  -  "_s + TIPAddress::FormatDecimal(last));
        }
    }
}

void tst_TIPAddress::classFollowsFirstOctet()
{
    for (int first = 0; first < 256; ++first) {
        const TIPClassType expected = first < 128 ? TIPClassType::icClassA
                                      : first < 192 ? TIPClassType::icClassB
                                      : first < 224 ? TIPClassType::icClassC
                                      : first < 240 ? TIPClassType::icClassD
                                                    : TIPClassType::icClassE;
        const int bits[] = {8, 16, 24, 0, 0};
        const quint32 masks[] = {0xFF000000, 0xFFFF0000, 0xFFFFFF00, 0, 0};
        const int row = int(expected);

        TIPAddMask byValue;
        byValue.SetValue(Addr(quint8(first), 7, 8, 9));
        QCOMPARE(byValue.ClassType(), expected);
        QCOMPARE(int(byValue.NetworkBits()), bits[row]);
        QCOMPARE(byValue.ClassMask().GetValue(), masks[row]);
        QCOMPARE(byValue.ClassLetter(), QChar(u'A' + row));

        // Start from the other end of the range so the octet always changes.
        TIPAddMask byOctet;
        byOctet.SetValue(Addr(first < 128 ? 255 : 0, 7, 8, 9));
        byOctet.SetByte(0, quint8(first));
        QCOMPARE(byOctet.ClassType(), expected);
        QCOMPARE(int(byOctet.NetworkBits()), bits[row]);
        QCOMPARE(byOctet.ClassMask().GetValue(), masks[row]);
        QCOMPARE(byOctet.GetValue(), Addr(quint8(first), 7, 8, 9));
    }
}

void tst_TIPAddress::setClassType_data()
{
    QTest::addColumn<quint32>("start");
    QTest::addColumn<TIPClassType>("classType");
    QTest::addColumn<quint32>("expected");
    QTest::addColumn<int>("networkBits");
    QTest::addColumn<quint32>("classMask");
    QTest::newRow("A to C") << Addr(10, 20, 30, 40) << TIPClassType::icClassC
                            << Addr(192, 20, 30, 40) << 24 << Addr(255, 255, 255, 0);
    QTest::newRow("C to A") << Addr(200, 1, 2, 3) << TIPClassType::icClassA
                            << Addr(1, 1, 2, 3) << 8 << Addr(255, 0, 0, 0);
    QTest::newRow("A to B") << Addr(10, 1, 2, 3) << TIPClassType::icClassB
                            << Addr(128, 1, 2, 3) << 16 << Addr(255, 255, 0, 0);
    QTest::newRow("A to D") << Addr(10, 1, 2, 3) << TIPClassType::icClassD
                            << Addr(224, 1, 2, 3) << 0 << 0u;
    QTest::newRow("A to E") << Addr(10, 1, 2, 3) << TIPClassType::icClassE
                            << Addr(240, 1, 2, 3) << 0 << 0u;
    QTest::newRow("same class B keeps 172") << Addr(172, 16, 0, 1) << TIPClassType::icClassB
                                            << Addr(172, 16, 0, 1) << 16 << Addr(255, 255, 0, 0);
}

void tst_TIPAddress::setClassType()
{
    QFETCH(quint32, start);
    QFETCH(TIPClassType, classType);
    QFETCH(quint32, expected);
    QFETCH(int, networkBits);
    QFETCH(quint32, classMask);
    TIPAddMask address;
    address.SetValue(start);
    address.SetClassType(classType);
    QCOMPARE(address.GetValue(), expected);
    QCOMPARE(address.ClassType(), classType);
    QCOMPARE(int(address.NetworkBits()), networkBits);
    QCOMPARE(address.ClassMask().GetValue(), classMask);
}

void tst_TIPAddress::classLetters()
{
    TIPAddClass address;
    const QString letters = u"ABCDE"_s;
    for (int i = 0; i < letters.size(); ++i) {
        address.SetClassLetter(letters.at(i));
        QCOMPARE(address.ClassType(), static_cast<TIPClassType>(i));
        QCOMPARE(address.ClassLetter(), letters.at(i));
    }
}

void tst_TIPAddress::makeMask_data()
{
    QTest::addColumn<int>("startBit");
    QTest::addColumn<int>("numBits");
    QTest::addColumn<quint32>("mask");
    QTest::newRow("class A") << 31 << 8 << Addr(255, 0, 0, 0);
    QTest::newRow("class B") << 31 << 16 << Addr(255, 255, 0, 0);
    QTest::newRow("class C") << 31 << 24 << Addr(255, 255, 255, 0);
    QTest::newRow("third octet") << 15 << 8 << Addr(0, 0, 255, 0);
    QTest::newRow("no bits") << 31 << 0 << 0u;
    QTest::newRow("no bits low") << 0 << 0 << 0u;
    QTest::newRow("all bits") << 31 << 32 << 0xFFFFFFFFu;
    QTest::newRow("lowest bit") << 0 << 1 << 1u;
    QTest::newRow("class A subnet field") << 23 << 8 << Addr(0, 255, 0, 0);
    QTest::newRow("class A 22 subnet bits") << 23 << 22 << Addr(0, 255, 255, 252);
}

void tst_TIPAddress::makeMask()
{
    QFETCH(int, startBit);
    QFETCH(int, numBits);
    QFETCH(quint32, mask);
    QCOMPARE(TIPAddMask::MakeMask(quint8(startBit), quint8(numBits)), mask);
}

void tst_TIPAddress::everyPrefixMask()
{
    for (int bits = 0; bits <= 32; ++bits) {
        const quint32 mask = TIPAddMask::MakeMask(31, quint8(bits));
        QCOMPARE(qPopulationCount(mask), uint(bits));
        // A prefix: the complement plus one is a power of two (or wraps to 0).
        const quint32 rest = ~mask + 1;
        QCOMPARE(rest & (rest - 1), 0u);
        // Every run inside the 32 bits is the prefix mask shifted down.
        for (int start = bits - 1; start >= 0 && bits > 0; --start)
            QCOMPARE(TIPAddMask::MakeMask(quint8(start), quint8(bits)), mask >> (31 - start));
    }
}

void tst_TIPAddress::errorsChangeNothing()
{
    TIPAddNetwork address;
    address.SetValue(Addr(172, 16, 0, 1));
    QCOMPARE(ErrorOf([&] { address.GetByte(4); }), u"Invalid TIPAddress Byte Index"_s);
    QCOMPARE(ErrorOf([&] { address.SetByte(4, 200); }), u"Invalid TIPAddress Byte Index"_s);
    QCOMPARE(ErrorOf([&] { address.SetByte(255, 0); }), u"Invalid TIPAddress Byte Index"_s);
    TIPAddMask &mask = address;
    QCOMPARE(ErrorOf([&] { mask.TIPAddMask::SetClassType(static_cast<TIPClassType>(5)); }),
             u"Invalid TIPAddClass Class Type"_s);
    for (const QChar letter : {QChar(u'F'), QChar(u'a'), QChar(u'@'), QChar(u' ')})
        QCOMPARE(ErrorOf([&] { address.SetClassLetter(letter); }), u"Range check error"_s);
    QCOMPARE(address.GetValue(), Addr(172, 16, 0, 1));
    QCOMPARE(address.ClassType(), TIPClassType::icClassB);
    QCOMPARE(address.ClassMask().GetValue(), Addr(255, 255, 0, 0));

    const QString maskError = u"Invalid TIPAddMask StartBit or NumBits Value"_s;
    QCOMPARE(ErrorOf([] { TIPAddMask::MakeMask(32, 0); }), maskError);
    QCOMPARE(ErrorOf([] { TIPAddMask::MakeMask(255, 8); }), maskError);
    QCOMPARE(ErrorOf([] { TIPAddMask::MakeMask(31, 33); }), maskError);
}

void tst_TIPAddress::networkOctets_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("octet");
    QTest::addColumn<int>("stored");
    QTest::addColumn<TIPClassType>("classType");
    QTest::newRow("0 becomes 1") << 0 << 0 << 1 << TIPClassType::icClassA;
    QTest::newRow("127 becomes 126") << 0 << 127 << 126 << TIPClassType::icClassA;
    QTest::newRow("250 becomes 223") << 0 << 250 << 223 << TIPClassType::icClassC;
    QTest::newRow("224 becomes 223") << 0 << 224 << 223 << TIPClassType::icClassC;
    QTest::newRow("223 kept") << 0 << 223 << 223 << TIPClassType::icClassC;
    QTest::newRow("126 kept") << 0 << 126 << 126 << TIPClassType::icClassA;
    QTest::newRow("1 kept") << 0 << 1 << 1 << TIPClassType::icClassA;
    for (int index = 1; index < 4; ++index) {
        for (const int octet : {0, 127, 255}) {
            QTest::addRow("octet %d set to %d", index, octet)
                << index << octet << octet << TIPClassType::icClassB;
        }
    }
}

void tst_TIPAddress::networkOctets()
{
    QFETCH(int, index);
    QFETCH(int, octet);
    QFETCH(int, stored);
    TIPAddNetwork address;
    address.SetValue(Addr(172, 16, 5, 9));
    address.SetByte(quint8(index), quint8(octet));
    QCOMPARE(int(address.GetByte(quint8(index))), stored);
    QTEST(address.ClassType(), "classType");
    QCOMPARE(address.ClassMask().GetValue(), TIPAddMask::MakeMask(31, address.NetworkBits()));
    for (quint8 other = 0; other < 4; ++other) {
        if (other != index)
            QCOMPARE(address.GetByte(other), TIPAddress(Addr(172, 16, 5, 9)).GetByte(other));
    }
}

void tst_TIPAddress::networkSetValue_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<quint32>("stored");
    QTest::addColumn<TIPClassType>("classType");
    QTest::newRow("240 becomes 223") << Addr(240, 1, 2, 3) << Addr(223, 1, 2, 3) << TIPClassType::icClassC;
    QTest::newRow("loopback passes") << Addr(127, 0, 0, 1) << Addr(127, 0, 0, 1) << TIPClassType::icClassA;
    QTest::newRow("0 passes") << Addr(0, 1, 2, 3) << Addr(0, 1, 2, 3) << TIPClassType::icClassA;
    QTest::newRow("class B") << Addr(191, 255, 0, 1) << Addr(191, 255, 0, 1) << TIPClassType::icClassB;
}

void tst_TIPAddress::networkSetValue()
{
    QFETCH(quint32, value);
    QFETCH(quint32, stored);
    QFETCH(TIPClassType, classType);
    TIPAddNetwork address;
    address.SetValue(value);
    QCOMPARE(address.GetValue(), stored);
    QCOMPARE(address.ClassType(), classType);
    QCOMPARE(address.ClassMask().GetValue(), TIPAddMask::MakeMask(31, address.NetworkBits()));
}

void tst_TIPAddress::classLetterRunsSubclassRules()
{
    TIPAddNetwork network;
    TIPAddClass &base = network;
    base.SetValue(Addr(10, 1, 2, 3));
    base.SetClassLetter(u'E');
    QCOMPARE(network.ClassType(), TIPClassType::icClassC);
    QCOMPARE(network.GetValue(), Addr(192, 1, 2, 3));
    QCOMPARE(network.ClassMask().DecimalText(), u"255.255.255.0"_s);
}

QTEST_APPLESS_MAIN(tst_TIPAddress)
#include "tst_ipaddress.moc"
