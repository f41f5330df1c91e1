#include <QTest>

#include <memory>

#include "tests/common/TestEnvironment.h"
#include "tests/ipsubnet/IPAddressTestHelpers.h"

using namespace Qt::StringLiterals;

namespace {

// A subnet holding `address` with `bits` subnet bits; the allowance is set
// last, so switching it off clamps like the Options menu does.
std::unique_ptr<TIPAddSubnet> MakeSubnet(const QString &address, int bits, bool rfc1878)
{
    auto subnet = std::make_unique<TIPAddSubnet>();
    subnet->SetRFC1878(true);
    subnet->SetSubnetBits(quint8(bits));
    subnet->SetValue(Addr(address));
    subnet->SetRFC1878(rfc1878);
    return subnet;
}

} // namespace

class tst_TIPAddSubnet : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void initialState();
    void derivedValues_data();
    void derivedValues();
    void rangesAgreeWithSubnetCounts();
    void bitMapOfEveryCount();

    void setSubnetBits_data();
    void setSubnetBits();
    void subnetBitsClampedOnceAfterClassChange();
    void setSubnetBitsKeepsInvariants();

    void setByte_data();
    void setByte();
    void lastOctetClampedIntoRange();
    void setValue_data();
    void setValue();
    void setClassType_data();
    void setClassType();
    void rfc1878OffClampsAddress_data();
    void rfc1878OffClampsAddress();

    void bitsCountAndRange_data();
    void bitsCountAndRange();
    void everyCountInTheRangeApplies();
    void setBitsCount_data();
    void setBitsCount();
    void setClassTypeKeepingBits_data();
    void setClassTypeKeepingBits();
    void setOctetText_data();
    void setOctetText();
    void raiseToMinSubnetBits_data();
    void raiseToMinSubnetBits();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_TIPAddSubnet::initTestCase()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_TIPAddSubnet::initialState()
{
    // The masks and limits are derived in the constructor, not set.
    const TIPAddSubnet subnet;
    QCOMPARE(subnet.DecimalText(), u"128.0.0.1"_s);
    QCOMPARE(subnet.ClassType(), TIPClassType::icClassB);
    QCOMPARE(subnet.BitsMask().DecimalText(), u"0.0.255.0"_s);
    QCOMPARE(subnet.SubnetMask().DecimalText(), u"255.255.255.0"_s);
    QCOMPARE(int(subnet.MaxSubnetBits()), 14);
    QCOMPARE(int(subnet.MinSubnetBits()), 2);
}

void tst_TIPAddSubnet::derivedValues_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("rfc1878");
    QTest::addColumn<quint32>("maxSubnets");
    QTest::addColumn<quint32>("maxHosts");
    QTest::addColumn<QString>("subnetMask");
    QTest::addColumn<QString>("networkID");
    QTest::addColumn<QString>("subnetID");
    QTest::addColumn<QString>("hostID");
    QTest::addColumn<QString>("hostRange");
    QTest::addColumn<QString>("allocation");
    QTest::addColumn<QString>("bitMap");

    QTest::newRow("class B, 8 bits, 128.5.3.7")
        << u"128.5.3.7"_s << 8 << false << 254u << 254u << u"255.255.255.0"_s
        << u"128.5.3.0"_s << u"0.0.3.0"_s << u"0.0.0.7"_s
        << u"128.5.3.1 128.5.3.254"_s << u"128.5.1.1 128.5.254.254"_s
        << u"10nnnnnn.nnnnnnnn.ssssssss.hhhhhhhh"_s;
    QTest::newRow("class B, 8 bits, 128.5.3.7, RFC 1878")
        << u"128.5.3.7"_s << 8 << true << 256u << 254u << u"255.255.255.0"_s
        << u"128.5.3.0"_s << u"0.0.3.0"_s << u"0.0.0.7"_s
        << u"128.5.3.1 128.5.3.254"_s << u"128.5.0.1 128.5.255.254"_s
        << u"10nnnnnn.nnnnnnnn.ssssssss.hhhhhhhh"_s;
    QTest::newRow("class C, 2 bits")
        << u"192.168.1.70"_s << 2 << false << 2u << 62u << u"255.255.255.192"_s
        << u"192.168.1.64"_s << u"0.0.0.64"_s << u"0.0.0.6"_s
        << u"192.168.1.65 192.168.1.126"_s << u"192.168.1.65 192.168.1.190"_s
        << u"110nnnnn.nnnnnnnn.nnnnnnnn.sshhhhhh"_s;
    QTest::newRow("class C, 2 bits, RFC 1878")
        << u"192.168.1.70"_s << 2 << true << 4u << 62u << u"255.255.255.192"_s
        << u"192.168.1.64"_s << u"0.0.0.64"_s << u"0.0.0.6"_s
        << u"192.168.1.65 192.168.1.126"_s << u"192.168.1.1 192.168.1.254"_s
        << u"110nnnnn.nnnnnnnn.nnnnnnnn.sshhhhhh"_s;
    QTest::newRow("class A, 22 bits")
        << u"10.0.0.6"_s << 22 << false << 4194302u << 2u << u"255.255.255.252"_s
        << u"10.0.0.4"_s << u"0.0.0.4"_s << u"0.0.0.2"_s
        << u"10.0.0.5 10.0.0.6"_s << u"10.0.0.5 10.255.255.250"_s
        << u"0nnnnnnn.ssssssss.ssssssss.sssssshh"_s;
    QTest::newRow("class A, 1 bit, RFC 1878")
        << u"10.200.1.2"_s << 1 << true << 2u << 8388606u << u"255.128.0.0"_s
        << u"10.128.0.0"_s << u"0.128.0.0"_s << u"0.72.1.2"_s
        << u"10.128.0.1 10.255.255.254"_s << u"10.0.0.1 10.255.255.254"_s
        << u"0nnnnnnn.shhhhhhh.hhhhhhhh.hhhhhhhh"_s;
    QTest::newRow("class C, 6 bits")
        << u"200.1.2.9"_s << 6 << false << 62u << 2u << u"255.255.255.252"_s
        << u"200.1.2.8"_s << u"0.0.0.8"_s << u"0.0.0.1"_s
        << u"200.1.2.9 200.1.2.10"_s << u"200.1.2.5 200.1.2.250"_s
        << u"110nnnnn.nnnnnnnn.nnnnnnnn.sssssshh"_s;
}

void tst_TIPAddSubnet::derivedValues()
{
    QFETCH(QString, address);
    QFETCH(int, bits);
    QFETCH(bool, rfc1878);
    const auto subnet = MakeSubnet(address, bits, rfc1878);
    QCOMPARE(subnet->DecimalText(), address);
    QTEST(subnet->MaxSubnets(), "maxSubnets");
    QTEST(subnet->MaxHosts(), "maxHosts");
    QTEST(subnet->SubnetMask().DecimalText(), "subnetMask");
    QTEST(Text(subnet->NetworkID()), "networkID");
    QTEST(Text(subnet->SubnetID()), "subnetID");
    QTEST(Text(subnet->HostID()), "hostID");
    QTEST(QString(Text(subnet->FirstHost()) + u' ' + Text(subnet->LastHost())), "hostRange");
    QTEST(QString(Text(subnet->AllocationFirst()) + u' ' + Text(subnet->AllocationLast())), "allocation");
    QTEST(subnet->BitMap(), "bitMap");
}

// Walks every class, bit count and allowance: the allocation range spans
// exactly MaxSubnets whole subnets and starts and ends on host bounds.
void tst_TIPAddSubnet::rangesAgreeWithSubnetCounts()
{
    for (const QString &address : {u"10.1.2.3"_s, u"172.16.9.9"_s, u"200.1.2.99"_s}) {
        for (const bool rfc1878 : {false, true}) {
            TIPAddSubnet subnet;
            subnet.SetRFC1878(rfc1878);
            subnet.SetValue(Addr(address));
            for (int bits = subnet.MinSubnetBits(); bits <= subnet.MaxSubnetBits(); ++bits) {
                const auto probe = MakeSubnet(address, bits, rfc1878);
                QCOMPARE(int(probe->SubnetBits()), bits);
                const quint32 size = quint32(1) << probe->HostBits();
                const quint32 first = probe->AllocationFirst();
                const quint32 last = probe->AllocationLast();
                QCOMPARE((last - first + 3) / size, probe->MaxSubnets());
                QCOMPARE((last - first + 3) % size, 0u);
                QCOMPARE(probe->MaxHosts(), size - 2);
                QVERIFY(probe->GetValue() >= first && probe->GetValue() <= last);
                QCOMPARE(probe->NetworkID() | probe->HostID(), probe->GetValue());
                QCOMPARE(probe->SubnetID(), probe->NetworkID() & ~probe->ClassMask().GetValue());
                QCOMPARE(probe->LastHost() - probe->FirstHost(), size - 3);
            }
        }
    }
}

void tst_TIPAddSubnet::bitMapOfEveryCount()
{
    const QString prefixes[] = {u"0"_s, u"10"_s, u"110"_s};
    for (const QString &address : {u"10.1.2.3"_s, u"172.16.9.9"_s, u"200.1.2.99"_s}) {
        TIPAddSubnet subnet;
        subnet.SetRFC1878(true);
        subnet.SetValue(Addr(address));
        const int networkBits = subnet.NetworkBits();
        for (int bits = 1; bits <= subnet.MaxSubnetBits(); ++bits) {
            subnet.SetSubnetBits(quint8(bits));
            const QString map = subnet.BitMap();
            QCOMPARE(map.size(), 35);
            QCOMPARE(map.at(8), u'.');
            QCOMPARE(map.at(17), u'.');
            QCOMPARE(map.at(26), u'.');
            const QString plain = QString(map).remove(u'.');
            const QString prefix = prefixes[int(subnet.ClassType())];
            QVERIFY(plain.startsWith(prefix));
            QCOMPARE(plain.count(u'n'), networkBits - prefix.size());
            QCOMPARE(plain.count(u's'), bits);
            QCOMPARE(plain.count(u'h'), 32 - networkBits - bits);
            QCOMPARE(plain.indexOf(u's'), networkBits);
        }
    }
}

void tst_TIPAddSubnet::setSubnetBits_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("bits");
    QTest::addColumn<TIPClassType>("classType");
    QTest::addColumn<int>("firstOctet");
    QTest::addColumn<QString>("subnetMask");
    QTest::newRow("class C, 7 bits becomes class B") << u"200.1.2.9"_s << 2 << 7 << 7
        << TIPClassType::icClassB << 128 << u"255.255.254.0"_s;
    QTest::newRow("class C, 15 bits becomes class A") << u"200.1.2.9"_s << 2 << 15 << 15
        << TIPClassType::icClassA << 1 << u"255.255.254.0"_s;
    QTest::newRow("class B, 15 bits becomes class A") << u"172.16.9.9"_s << 8 << 15 << 15
        << TIPClassType::icClassA << 1 << u"255.255.254.0"_s;
    QTest::newRow("class B, 14 bits stays") << u"172.16.9.9"_s << 8 << 14 << 14
        << TIPClassType::icClassB << 172 << u"255.255.255.252"_s;
    QTest::newRow("0 bits gives 1") << u"172.16.9.9"_s << 8 << 0 << 1
        << TIPClassType::icClassB << 172 << u"255.255.128.0"_s;
    QTest::newRow("30 bits gives 22, class A") << u"172.16.9.9"_s << 8 << 30 << 22
        << TIPClassType::icClassA << 1 << u"255.255.255.252"_s;
    QTest::newRow("class A shrinking keeps class") << u"10.1.2.3"_s << 20 << 3 << 3
        << TIPClassType::icClassA << 10 << u"255.224.0.0"_s;
    QTest::newRow("class A growing keeps class") << u"10.1.2.3"_s << 3 << 20 << 20
        << TIPClassType::icClassA << 10 << u"255.255.255.240"_s;
    QTest::newRow("same count") << u"200.1.2.9"_s << 6 << 6 << 6
        << TIPClassType::icClassC << 200 << u"255.255.255.252"_s;
}

void tst_TIPAddSubnet::setSubnetBits()
{
    QFETCH(QString, address);
    QFETCH(int, start);
    QFETCH(int, count);
    const auto subnet = MakeSubnet(address, start, true);
    subnet->SetSubnetBits(quint8(count));
    QTEST(int(subnet->SubnetBits()), "bits");
    QTEST(subnet->ClassType(), "classType");
    QTEST(int(subnet->GetByte(0)), "firstOctet");
    QTEST(subnet->SubnetMask().DecimalText(), "subnetMask");
    QCOMPARE(int(subnet->MaxSubnetBits()), 30 - subnet->NetworkBits());
}

// The class switch of a growing count must not clamp the address to the
// intermediate (new class, old count) range before the count is stored.
void tst_TIPAddSubnet::subnetBitsClampedOnceAfterClassChange()
{
    const auto subnet = MakeSubnet(u"192.1.2.5"_s, 6, false);
    QCOMPARE(subnet->DecimalText(), u"192.1.2.5"_s);
    subnet->SetSubnetBits(7);
    QCOMPARE(subnet->ClassType(), TIPClassType::icClassB);
    QCOMPARE(subnet->DecimalText(), u"128.1.2.5"_s);
}

void tst_TIPAddSubnet::setSubnetBitsKeepsInvariants()
{
    for (const bool rfc1878 : {false, true}) {
        for (int from = 1; from <= 22; ++from) {
            for (int to = 0; to <= 25; ++to) {
                const auto subnet = MakeSubnet(u"200.7.8.9"_s, from, rfc1878);
                subnet->SetSubnetBits(quint8(to));
                QCOMPARE(int(subnet->SubnetBits()), qBound(1, to, 22));
                QVERIFY(subnet->SubnetBits() <= subnet->MaxSubnetBits());
                QCOMPARE(int(subnet->MaxSubnetBits()), 30 - subnet->NetworkBits());
                QCOMPARE(subnet->SubnetMask().GetValue(),
                         subnet->ClassMask().GetValue() | subnet->BitsMask().GetValue());
                QCOMPARE(subnet->BitsMask().GetValue(),
                         TIPAddMask::MakeMask(quint8(31 - subnet->NetworkBits()), subnet->SubnetBits()));
                if (!rfc1878 && subnet->SubnetBits() >= 2) {
                    QVERIFY(subnet->GetValue() >= subnet->AllocationFirst());
                    QVERIFY(subnet->GetValue() <= subnet->AllocationLast());
                }
            }
        }
    }
}

void tst_TIPAddSubnet::setByte_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("octet");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("storedBits");
    QTest::newRow("first octet 200 in class B, 10 bits") << u"172.16.9.9"_s << 10 << 0 << 200
        << u"200.16.9.9"_s << 6;
    QTest::newRow("first octet 10 in class B, 10 bits") << u"172.16.9.9"_s << 10 << 0 << 10
        << u"10.16.9.9"_s << 10;
    QTest::newRow("first octet 127") << u"172.16.9.9"_s << 8 << 0 << 127 << u"126.16.9.9"_s << 8;
    QTest::newRow("first octet 0") << u"172.16.9.9"_s << 8 << 0 << 0 << u"1.16.9.9"_s << 8;
    QTest::newRow("first octet 240") << u"10.16.9.99"_s << 4 << 0 << 240 << u"223.16.9.99"_s << 4;
    QTest::newRow("class B to C cuts 14 bits to 6") << u"172.16.9.9"_s << 14 << 0 << 192
        << u"192.16.9.9"_s << 6;
    QTest::newRow("class A to B cuts 20 bits to 14") << u"10.16.9.9"_s << 20 << 0 << 150
        << u"150.16.9.9"_s << 14;
    QTest::newRow("second octet") << u"172.16.9.9"_s << 8 << 1 << 255 << u"172.255.9.9"_s << 8;
    QTest::newRow("third octet clamped up") << u"172.16.9.9"_s << 8 << 2 << 0
        << u"172.16.1.1"_s << 8;
    QTest::newRow("third octet clamped down") << u"172.16.9.9"_s << 8 << 2 << 255
        << u"172.16.254.254"_s << 8;
}

void tst_TIPAddSubnet::setByte()
{
    QFETCH(QString, address);
    QFETCH(int, bits);
    QFETCH(int, index);
    QFETCH(int, octet);
    const auto subnet = MakeSubnet(address, bits, false);
    subnet->SetByte(quint8(index), quint8(octet));
    QTEST(subnet->DecimalText(), "stored");
    QTEST(int(subnet->SubnetBits()), "storedBits");
    QCOMPARE(subnet->ClassType(), TIPAddClass::ClassOfFirstOctet(subnet->GetByte(0)));
    QCOMPARE(int(subnet->MaxSubnetBits()), 30 - subnet->NetworkBits());
}

void tst_TIPAddSubnet::lastOctetClampedIntoRange()
{
    const auto subnet = MakeSubnet(u"192.168.1.100"_s, 2, false);
    for (int octet = 0; octet < 256; ++octet) {
        subnet->SetByte(3, quint8(octet));
        QCOMPARE(int(subnet->GetByte(3)), qBound(65, octet, 190));
    }
}

void tst_TIPAddSubnet::setValue_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<TIPClassType>("classType");
    QTest::addColumn<int>("bits");
    QTest::newRow("first octet 0 corrected to 1") << u"0.5.3.7"_s << u"1.5.3.7"_s
        << TIPClassType::icClassA << 10;
    QTest::newRow("class C cuts the bits") << u"200.5.3.7"_s << u"200.5.3.7"_s
        << TIPClassType::icClassC << 6;
    QTest::newRow("class E becomes C") << u"240.5.3.7"_s << u"223.5.3.7"_s
        << TIPClassType::icClassC << 6;
    QTest::newRow("loopback corrected") << u"127.1.0.1"_s << u"126.1.0.1"_s
        << TIPClassType::icClassA << 10;
    QTest::newRow("below the range") << u"172.16.0.0"_s << u"172.16.0.65"_s
        << TIPClassType::icClassB << 10;
    QTest::newRow("above the range") << u"172.16.255.255"_s << u"172.16.255.190"_s
        << TIPClassType::icClassB << 10;
    QTest::newRow("same first octet") << u"172.16.3.7"_s << u"172.16.3.7"_s
        << TIPClassType::icClassB << 10;
}

void tst_TIPAddSubnet::setValue()
{
    QFETCH(QString, value);
    const auto subnet = MakeSubnet(u"172.16.9.9"_s, 10, false);
    subnet->SetValue(Addr(value));
    QTEST(subnet->DecimalText(), "stored");
    QTEST(subnet->ClassType(), "classType");
    QTEST(int(subnet->SubnetBits()), "bits");
    QCOMPARE(subnet->ClassMask().GetValue(), TIPAddMask::MakeMask(31, subnet->NetworkBits()));
}

void tst_TIPAddSubnet::setClassType_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("rfc1878");
    QTest::addColumn<TIPClassType>("classType");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("storedBits");
    QTest::newRow("B to C cuts the bits") << u"128.5.3.7"_s << 8 << false << TIPClassType::icClassC
        << u"192.5.3.7"_s << 6;
    QTest::newRow("B to C clamps into the range") << u"128.5.1.1"_s << 8 << false
        << TIPClassType::icClassC << u"192.5.1.5"_s << 6;
    QTest::newRow("B to C with RFC 1878 keeps the address") << u"128.5.1.1"_s << 8 << true
        << TIPClassType::icClassC << u"192.5.1.1"_s << 6;
    QTest::newRow("B to A keeps the bits") << u"128.5.3.7"_s << 8 << false
        << TIPClassType::icClassA << u"1.5.3.7"_s << 8;
    QTest::newRow("A to B cuts 20 bits") << u"10.5.3.7"_s << 20 << false
        << TIPClassType::icClassB << u"128.5.3.7"_s << 14;
    QTest::newRow("same class changes nothing") << u"172.5.3.7"_s << 8 << false
        << TIPClassType::icClassB << u"172.5.3.7"_s << 8;
    QTest::newRow("class E gives C") << u"10.5.3.7"_s << 8 << false
        << TIPClassType::icClassE << u"192.5.3.7"_s << 6;
}

void tst_TIPAddSubnet::setClassType()
{
    QFETCH(QString, address);
    QFETCH(int, bits);
    QFETCH(bool, rfc1878);
    QFETCH(TIPClassType, classType);
    const auto subnet = MakeSubnet(address, bits, rfc1878);
    subnet->SetClassType(classType);
    QTEST(subnet->DecimalText(), "stored");
    QTEST(int(subnet->SubnetBits()), "storedBits");
    QCOMPARE(subnet->ClassType(), TIPAddClass::ClassOfFirstOctet(subnet->GetByte(0)));
    QCOMPARE(subnet->SubnetMask().GetValue(),
             subnet->ClassMask().GetValue() | subnet->BitsMask().GetValue());
}

void tst_TIPAddSubnet::rfc1878OffClampsAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("stored");
    QTest::newRow("subnet 0") << u"128.5.0.7"_s << u"128.5.1.1"_s;
    QTest::newRow("all-ones subnet") << u"128.5.255.7"_s << u"128.5.254.254"_s;
    QTest::newRow("inside") << u"128.5.3.7"_s << u"128.5.3.7"_s;
}

void tst_TIPAddSubnet::rfc1878OffClampsAddress()
{
    QFETCH(QString, address);
    const auto subnet = MakeSubnet(address, 8, true);
    QCOMPARE(subnet->DecimalText(), address);
    subnet->SetRFC1878(false);
    QTEST(subnet->DecimalText(), "stored");
}

void tst_TIPAddSubnet::bitsCountAndRange_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("rfc1878");
    QTest::addColumn<TBitsMode>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    const TBitsMode subnetBits = TBitsMode::bmSubnetBits;
    const TBitsMode networkBits = TBitsMode::bmNetworkBits;
    QTest::newRow("class B, subnet bits") << u"128.5.3.7"_s << 8 << false << subnetBits << 8 << 2 << 14;
    QTest::newRow("class B, network bits") << u"128.5.3.7"_s << 8 << false << networkBits << 24 << 18 << 30;
    QTest::newRow("class B, subnet bits, RFC 1878") << u"128.5.3.7"_s << 8 << true << subnetBits << 8 << 1 << 14;
    QTest::newRow("class B, network bits, RFC 1878") << u"128.5.3.7"_s << 8 << true << networkBits << 24 << 17 << 30;
    QTest::newRow("class A, subnet bits") << u"10.5.3.7"_s << 10 << false << subnetBits << 10 << 2 << 22;
    QTest::newRow("class A, network bits") << u"10.5.3.7"_s << 10 << false << networkBits << 18 << 10 << 30;
    QTest::newRow("class C, subnet bits") << u"200.5.3.77"_s << 2 << false << subnetBits << 2 << 2 << 6;
    QTest::newRow("class C, network bits") << u"200.5.3.77"_s << 2 << false << networkBits << 26 << 26 << 30;
    QTest::newRow("class C, network bits, RFC 1878") << u"200.5.3.77"_s << 1 << true << networkBits << 25 << 25 << 30;
}

void tst_TIPAddSubnet::bitsCountAndRange()
{
    QFETCH(QString, address);
    QFETCH(int, bits);
    QFETCH(bool, rfc1878);
    QFETCH(TBitsMode, mode);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    const auto subnet = MakeSubnet(address, bits, rfc1878);
    QTEST(subnet->BitsCount(mode), "count");
    QCOMPARE(subnet->BitsRange(mode), (TBitsRange{minimum, maximum}));
}

// Within the range of its mode a count never changes the class, and reads
// back as entered: the bits field can show every count it lets through.
void tst_TIPAddSubnet::everyCountInTheRangeApplies()
{
    for (const QString &address : {u"10.5.3.7"_s, u"172.16.3.7"_s, u"200.5.3.77"_s}) {
        for (const bool rfc1878 : {false, true}) {
            for (const TBitsMode mode : {TBitsMode::bmSubnetBits, TBitsMode::bmNetworkBits}) {
                const auto probe = MakeSubnet(address, 2, rfc1878);
                const TBitsRange range = probe->BitsRange(mode);
                for (int from = range.Minimum; from <= range.Maximum; ++from) {
                    for (int to = range.Minimum; to <= range.Maximum; ++to) {
                        const auto subnet = MakeSubnet(address, 2, rfc1878);
                        subnet->SetBitsCount(mode, from);
                        QCOMPARE(subnet->SetBitsCount(mode, to), from != to);
                        QCOMPARE(subnet->BitsCount(mode), to);
                        QCOMPARE(subnet->ClassType(), probe->ClassType());
                        QCOMPARE(subnet->BitsRange(mode), range);
                        if (!rfc1878) {
                            QVERIFY(subnet->GetValue() >= subnet->AllocationFirst());
                            QVERIFY(subnet->GetValue() <= subnet->AllocationLast());
                        }
                    }
                }
            }
        }
    }
}

void tst_TIPAddSubnet::setBitsCount_data()
{
    QTest::addColumn<TBitsMode>("mode");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<int>("subnetBits");
    QTest::addColumn<TIPClassType>("classType");
    QTest::addColumn<int>("firstOctet");
    const TBitsMode subnetBits = TBitsMode::bmSubnetBits;
    const TBitsMode networkBits = TBitsMode::bmNetworkBits;
    const TIPClassType a = TIPClassType::icClassA;
    const TIPClassType b = TIPClassType::icClassB;
    QTest::newRow("subnet bits: the count held") << subnetBits << u"128.5.3.7"_s << 8 << 8 << false << 8 << b << 128;
    QTest::newRow("subnet bits: 10") << subnetBits << u"128.5.3.7"_s << 8 << 10 << true << 10 << b << 128;
    QTest::newRow("subnet bits: 7 in class C moves to class B")
        << subnetBits << u"200.1.2.9"_s << 6 << 7 << true << 7 << b << 128;
    QTest::newRow("subnet bits: 40 stops at 22, class A") << subnetBits << u"128.5.3.7"_s << 8 << 40 << true << 22 << a << 1;
    QTest::newRow("subnet bits: 0 gives 1") << subnetBits << u"128.5.3.7"_s << 8 << 0 << true << 1 << b << 128;
    QTest::newRow("network bits: /26 in class B") << networkBits << u"128.5.3.7"_s << 8 << 26 << true << 10 << b << 128;
    QTest::newRow("network bits: the prefix held") << networkBits << u"128.5.3.7"_s << 8 << 24 << false << 8 << b << 128;
    QTest::newRow("network bits: /17 in class B") << networkBits << u"128.5.3.7"_s << 8 << 17 << true << 1 << b << 128;
    QTest::newRow("network bits: /16 in class B holds no subnet")
        << networkBits << u"128.5.3.7"_s << 8 << 16 << false << 8 << b << 128;
    QTest::newRow("network bits: /10 in class B holds no subnet")
        << networkBits << u"128.5.3.7"_s << 8 << 10 << false << 8 << b << 128;
    QTest::newRow("network bits: /300 stops at 22 subnet bits, class A")
        << networkBits << u"128.5.3.7"_s << 8 << 300 << true << 22 << a << 1;
}

void tst_TIPAddSubnet::setBitsCount()
{
    QFETCH(TBitsMode, mode);
    QFETCH(QString, address);
    QFETCH(int, bits);
    QFETCH(int, count);
    const auto subnet = MakeSubnet(address, bits, true);
    QTEST(subnet->SetBitsCount(mode, count), "applied");
    QTEST(int(subnet->SubnetBits()), "subnetBits");
    QTEST(subnet->ClassType(), "classType");
    QTEST(int(subnet->GetByte(0)), "firstOctet");
}

void tst_TIPAddSubnet::setClassTypeKeepingBits_data()
{
    QTest::addColumn<TBitsMode>("mode");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("rfc1878");
    QTest::addColumn<TIPClassType>("newClass");
    QTest::addColumn<TIPClassType>("classType");
    QTest::addColumn<int>("subnetBits");
    QTest::addColumn<QString>("stored");
    const TBitsMode subnetBits = TBitsMode::bmSubnetBits;
    const TBitsMode networkBits = TBitsMode::bmNetworkBits;
    const TIPClassType a = TIPClassType::icClassA;
    const TIPClassType b = TIPClassType::icClassB;
    const TIPClassType c = TIPClassType::icClassC;
    QTest::newRow("subnet bits: B to C cuts 10 bits to 6")
        << subnetBits << u"128.5.3.7"_s << 10 << false << c << c << 6 << u"192.5.3.7"_s;
    QTest::newRow("subnet bits: B to A keeps 10 bits")
        << subnetBits << u"128.5.3.7"_s << 10 << false << a << a << 10 << u"1.5.3.7"_s;
    QTest::newRow("network bits: B /24 to C gives the class C minimum /26")
        << networkBits << u"128.5.3.7"_s << 8 << false << c << c << 2 << u"192.5.3.65"_s;
    QTest::newRow("network bits: C /26 back to B keeps /26")
        << networkBits << u"192.5.3.65"_s << 2 << false << b << b << 10 << u"128.5.64.1"_s;
    QTest::newRow("network bits: B /26 to A keeps /26")
        << networkBits << u"128.5.3.7"_s << 10 << false << a << a << 18 << u"1.5.3.7"_s;
    QTest::newRow("network bits: C /30 to A keeps /30")
        << networkBits << u"200.1.2.9"_s << 6 << false << a << a << 22 << u"1.4.0.1"_s;
    QTest::newRow("network bits: A /10 to C gives /26")
        << networkBits << u"10.64.0.1"_s << 2 << false << c << c << 2 << u"192.64.0.65"_s;
    QTest::newRow("network bits with RFC 1878: B /17 to C gives /25")
        << networkBits << u"128.5.3.7"_s << 1 << true << c << c << 1 << u"192.5.3.7"_s;
    QTest::newRow("network bits: the class held changes nothing")
        << networkBits << u"172.5.3.7"_s << 8 << false << b << b << 8 << u"172.5.3.7"_s;
    QTest::newRow("network bits: class E gives C, /16 gives /26")
        << networkBits << u"10.5.3.7"_s << 8 << false << TIPClassType::icClassE << c << 2 << u"192.5.3.65"_s;
}

void tst_TIPAddSubnet::setClassTypeKeepingBits()
{
    QFETCH(TBitsMode, mode);
    QFETCH(QString, address);
    QFETCH(int, bits);
    QFETCH(bool, rfc1878);
    QFETCH(TIPClassType, newClass);
    const auto subnet = MakeSubnet(address, bits, rfc1878);
    QCOMPARE(subnet->DecimalText(), address);
    subnet->SetClassTypeKeepingBits(mode, newClass);
    QTEST(subnet->ClassType(), "classType");
    QTEST(int(subnet->SubnetBits()), "subnetBits");
    QTEST(subnet->DecimalText(), "stored");
}

void tst_TIPAddSubnet::setOctetText_data()
{
    QTest::addColumn<TBitsMode>("mode");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<TIPClassType>("classType");
    QTest::addColumn<int>("subnetBits");
    const TBitsMode subnetBits = TBitsMode::bmSubnetBits;
    const TBitsMode networkBits = TBitsMode::bmNetworkBits;
    const TIPClassType a = TIPClassType::icClassA;
    const TIPClassType b = TIPClassType::icClassB;
    const TIPClassType c = TIPClassType::icClassC;
    // All from 172.16.9.9, class B with 10 subnet bits (/26).
    QTest::newRow("subnet bits: 10 gives class A, 10 bits kept") << subnetBits << 0 << u"10"_s << u"10.16.9.9"_s << a << 10;
    QTest::newRow("network bits: 10 keeps /26") << networkBits << 0 << u"10"_s << u"10.16.9.9"_s << a << 18;
    QTest::newRow("subnet bits: 200 gives class C, 6 bits") << subnetBits << 0 << u"200"_s << u"200.16.9.9"_s << c << 6;
    QTest::newRow("network bits: 200 keeps /26") << networkBits << 0 << u"200"_s << u"200.16.9.65"_s << c << 2;
    QTest::newRow("network bits: 191 keeps class and /26") << networkBits << 0 << u"191"_s << u"191.16.9.9"_s << b << 10;
    QTest::newRow("network bits: 240 is read as 223") << networkBits << 0 << u"240"_s << u"223.16.9.65"_s << c << 2;
    QTest::newRow("network bits: empty first octet is 1") << networkBits << 0 << QString() << u"1.16.9.9"_s << a << 18;
    QTest::newRow("network bits: 127 becomes 126") << networkBits << 0 << u"127"_s << u"126.16.9.9"_s << a << 18;
    QTest::newRow("network bits: third octet 0 is clamped up") << networkBits << 2 << u"0"_s << u"172.16.0.65"_s << b << 10;
    QTest::newRow("subnet bits: last octet 255 is read as 254") << subnetBits << 3 << u"255"_s << u"172.16.9.254"_s << b << 10;
    QTest::newRow("subnet bits: last octet empty is 1") << subnetBits << 3 << QString() << u"172.16.9.1"_s << b << 10;
}

void tst_TIPAddSubnet::setOctetText()
{
    QFETCH(TBitsMode, mode);
    QFETCH(int, index);
    QFETCH(QString, text);
    const auto subnet = MakeSubnet(u"172.16.9.9"_s, 10, false);
    subnet->SetOctetText(mode, quint8(index), text);
    QTEST(subnet->DecimalText(), "stored");
    QTEST(subnet->ClassType(), "classType");
    QTEST(int(subnet->SubnetBits()), "subnetBits");
    QCOMPARE(ErrorOf([&] { subnet->SetOctetText(mode, 4, u"1"_s); }), u"Invalid TIPAddress Byte Index"_s);
}

void tst_TIPAddSubnet::raiseToMinSubnetBits_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("rfc1878");
    QTest::addColumn<bool>("raised");
    QTest::addColumn<int>("subnetBits");
    QTest::newRow("one bit without the allowance") << 1 << false << true << 2;
    QTest::newRow("one bit with the allowance") << 1 << true << false << 1;
    QTest::newRow("two bits without the allowance") << 2 << false << false << 2;
}

void tst_TIPAddSubnet::raiseToMinSubnetBits()
{
    QFETCH(int, bits);
    QFETCH(bool, rfc1878);
    const auto subnet = MakeSubnet(u"128.5.3.7"_s, bits, rfc1878);
    QTEST(subnet->RaiseToMinSubnetBits(), "raised");
    QTEST(int(subnet->SubnetBits()), "subnetBits");
    QVERIFY(subnet->SubnetBits() >= subnet->MinSubnetBits());
    if (!rfc1878)
        QVERIFY(subnet->GetValue() >= subnet->AllocationFirst() && subnet->GetValue() <= subnet->AllocationLast());
}

QTEST_APPLESS_MAIN(tst_TIPAddSubnet)
#include "tst_ipaddsubnet.moc"
