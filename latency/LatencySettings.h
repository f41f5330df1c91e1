#pragma once

// The latency calculator's "LatencyCalc" settings subkey: the two nodes'
// packet sizes and processing times, and every network of the chain with
// its kind, name, bandwidth, propagation delay and position on the setup
// panel. Widget-free: reading yields a description of the chain, which
// ApplyChainSettings builds into the chain model; ChainSettings describes
// the chain for writing.
//
// Reading never trusts the store. Whatever it holds, the description is a
// valid chain (1 ... 14 networks, no node kinds among them, non-negative
// sizes and times, a finite non-negative bandwidth), and each value that
// could not be used is named in Problems with the store's message.

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "app/SettingsStore.h"
#include "latency/LatencySettingsRecords.h"
#include "latency/NetworkKinds.h"

inline const QString LatencySettingsKey = MainSettingsKey + QStringLiteral("\\LatencyCalc");

class TNetworkChain;

struct TStoredNetwork
{
    // None when the record was missing or unusable: the network then keeps
    // the state of a new, unconfigured network (and its placement).
    std::optional<TNetworkRecord> Record;
    TNetworkButtonKind Kind = TNetworkButtonKind::nbUnknownNetwork;
    QString Name;
};

struct TLatencySettings
{
    static constexpr int MaxNetworks = 14;

    TNodeRecord NodeA{64, 0};
    TNodeRecord NodeB{1024, 0};
    // In chain order; at least one.
    std::vector<TStoredNetwork> Networks{TStoredNetwork{}};
    // "Invalid data type for 'Network2'" and the like, in reading order.
    QStringList Problems;
};

// Reads the subkey; none when it does not exist.
std::optional<TLatencySettings> ReadLatencySettings(TStoreBackend &store = TStoreBackend::User());

// Writes the subkey, creating it when needed. Values of networks beyond
// the new count, left from a longer chain, stay; reading never looks at
// them. Raises the store's "Failed to set data for '%s'" when the store
// cannot be written.
void WriteLatencySettings(const TLatencySettings &settings, TStoreBackend &store = TStoreBackend::User());

// The chain's inputs as the subkey keeps them; each network's position is
// the origin of its cell.
TLatencySettings ChainSettings(const TNetworkChain &chain);

// Gives the nodes their stored values (their display names rebuilt) and
// appends the stored networks before Node B in stored order, each as an
// insert with Node B selected places it: on the first free cell, selected;
// then it takes its stored kind, bandwidth, name, propagation delay and
// cell (a position between cells goes to the cell it falls in). A network
// whose record was unusable stays a new, unconfigured one on the cell it
// was given. The last network loaded ends up selected.
void ApplyChainSettings(TNetworkChain &chain, const TLatencySettings &settings);

// "Network3" and "Network3Name".
QString NetworkValueName(int index);
QString NetworkNameValueName(int index);
