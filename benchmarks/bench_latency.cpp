// One full latency recomputation of the largest chain: Node A, 14 networks
// of mixed kinds, Node B, then the statistics rows of every direction, as
// entering the statistics page after a change does.

#include <memory>
#include <vector>

#include <QTest>

#include "latency/LatencyStats.h"
#include "latency/NetworkKinds.h"

class bench_Latency : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void computeFourteenNetworks();
    void computeAndFormatFourteenNetworks();

private:
    std::vector<std::unique_ptr<TNetworkElement>> FElements;
    QList<TNetworkElement *> FChain;
    QList<const TNetworkElement *> FShownChain; // as the statistics page reads it
};

void bench_Latency::initTestCase()
{
    auto add = [this](TNetworkButtonKind kind, const QString &name, double bandwidth, qint32 propDelay) {
        auto element = std::make_unique<TNetworkElement>();
        element->SetNetworkButtonKind(kind);
        element->NetworkName = name;
        element->Bandwidth = bandwidth;
        element->PropDelay = propDelay;
        element->PacketSize = kind == TNetworkButtonKind::nbDesktopCPU ? 64 : 1024;
        element->ProcessTime = IsNodeKind(kind) ? 10 : 0;
        element->RebuildDisplayName();
        FChain.append(element.get());
        FElements.push_back(std::move(element));
    };
    add(TNetworkButtonKind::nbDesktopCPU, QStringLiteral("Node A"), 0, 0);
    const QList<TTopology> &topologies = TopologyTable();
    for (int i = 0; i < 14; ++i) {
        const TTopology &topology = topologies.at(i % topologies.size());
        add(topology.Kind, topology.Text, topology.DefaultBandwidth.toDouble(), DefaultPropDelay(topology.Kind).value_or(0));
    }
    add(TNetworkButtonKind::nbTowerCPU, QStringLiteral("Node B"), 0, 0);
    FShownChain = QList<const TNetworkElement *>(FChain.cbegin(), FChain.cend());
}

void bench_Latency::computeFourteenNetworks()
{
    TLatencyTotals totals;
    QBENCHMARK {
        totals = ComputeLatencyResults(FChain);
    }
    QVERIFY(totals.TotalRoundTrip > 0);
}

void bench_Latency::computeAndFormatFourteenNetworks()
{
    qsizetype rows = 0;
    QBENCHMARK {
        const TLatencyTotals totals = ComputeLatencyResults(FChain);
        for (const TPacketDirection direction :
             {TPacketDirection::pdAToB, TPacketDirection::pdBToA, TPacketDirection::pdRoundTrip})
            rows += LatencyStatsRows(FShownChain, totals, direction).size();
    }
    QVERIFY(rows > 0);
}

QTEST_APPLESS_MAIN(bench_Latency)
#include "bench_latency.moc"
