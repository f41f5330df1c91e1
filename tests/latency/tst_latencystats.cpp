#include <memory>
#include <vector>

#include <QTest>

#include "app/VorlGlobal.h"
#include "latency/LatencyStats.h"
#include "latency/LatencyStatsFormat.h"
#include "latency/NetworkKinds.h"
#include "tests/common/TestEnvironment.h"

using namespace Qt::StringLiterals;

// A chain of bare elements: Node A, the given networks, Node B.
class TChain
{
public:
    TChain(qint32 sizeA, qint32 timeA, qint32 sizeB, qint32 timeB)
    {
        FNodeA.SetNetworkButtonKind(TNetworkButtonKind::nbDesktopCPU);
        FNodeA.NetworkName = QStringLiteral("Node A");
        FNodeA.PacketSize = sizeA;
        FNodeA.ProcessTime = timeA;
        FNodeA.RebuildDisplayName();
        FNodeB.SetNetworkButtonKind(TNetworkButtonKind::nbTowerCPU);
        FNodeB.NetworkName = QStringLiteral("Node B");
        FNodeB.PacketSize = sizeB;
        FNodeB.ProcessTime = timeB;
        FNodeB.RebuildDisplayName();
    }

    TNetworkElement &Add(TNetworkButtonKind kind, const QString &name, double bandwidth, qint32 propDelay)
    {
        auto network = std::make_unique<TNetworkElement>();
        network->SetNetworkButtonKind(kind);
        network->NetworkName = name;
        network->Bandwidth = bandwidth;
        network->PropDelay = propDelay;
        // A network never configured keeps "<Unknown Topology>".
        if (kind != TNetworkButtonKind::nbUnknownNetwork)
            network->RebuildDisplayName();
        FNetworks.push_back(std::move(network));
        return *FNetworks.back();
    }

    QList<TNetworkElement *> List()
    {
        QList<TNetworkElement *> list{&FNodeA};
        for (const auto &network : FNetworks)
            list.append(network.get());
        list.append(&FNodeB);
        return list;
    }

    // As the statistics page reads it.
    QList<const TNetworkElement *> Shown()
    {
        const QList<TNetworkElement *> list = List();
        return {list.cbegin(), list.cend()};
    }

    TNetworkElement FNodeA;
    TNetworkElement FNodeB;
    std::vector<std::unique_ptr<TNetworkElement>> FNetworks;
};

class tst_LatencyStats : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { FEnvironment = std::make_unique<TTestEnvironment>(); }
    void t1Example_data();
    void t1Example();
    void satelliteCountsItsDelayTwice();
    void ethernetFromNodeB();
    void firstStartIsAllZero();
    void oneZeroTotalZeroesEverySharesOfAnElement();
    void fourteenNetworksGiveSixteenRows();
    void sumsInChainOrderSinglePrecision();
    void packetSizeOverflowKeepsResults();
    void ethernetWithoutBandwidthKeepsResults();

private:
    static QStringList Column(const QList<QStringList> &rows, int col);
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

QStringList tst_LatencyStats::Column(const QList<QStringList> &rows, int col)
{
    QStringList cells;
    for (const QStringList &row : rows)
        cells.append(row.at(col));
    return cells;
}

void tst_LatencyStats::t1Example_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QStringList>("delays");
    QTest::addColumn<QStringList>("shares");
    QTest::newRow("A to B") << int(TPacketDirection::pdAToB)
                            << QStringList{u"0.0100000"_s, u"0.0053316"_s, u"0.0000000"_s, u"0.0153316"_s}
                            << QStringList{u"65.2%"_s, u"34.8%"_s, u"0.0%"_s, u"100.0%"_s};
    QTest::newRow("B to A") << int(TPacketDirection::pdBToA)
                            << QStringList{u"0.0000000"_s, u"0.0103057"_s, u"0.0200000"_s, u"0.0303057"_s}
                            << QStringList{u"0.0%"_s, u"34.0%"_s, u"66.0%"_s, u"100.0%"_s};
    QTest::newRow("round trip, one propagation delay for 1088 bytes")
        << int(TPacketDirection::pdRoundTrip) << QStringList{u"0.0100000"_s, u"0.0106373"_s, u"0.0200000"_s, u"0.0406373"_s}
        << QStringList{u"24.6%"_s, u"26.2%"_s, u"49.2%"_s, u"100.0%"_s};
}

void tst_LatencyStats::t1Example()
{
    QFETCH(int, direction);
    QFETCH(QStringList, delays);
    QFETCH(QStringList, shares);
    TChain chain(64, 10, 1024, 20);
    chain.Add(TNetworkButtonKind::nbTCarrier, QStringLiteral("T1"), 1.544, 5);
    const TLatencyTotals totals = ComputeLatencyResults(chain.List());
    const QList<QStringList> rows = LatencyStatsRows(chain.Shown(), totals, TPacketDirection(direction));
    QCOMPARE(Column(rows, 0),
             (QStringList{u"Node A (64 bytes)"_s, u"T1 (1.544 Mbps)"_s, u"Node B (1024 bytes)"_s, u"Totals:"_s}));
    QCOMPARE(Column(rows, 1), delays);
    QCOMPARE(Column(rows, 2), shares);
}

void tst_LatencyStats::satelliteCountsItsDelayTwice()
{
    TChain chain(64, 10, 1024, 20);
    TNetworkElement &satellite = chain.Add(TNetworkButtonKind::nbSatellite, QStringLiteral("Satellite"), 0.512, 270);
    ComputeLatencyResults(chain.List());
    QCOMPARE(FormatLatencySeconds(satellite.DelayAToB), QStringLiteral("0.2710000"));
    QCOMPARE(FormatLatencySeconds(satellite.DelayRoundTrip), QStringLiteral("0.5570000"));
}

void tst_LatencyStats::ethernetFromNodeB()
{
    TChain chain(64, 0, 1024, 0);
    TNetworkElement &ethernet = chain.Add(TNetworkButtonKind::nbEthernet, QStringLiteral("Ethernet"), 10, 0);
    ComputeLatencyResults(chain.List());
    QCOMPARE(FormatLatencySeconds(ethernet.DelayBToA), QStringLiteral("0.0008352"));
    // Both packets carry their own framing on the round trip.
    QCOMPARE(ethernet.DelayRoundTrip, ethernet.GetDelay(64) + ethernet.GetDelay(1024));
}

void tst_LatencyStats::firstStartIsAllZero()
{
    TChain chain(64, 0, 1024, 0);
    chain.Add(TNetworkButtonKind::nbUnknownNetwork, UnknownTopologyName, 0, 0);
    const TLatencyTotals totals = ComputeLatencyResults(chain.List());
    for (const TPacketDirection direction :
         {TPacketDirection::pdAToB, TPacketDirection::pdBToA, TPacketDirection::pdRoundTrip}) {
        const QList<QStringList> rows = LatencyStatsRows(chain.Shown(), totals, direction);
        QCOMPARE(Column(rows, 0),
                 (QStringList{u"Node A (64 bytes)"_s, u"<Unknown Topology>"_s, u"Node B (1024 bytes)"_s, u"Totals:"_s}));
        QCOMPARE(Column(rows, 1), QStringList(4, QStringLiteral("0.0000000")));
        QCOMPARE(Column(rows, 2), (QStringList{u"0.0%"_s, u"0.0%"_s, u"0.0%"_s, u"100.0%"_s}));
    }
}

void tst_LatencyStats::oneZeroTotalZeroesEverySharesOfAnElement()
{
    // Only Node A has a delay: the B-to-A total is 0, so even the A-to-B
    // and round-trip shares are 0.
    TChain chain(64, 10, 1024, 0);
    chain.Add(TNetworkButtonKind::nbUnknownNetwork, UnknownTopologyName, 0, 0);
    const TLatencyTotals totals = ComputeLatencyResults(chain.List());
    QCOMPARE(totals.TotalAToB, 0.01f);
    QCOMPARE(totals.TotalBToA, 0.0f);
    const TNetworkElement &nodeA = *chain.List().first();
    QCOMPARE(nodeA.FractionAToB, 0.0f);
    QCOMPARE(nodeA.FractionRoundTrip, 0.0f);
    QCOMPARE(LatencyStatsRows(chain.Shown(), totals, TPacketDirection::pdAToB).first().at(2), QStringLiteral("0.0%"));
}

void tst_LatencyStats::fourteenNetworksGiveSixteenRows()
{
    TChain chain(64, 1, 1024, 2);
    for (int i = 0; i < 14; ++i)
        chain.Add(TNetworkButtonKind::nbX25, QStringLiteral("X.25"), 0.064, 10 + i);
    const TLatencyTotals totals = ComputeLatencyResults(chain.List());
    const QList<QStringList> rows = LatencyStatsRows(chain.Shown(), totals, TPacketDirection::pdRoundTrip);
    QCOMPARE(rows.size(), 17);  // with the header: 18 grid rows
    QCOMPARE(rows.last().first(), QStringLiteral("Totals:"));
    float sum = 0;
    for (const TNetworkElement *element : chain.List())
        sum += element->FractionRoundTrip;
    QVERIFY(qAbs(sum - 1.0f) < 1e-5f);
}

void tst_LatencyStats::sumsInChainOrderSinglePrecision()
{
    // 1 ms + 3 ms of networks, then Node A's 1 ms: in single precision the
    // order of the additions shows in the last bit.
    TChain chain(64, 1, 1024, 0);
    chain.Add(TNetworkButtonKind::nbUnknownNetwork, UnknownTopologyName, 0, 1);
    chain.Add(TNetworkButtonKind::nbUnknownNetwork, UnknownTopologyName, 0, 3);
    const TLatencyTotals totals = ComputeLatencyResults(chain.List());
    const float a = 0.001f;
    const float n1 = 0.001f;
    const float n2 = 0.003f;
    const float chainOrder = (n1 + n2) + a;
    QVERIFY(chainOrder != (a + n1) + n2);
    QCOMPARE(totals.TotalAToB, chainOrder);
}

void tst_LatencyStats::packetSizeOverflowKeepsResults()
{
    TChain chain(64, 10, 1024, 20);
    TNetworkElement &t1 = chain.Add(TNetworkButtonKind::nbTCarrier, QStringLiteral("T1"), 1.544, 5);
    ComputeLatencyResults(chain.List());
    const float before = t1.DelayRoundTrip;
    chain.FNodeA.PacketSize = 2147483647;
    chain.FNodeA.ProcessTime = 99;
    try {
        ComputeLatencyResults(chain.List());
        QFAIL("no error raised");
    } catch (const TVorlError &error) {
        QCOMPARE(error.Message(), QStringLiteral("Integer overflow"));
    }
    QCOMPARE(t1.DelayRoundTrip, before);
    QCOMPARE(chain.FNodeA.DelayAToB, 0.01f);
}

void tst_LatencyStats::ethernetWithoutBandwidthKeepsResults()
{
    TChain chain(64, 10, 1024, 20);
    TNetworkElement &t1 = chain.Add(TNetworkButtonKind::nbTCarrier, QStringLiteral("T1"), 1.544, 5);
    TNetworkElement &ethernet = chain.Add(TNetworkButtonKind::nbEthernet, QStringLiteral("Ethernet"), 10, 0);
    ComputeLatencyResults(chain.List());
    const float share = t1.FractionAToB;
    ethernet.Bandwidth = 0;
    t1.PropDelay = 500;
    QVERIFY_THROWS_EXCEPTION(TVorlError, ComputeLatencyResults(chain.List()));
    QCOMPARE(t1.FractionAToB, share);
    QCOMPARE(FormatLatencySeconds(t1.DelayAToB), QStringLiteral("0.0053316"));
}

QTEST_APPLESS_MAIN(tst_LatencyStats)
#include "tst_latencystats.moc"
