#include "ipsubnet/SubnetHostTable.h"

#include "controls/StringTableModel.h"
#include "ipsubnet/IPAddress.h"
#include "tests/common/TestEnvironment.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class tst_SubnetHostTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FEnvironment = std::make_unique<TTestEnvironment>(); }

    void rows_data();
    void rows();
    void everyClassCountAndNetwork_data();
    void everyClassCountAndNetwork();
    void refillShrinksAndKeepsTheHeader();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_SubnetHostTable::rows_data()
{
    QTest::addColumn<int>("classType");
    QTest::addColumn<int>("subnetBits");
    QTest::addColumn<bool>("rfc1878");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("firstRange");
    QTest::addColumn<QString>("lastRange");

    QTest::newRow("class C, 2 bits") << 2 << 2 << false << u"192.168.1.77"_s << 2
                                     << u"192.168.1.65  -  192.168.1.126"_s << u"192.168.1.129  -  192.168.1.190"_s;
    QTest::newRow("class C, 2 bits, RFC 1878") << 2 << 2 << true << u"192.168.1.77"_s << 4
                                               << u"192.168.1.1  -  192.168.1.62"_s
                                               << u"192.168.1.193  -  192.168.1.254"_s;
    QTest::newRow("class B, 8 bits") << 1 << 8 << false << u"172.16.9.9"_s << 254
                                     << u"172.16.1.1  -  172.16.1.254"_s << u"172.16.254.1  -  172.16.254.254"_s;
    QTest::newRow("class B, 14 bits, RFC 1878, under the limit")
        << 1 << 14 << true << u"128.1.0.1"_s << 16384 << u"128.1.0.1  -  128.1.0.2"_s
        << u"128.1.255.253  -  128.1.255.254"_s;
    QTest::newRow("class A, 22 bits, cut at the limit") << 0 << 22 << false << u"10.0.0.5"_s << 16385
                                                        << u"10.0.0.5  -  10.0.0.6"_s << u"10.1.0.5  -  10.1.0.6"_s;
    QTest::newRow("class C, 6 bits, top of the address space")
        << 2 << 6 << false << u"223.255.255.9"_s << 62 << u"223.255.255.5  -  223.255.255.6"_s
        << u"223.255.255.249  -  223.255.255.250"_s;
}

void tst_SubnetHostTable::rows()
{
    QFETCH(int, classType);
    QFETCH(int, subnetBits);
    QFETCH(bool, rfc1878);
    QFETCH(QString, address);
    QFETCH(int, rows);
    QFETCH(QString, firstRange);
    QFETCH(QString, lastRange);

    TIPAddSubnet subnet;
    subnet.SetClassType(static_cast<TIPClassType>(classType));
    subnet.SetRFC1878(rfc1878);
    subnet.SetSubnetBits(quint8(subnetBits));
    const QStringList octets = address.split(u'.');
    subnet.SetValue(octets[0].toUInt() << 24 | octets[1].toUInt() << 16 | octets[2].toUInt() << 8 | octets[3].toUInt());

    TStringTableModel table;
    table.SetColCount(2);
    table.SetRowCount(2);
    table.SetFixedCols(0);
    table.SetCells(0, 0, u"Subnet"_s);
    table.SetCells(1, 0, u"Host Range"_s);
    FillSubnetHostTable(table, subnet);

    QCOMPARE(SubnetHostRowCount(subnet), rows);
    QCOMPARE(table.RowCount(), rows + 1);
    QCOMPARE(table.Cells(0, 0), u"Subnet"_s);
    QCOMPARE(table.Cells(0, 1), u"0"_s);
    QCOMPARE(table.Cells(1, 1), firstRange);
    QCOMPARE(table.Cells(0, rows), QString::number(rows - 1));
    QCOMPARE(table.Cells(1, rows), lastRange);
    // Consecutive subnets: each row starts one subnet after the last.
    const quint32 step = quint32(1) << subnet.HostBits();
    const auto firstHost = [&](int row) {
        const QStringList parts = table.Cells(1, row).section(u"  -  "_s, 0, 0).split(u'.');
        return parts[0].toUInt() << 24 | parts[1].toUInt() << 16 | parts[2].toUInt() << 8 | parts[3].toUInt();
    };
    for (int row = 2; row <= rows; row += qMax(1, rows / 50))
        QCOMPARE(firstHost(row) - firstHost(row - 1), step);
}

void tst_SubnetHostTable::everyClassCountAndNetwork_data()
{
    QTest::addColumn<quint32>("address");
    QTest::addColumn<int>("subnetBits");
    QTest::addColumn<bool>("rfc1878");

    // The lowest and highest usable network of each class, addressed at its
    // top so that a walk past the last subnet would leave the network.
    const quint8 firstOctets[] = {1, 126, 128, 191, 192, 223};
    for (quint8 first : firstOctets) {
        const int networkBits = first < 128 ? 8 : first < 192 ? 16 : 24;
        for (bool rfc1878 : {false, true}) {
            for (int bits = rfc1878 ? 1 : 2; bits <= 30 - networkBits; ++bits) {
                const QByteArray name = QByteArray::number(first) + ".x, " + QByteArray::number(bits) + " bits"
                                        + (rfc1878 ? ", RFC 1878" : "");
                QTest::newRow(name.constData()) << (quint32(first) << 24 | 0x00FFFFFFu) << bits << rfc1878;
            }
        }
    }
}

void tst_SubnetHostTable::everyClassCountAndNetwork()
{
    QFETCH(quint32, address);
    QFETCH(int, subnetBits);
    QFETCH(bool, rfc1878);

    TIPAddSubnet subnet;
    subnet.SetRFC1878(rfc1878);
    subnet.SetValue(address);
    subnet.SetSubnetBits(quint8(subnetBits));
    QCOMPARE(int(subnet.SubnetBits()), subnetBits);
    QCOMPARE(subnet.GetByte(0), quint8(address >> 24));

    TStringTableModel table;
    table.SetColCount(2);
    table.SetFixedCols(0);
    FillSubnetHostTable(table, subnet);

    const quint32 subnets = subnet.MaxSubnets();
    const int rows = int(qMin<quint32>(subnets, MaxSubnetHostRows));
    QCOMPARE(table.RowCount(), rows + 1);
    const quint32 step = quint32(1) << subnet.HostBits();
    const quint32 first = subnet.AllocationFirst();
    QCOMPARE(table.Cells(1, 1), HostRangeText(first, first + step - 3));
    // Row r lists subnet r of the usable ones: never past the last usable
    // subnet, never outside the network.
    const quint32 lastFirst = first + quint32(rows - 1) * step;
    QCOMPARE(table.Cells(0, rows), QString::number(rows - 1));
    QCOMPARE(table.Cells(1, rows), HostRangeText(lastFirst, lastFirst + step - 3));
    QVERIFY(lastFirst + step - 3 <= subnet.AllocationLast());
    if (quint32(rows) == subnets)
        QCOMPARE(lastFirst + step - 3, subnet.AllocationLast());
}

void tst_SubnetHostTable::refillShrinksAndKeepsTheHeader()
{
    TIPAddSubnet subnet;
    TStringTableModel table;
    table.SetColCount(2);
    table.SetCells(1, 0, u"Host Range"_s);
    FillSubnetHostTable(table, subnet);
    QCOMPARE(table.RowCount(), 255);
    subnet.SetSubnetBits(2);
    FillSubnetHostTable(table, subnet);
    QCOMPARE(table.RowCount(), 3);
    QCOMPARE(table.Cells(1, 0), u"Host Range"_s);
    QCOMPARE(table.Cells(1, 2), u"128.0.128.1  -  128.0.191.254"_s);
}

QTEST_APPLESS_MAIN(tst_SubnetHostTable)
#include "tst_subnethosttable.moc"
