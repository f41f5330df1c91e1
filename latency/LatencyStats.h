#pragma once

// The latency computation: every chain element's delay and share for the
// three packet directions, and the rows of the statistics table built from
// them. Widget-free, over the elements' TNetworkElement part.
//
// Delays and totals are seconds, shares fractions of the direction's total,
// all single precision and summed in a fixed order (networks in chain order,
// then Node A, then Node B): the seventh significant digit depends on it.

#include <QList>
#include <QStringList>

class TNetworkElement;

// The items of the packet direction radio group, in their order.
enum class TPacketDirection { pdAToB = 0, pdBToA = 1, pdRoundTrip = 2 };

struct TLatencyTotals
{
    float TotalAToB = 0;
    float TotalBToA = 0;
    float TotalRoundTrip = 0;

    float Total(TPacketDirection direction) const;
};

// Recomputes the delays and fractions of every element of `chain` (Node A
// first, Node B last, at least one network between) and returns the totals.
// Node A sends PacketSize(A) bytes, Node B PacketSize(B); on the round trip
// an Ethernet or satellite network carries both packets separately (its
// propagation delay and framing count twice), any other network carries
// them as one packet of the combined size. A zero total in any direction
// zeroes all three shares of every element.
//
// Throws TVorlError "Integer overflow" when the two packet sizes add up
// beyond 2147483647 and "Floating point division by zero" for an Ethernet
// network of bandwidth 0; the elements then keep their previous results.
TLatencyTotals ComputeLatencyResults(const QList<TNetworkElement *> &chain);

float ElementDelay(const TNetworkElement &element, TPacketDirection direction);
float ElementFraction(const TNetworkElement &element, TPacketDirection direction);

// The statistics table below its header: one row per element (display
// name, delay, share) and the totals row ("Totals:", total, "100.0%"),
// formatted from the stored results without recomputing.
QList<QStringList> LatencyStatsRows(const QList<const TNetworkElement *> &chain, const TLatencyTotals &totals,
                                    TPacketDirection direction);

// The header row of the table.
QStringList LatencyStatsHeader();
