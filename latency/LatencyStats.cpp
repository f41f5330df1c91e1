#include "latency/LatencyStats.h"

#include <cmath>
#include <vector>

#include "app/VorlGlobal.h"
#include "latency/LatencyStatsFormat.h"
#include "latency/NetworkKinds.h"

namespace {

struct TElementResult
{
    float AToB = 0;
    float BToA = 0;
    float RoundTrip = 0;
};

// Whether a network carries the two packets of a round trip one by one.
bool CarriesPacketsSeparately(TNetworkButtonKind kind)
{
    return kind == TNetworkButtonKind::nbEthernet || kind == TNetworkButtonKind::nbSatellite;
}

// The share, or none when the division cannot be done (a zero total);
// the fraction is stored as the single-precision quotient.
bool Share(float delay, float total, float &fraction)
{
    if (total == 0.0f || !std::isfinite(total))
        return false;
    fraction = delay / total;
    return true;
}

}  // namespace

float TLatencyTotals::Total(TPacketDirection direction) const
{
    switch (direction) {
    case TPacketDirection::pdAToB: return TotalAToB;
    case TPacketDirection::pdBToA: return TotalBToA;
    case TPacketDirection::pdRoundTrip: return TotalRoundTrip;
    }
    return 0;
}

TLatencyTotals ComputeLatencyResults(const QList<TNetworkElement *> &chain)
{
    if (chain.size() < 3)
        RaiseError(QStringLiteral("Range check error"));
    TNetworkElement &nodeA = *chain.first();
    TNetworkElement &nodeB = *chain.last();
    const qint32 sizeA = nodeA.PacketSize;
    const qint32 sizeB = nodeB.PacketSize;

    TLatencyTotals totals;
    const qint32 combined = CheckedAdd(sizeA, sizeB);

    // Results are collected first and stored only when every element has
    // answered, so a failure leaves the previous results in place.
    std::vector<TElementResult> results(static_cast<std::size_t>(chain.size()));
    for (qsizetype i = 1; i < chain.size() - 1; ++i) {
        const TNetworkElement &network = *chain.at(i);
        TElementResult &r = results[static_cast<std::size_t>(i)];
        r.AToB = network.GetDelay(sizeA);
        totals.TotalAToB += r.AToB;
        r.BToA = network.GetDelay(sizeB);
        totals.TotalBToA += r.BToA;
        if (CarriesPacketsSeparately(network.NetworkButtonKind()))
            r.RoundTrip = network.GetDelay(sizeA) + network.GetDelay(sizeB);
        else
            r.RoundTrip = network.GetDelay(combined);
        totals.TotalRoundTrip += r.RoundTrip;
    }

    TElementResult &a = results.front();
    a.AToB = nodeA.GetDelay(sizeA);
    totals.TotalAToB += a.AToB;
    a.RoundTrip = nodeA.GetDelay(combined);
    totals.TotalRoundTrip += a.RoundTrip;
    a.BToA = 0;

    TElementResult &b = results.back();
    b.AToB = 0;
    b.RoundTrip = nodeB.GetDelay(combined);
    totals.TotalRoundTrip += b.RoundTrip;
    b.BToA = nodeB.GetDelay(sizeB);
    totals.TotalBToA += b.BToA;

    for (qsizetype i = 0; i < chain.size(); ++i) {
        TNetworkElement &element = *chain.at(i);
        const TElementResult &r = results[static_cast<std::size_t>(i)];
        element.DelayAToB = r.AToB;
        element.DelayBToA = r.BToA;
        element.DelayRoundTrip = r.RoundTrip;
        float aToB = 0;
        float roundTrip = 0;
        float bToA = 0;
        if (Share(r.AToB, totals.TotalAToB, aToB) && Share(r.RoundTrip, totals.TotalRoundTrip, roundTrip)
            && Share(r.BToA, totals.TotalBToA, bToA)) {
            element.FractionAToB = aToB;
            element.FractionRoundTrip = roundTrip;
            element.FractionBToA = bToA;
        } else {
            element.FractionAToB = 0;
            element.FractionRoundTrip = 0;
            element.FractionBToA = 0;
        }
    }
    return totals;
}

float ElementDelay(const TNetworkElement &element, TPacketDirection direction)
{
    switch (direction) {
    case TPacketDirection::pdAToB: return element.DelayAToB;
    case TPacketDirection::pdBToA: return element.DelayBToA;
    case TPacketDirection::pdRoundTrip: return element.DelayRoundTrip;
    }
    return 0;
}

float ElementFraction(const TNetworkElement &element, TPacketDirection direction)
{
    switch (direction) {
    case TPacketDirection::pdAToB: return element.FractionAToB;
    case TPacketDirection::pdBToA: return element.FractionBToA;
    case TPacketDirection::pdRoundTrip: return element.FractionRoundTrip;
    }
    return 0;
}

QList<QStringList> LatencyStatsRows(const QList<const TNetworkElement *> &chain, const TLatencyTotals &totals,
                                    TPacketDirection direction)
{
    QList<QStringList> rows;
    rows.reserve(chain.size() + 1);
    for (const TNetworkElement *element : chain)
        rows.append({element->DisplayName(), FormatLatencySeconds(ElementDelay(*element, direction)),
                     FormatLatencyShare(ElementFraction(*element, direction))});
    rows.append({QStringLiteral("Totals:"), FormatLatencySeconds(totals.Total(direction)),
                 QStringLiteral("100.0%")});
    return rows;
}

QStringList LatencyStatsHeader()
{
    return {QStringLiteral("Network Element"), QStringLiteral("Delay (sec)"), QStringLiteral("Percent")};
}
