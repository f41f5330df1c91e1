#include "latency/LatencySettings.h"

#include <cmath>

#include "app/VorlGlobal.h"
#include "latency/NetworkChain.h"

namespace {

QString InvalidDataType(const QString &name)
{
    return QStringLiteral("Invalid data type for '%1'").arg(name);
}

// A binary value of exactly `size` bytes; none (and a problem noted) when it
// is missing, of another type or of another size.
std::optional<QByteArray> ReadRecord(const TRegKey &key, const QString &name, int size, QStringList &problems,
                                     bool reportMissing)
{
    if (!key.ValueExists(name)) {
        if (reportMissing)
            problems.append(QStringLiteral("Failed to get data for '%1'").arg(name));
        return std::nullopt;
    }
    try {
        const QByteArray bytes = key.ReadBinaryData(name, size);
        if (bytes.size() == size)
            return bytes;
        problems.append(InvalidDataType(name));
    } catch (const TVorlError &error) {
        problems.append(error.Message());
    }
    return std::nullopt;
}

// The values the properties dialog can produce: its spin edits stop at 0.
TNodeRecord Sanitized(TNodeRecord node)
{
    node.PacketSize = qMax(node.PacketSize, 0);
    node.ProcessTime = qMax(node.ProcessTime, 0);
    return node;
}

void ReadNode(const TRegKey &key, const QString &name, TNodeRecord &node, QStringList &problems)
{
    if (const std::optional<QByteArray> bytes = ReadRecord(key, name, TNodeRecord::Size, problems, false))
        node = Sanitized(*TNodeRecord::Decode(*bytes));
}

TStoredNetwork ReadNetwork(const TRegKey &key, int index, QStringList &problems)
{
    TStoredNetwork network;
    const std::optional<QByteArray> bytes =
        ReadRecord(key, NetworkValueName(index), TNetworkRecord::Size, problems, true);
    if (!bytes)
        return network;
    TNetworkRecord record = *TNetworkRecord::Decode(*bytes);
    // Only network kinds belong between the nodes.
    const std::optional<TNetworkButtonKind> kind = NetworkButtonKindFromOrdinal(record.KindOrdinal);
    network.Kind = kind && !IsNodeKind(*kind) ? *kind : TNetworkButtonKind::nbUnknownNetwork;
    if (!std::isfinite(record.Bandwidth) || record.Bandwidth < 0)
        record.Bandwidth = 0;
    record.PropDelay = qMax(record.PropDelay, 0);
    network.Record = record;
    try {
        network.Name = key.ReadString(NetworkNameValueName(index));
    } catch (const TVorlError &error) {
        problems.append(error.Message());
    }
    return network;
}

TNodeRecord NodeRecord(const TNetworkElement &node)
{
    return {node.PacketSize, node.ProcessTime};
}

void SetNode(TNetworkElement &node, const TNodeRecord &record)
{
    node.PacketSize = record.PacketSize;
    node.ProcessTime = record.ProcessTime;
    node.RebuildDisplayName();
}

}  // namespace

QString NetworkValueName(int index)
{
    return QStringLiteral("Network%1").arg(index);
}

QString NetworkNameValueName(int index)
{
    return NetworkValueName(index) + QStringLiteral("Name");
}

std::optional<TLatencySettings> ReadLatencySettings(TStoreBackend &store)
{
    TRegKey key(store);
    if (!key.OpenKey(LatencySettingsKey, false))
        return std::nullopt;

    TLatencySettings settings;
    ReadNode(key, QStringLiteral("NodeA"), settings.NodeA, settings.Problems);
    ReadNode(key, QStringLiteral("NodeB"), settings.NodeB, settings.Problems);

    int count = 0;
    const QString countName = QStringLiteral("NumNetworks");
    if (key.ValueExists(countName)) {
        try {
            count = key.ReadInteger(countName);
        } catch (const TVorlError &error) {
            settings.Problems.append(error.Message());
        }
    }
    // Fewer than one network is the first-start chain; beyond 14 the
    // chain is full.
    count = qMin(count, TLatencySettings::MaxNetworks);
    if (count >= 1) {
        settings.Networks.clear();
        for (int i = 1; i <= count; ++i)
            settings.Networks.push_back(ReadNetwork(key, i, settings.Problems));
    }
    key.CloseKey();
    return settings;
}

void WriteLatencySettings(const TLatencySettings &settings, TStoreBackend &store)
{
    TRegKey key(store);
    key.OpenKey(LatencySettingsKey, true);
    key.WriteBinaryData(QStringLiteral("NodeA"), settings.NodeA.Encode());
    key.WriteBinaryData(QStringLiteral("NodeB"), settings.NodeB.Encode());
    key.WriteInteger(QStringLiteral("NumNetworks"), qint32(settings.Networks.size()));
    for (std::size_t i = 0; i < settings.Networks.size(); ++i) {
        const TStoredNetwork &network = settings.Networks[i];
        TNetworkRecord record = network.Record.value_or(TNetworkRecord{});
        record.KindOrdinal = static_cast<quint8>(network.Kind);
        key.WriteBinaryData(NetworkValueName(int(i) + 1), record.Encode());
        key.WriteString(NetworkNameValueName(int(i) + 1), network.Name);
    }
    key.CloseKey();
}

TLatencySettings ChainSettings(const TNetworkChain &chain)
{
    TLatencySettings settings;
    settings.NodeA = NodeRecord(*chain.NodeA());
    settings.NodeB = NodeRecord(*chain.NodeB());
    settings.Networks.clear();
    for (int i = 1; i + 1 < chain.Count(); ++i) {
        const TNetworkElement *network = chain.Element(i);
        const QPoint origin = CellOrigin(chain.Cell(network));
        TNetworkRecord record;
        record.Bandwidth = network->Bandwidth;
        record.Left = origin.x();
        record.PropDelay = network->PropDelay;
        record.Top = origin.y();
        settings.Networks.push_back({record, network->NetworkButtonKind(), network->NetworkName});
    }
    return settings;
}

void ApplyChainSettings(TNetworkChain &chain, const TLatencySettings &settings)
{
    SetNode(*chain.NodeA(), settings.NodeA);
    SetNode(*chain.NodeB(), settings.NodeB);
    for (const TStoredNetwork &stored : settings.Networks) {
        chain.Select(chain.NodeB());
        TNetworkElement *network = chain.Insert();
        if (!stored.Record || !network)
            continue;
        const TNetworkRecord &record = *stored.Record;
        network->Bandwidth = record.Bandwidth;
        // Only network kinds belong between the nodes.
        if (!IsNodeKind(stored.Kind))
            network->SetNetworkButtonKind(stored.Kind);
        // Stored positions are cell origins; anything else (a damaged
        // store) goes to the cell it falls in, so the element stays on the panel.
        chain.MoveToCell(network, CellAt(QPoint(record.Left, record.Top)));
        network->NetworkName = stored.Name;
        network->RebuildDisplayName();
        network->PropDelay = record.PropDelay;
    }
}
