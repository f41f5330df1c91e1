#include <QTest>

#include <memory>

#include "ipsubnet/SubnetSettings.h"
#include "tests/common/TestEnvironment.h"
#include "tests/ipsubnet/DravokTestHelpers.h"
#include "tests/ipsubnet/IPAddressTestHelpers.h"

using namespace Qt::StringLiterals;

namespace {

// Network-bits mode, RFC 1878 on, class C, 6 bits, 200.1.2.5, 192.168.0.0:
// every value differs from a first start.
const TSubnetSettings GoodSubkey{false, true, u'C', 6, 0xC8010205, 0xC0A80000};

} // namespace

// The "Dravok" subkey's table: its order, types, checks and first-start
// values, read and written through the user's store.
class tst_SubnetSettings : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void noSubkey();
    void firstStartValuesAreTheModels();
    void writtenAsTheRegistryHoldsThem();
    void readBack();
    void spoiledValueStopsTheReading_data();
    void spoiledValueStopsTheReading();
    void storedValuesTaken_data();
    void storedValuesTaken();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_SubnetSettings::init()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_SubnetSettings::cleanup()
{
    FEnvironment.reset();
}

void tst_SubnetSettings::noSubkey()
{
    QVERIFY(!ReadSubnetSettings());
    // Reading creates nothing.
    QCOMPARE(FEnvironment->ReadSettingsFile(), QByteArray());
}

// What a first start saves is the state of new models in subnet-bits mode.
void tst_SubnetSettings::firstStartValuesAreTheModels()
{
    const TSubnetSettings first;
    const TIPAddSubnet subnet;
    const TIPAddSupernet supernet;
    QVERIFY(first.UseSubnetBits);
    QCOMPARE(first.UseRFC1878, subnet.RFC1878());
    QCOMPARE(first.AddressType, subnet.ClassLetter());
    QCOMPARE(first.SubnetBits, int(subnet.SubnetBits()));
    QCOMPARE(first.SubnetAddress, subnet.GetValue());
    QCOMPARE(first.SupernetAddress, supernet.GetValue());
}

void tst_SubnetSettings::writtenAsTheRegistryHoldsThem()
{
    WriteSubnetSettings(TSubnetSettings{false, true, u'A', 19, 0x0A140021, 0xFFFFFFFF});
    const QByteArray file = FEnvironment->ReadSettingsFile();
    const QByteArray expected = "[HKEY_CURRENT_USER\\Software\\Vorl Group\\Tarvelo Calculator\\2.20\\Dravok]\r\n"
                                "\"UseSubnetBits\"=dword:00000000\r\n"
                                "\"UseRFC1878\"=dword:00000001\r\n"
                                "\"AddressType\"=\"A\"\r\n"
                                "\"SubnetBits\"=dword:00000013\r\n"
                                "\"SubnetAddress\"=dword:0a140021\r\n"
                                "\"SupernetAddress\"=dword:ffffffff\r\n";
    QVERIFY2(file.contains(expected), file.constData());
}

void tst_SubnetSettings::readBack()
{
    WriteDravokSubkey(*FEnvironment, GoodSubkey);
    const std::optional<TStoredSubnetSettings> stored = ReadSubnetSettings();
    QVERIFY(stored);
    QCOMPARE(stored->Count, 6);
    QCOMPARE(stored->Error, QString());
    QCOMPARE(stored->Values, GoodSubkey);
    QVERIFY(stored->Has(TSubnetSetting::ssSupernetAddress));

    WriteSubnetSettings(stored->Values);
    TSettingsStore::ResetInstance();
    QCOMPARE(ReadSubnetSettings()->Values, GoodSubkey);
}

void tst_SubnetSettings::spoiledValueStopsTheReading_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("error");

    QTest::newRow("bit mode missing") << u"UseSubnetBits"_s << QVariant() << 0
        << u"Failed to get data for 'UseSubnetBits'"_s;
    QTest::newRow("bit mode as text") << u"UseSubnetBits"_s << QVariant(u"1"_s) << 0
        << u"Invalid data type for 'UseSubnetBits'"_s;
    QTest::newRow("allowance missing") << u"UseRFC1878"_s << QVariant() << 1
        << u"Failed to get data for 'UseRFC1878'"_s;
    QTest::newRow("class letter missing") << u"AddressType"_s << QVariant() << 2
        << u"Failed to get data for 'AddressType'"_s;
    QTest::newRow("class letter empty") << u"AddressType"_s << QVariant(QString()) << 2
        << u"Failed to get data for 'AddressType'"_s;
    QTest::newRow("class letter as number") << u"AddressType"_s << QVariant(2) << 2
        << u"Invalid data type for 'AddressType'"_s;
    QTest::newRow("class letter Q") << u"AddressType"_s << QVariant(u"Q"_s) << 2 << u"Range check error"_s;
    QTest::newRow("class letter in lower case") << u"AddressType"_s << QVariant(u"b"_s) << 2
        << u"Range check error"_s;
    QTest::newRow("subnet bits as text") << u"SubnetBits"_s << QVariant(u"12"_s) << 3
        << u"Invalid data type for 'SubnetBits'"_s;
    QTest::newRow("subnet bits 256") << u"SubnetBits"_s << QVariant(256) << 3 << u"Range check error"_s;
    QTest::newRow("subnet bits -1") << u"SubnetBits"_s << QVariant(-1) << 3 << u"Range check error"_s;
    QTest::newRow("subnet address missing") << u"SubnetAddress"_s << QVariant() << 4
        << u"Failed to get data for 'SubnetAddress'"_s;
    QTest::newRow("supernet address as text") << u"SupernetAddress"_s << QVariant(u"192.0.0.1"_s) << 5
        << u"Invalid data type for 'SupernetAddress'"_s;
}

// The rows before the spoiled one are read as stored, the rest keep their
// first-start values.
void tst_SubnetSettings::spoiledValueStopsTheReading()
{
    QFETCH(QString, name);
    QFETCH(QVariant, stored);
    QFETCH(int, count);
    WriteDravokSubkey(*FEnvironment, GoodSubkey, name, stored);
    const std::optional<TStoredSubnetSettings> read = ReadSubnetSettings();
    QVERIFY(read);
    QCOMPARE(read->Count, count);
    QTEST(read->Error, "error");

    const TSubnetSettings first;
    const TSubnetSettings &values = read->Values;
    QCOMPARE(values.UseSubnetBits, count > 0 ? GoodSubkey.UseSubnetBits : first.UseSubnetBits);
    QCOMPARE(values.UseRFC1878, count > 1 ? GoodSubkey.UseRFC1878 : first.UseRFC1878);
    QCOMPARE(values.AddressType, count > 2 ? GoodSubkey.AddressType : first.AddressType);
    QCOMPARE(values.SubnetBits, count > 3 ? GoodSubkey.SubnetBits : first.SubnetBits);
    QCOMPARE(values.SubnetAddress, count > 4 ? GoodSubkey.SubnetAddress : first.SubnetAddress);
    QCOMPARE(values.SupernetAddress, first.SupernetAddress);
}

void tst_SubnetSettings::storedValuesTaken_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("taken");

    QTest::newRow("any other integer is yes") << u"UseSubnetBits"_s << QVariant(-7) << QVariant(true);
    QTest::newRow("0 is no") << u"UseRFC1878"_s << QVariant(0) << QVariant(false);
    QTest::newRow("class E") << u"AddressType"_s << QVariant(u"E"_s) << QVariant(QChar(u'E'));
    QTest::newRow("the first letter only") << u"AddressType"_s << QVariant(u"AB"_s) << QVariant(QChar(u'A'));
    QTest::newRow("subnet bits 0") << u"SubnetBits"_s << QVariant(0) << QVariant(0);
    QTest::newRow("subnet bits 255") << u"SubnetBits"_s << QVariant(255) << QVariant(255);
    QTest::newRow("an address with the top bit") << u"SubnetAddress"_s << QVariant(qint32(0xDFFFFFFE))
        << QVariant(0xDFFFFFFEu);
}

void tst_SubnetSettings::storedValuesTaken()
{
    QFETCH(QString, name);
    QFETCH(QVariant, stored);
    QFETCH(QVariant, taken);
    WriteDravokSubkey(*FEnvironment, GoodSubkey, name, stored);
    const std::optional<TStoredSubnetSettings> read = ReadSubnetSettings();
    QVERIFY(read);
    QCOMPARE(read->Count, 6);
    const TSubnetSettings &values = read->Values;
    const QVariant got = name == u"UseSubnetBits"_s ? QVariant(values.UseSubnetBits)
                       : name == u"UseRFC1878"_s    ? QVariant(values.UseRFC1878)
                       : name == u"AddressType"_s   ? QVariant(values.AddressType)
                       : name == u"SubnetBits"_s    ? QVariant(values.SubnetBits)
                                                    : QVariant(values.SubnetAddress);
    QCOMPARE(got, taken);
}

QTEST_APPLESS_MAIN(tst_SubnetSettings)
#include "tst_subnetsettings.moc"
