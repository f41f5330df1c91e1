// The "LatencyCalc" subkey as any store may hold it: whatever values, types
// and sizes are there, reading gives a valid chain (1 to 14 networks, no node
// kinds, non-negative sizes and times, finite non-negative bandwidths), and
// writing that chain and reading it again gives the same chain without a
// problem; built into the chain model it is that chain, and the model
// describes it again as it was built, on the grid's cells.
//   input: values, each a name byte, a type byte, a length byte and the data

#include "fuzz/FuzzCommon.h"

#include <cmath>
#include <cstring>

#include "app/VorlGlobal.h"
#include "latency/LatencySettings.h"
#include "latency/NetworkChain.h"

namespace {

// Nothing can be created below /proc: saves fail, the store stays in memory.
const QString NoFile = QStringLiteral("/proc/tarvelo-fuzz/settings.reg");

QString ValueName(uint8_t index)
{
    switch (index % 36) {
    case 0: return QStringLiteral("NodeA");
    case 1: return QStringLiteral("NodeB");
    case 2: return QStringLiteral("NumNetworks");
    case 3: return QStringLiteral("numnetworks");  // names ignore case
    default: {
        const int i = index % 36 - 4;  // 0 ... 31
        return i < 16 ? NetworkValueName(i) : NetworkNameValueName(i - 16);
    }
    }
}

TStoreValue MakeValue(uint8_t type, const QByteArray &bytes)
{
    switch (type % 5) {
    case 0: {
        qint32 v = 0;
        std::memcpy(&v, QByteArray(bytes).append(4, '\0').constData(), 4);
        return TStoreValue::FromInteger(v);
    }
    case 1: return TStoreValue::FromText(QString::fromUtf8(bytes));
    case 2: return TStoreValue::FromBinary(bytes);
    case 3: {
        TStoreValue v;
        v.Type = TStoreType::stUntyped;
        v.Bytes = bytes;
        return v;
    }
    default: {
        TStoreValue v;
        v.Type = TStoreType::stOther;
        v.OtherType = 11;
        v.Bytes = bytes;
        return v;
    }
    }
}

void CheckValid(const TLatencySettings &s)
{
    FUZZ_CHECK(s.Networks.size() >= 1 && s.Networks.size() <= std::size_t(TLatencySettings::MaxNetworks));
    for (const TNodeRecord &node : {s.NodeA, s.NodeB})
        FUZZ_CHECK(node.PacketSize >= 0 && node.ProcessTime >= 0);
    for (const TStoredNetwork &n : s.Networks) {
        FUZZ_CHECK(!IsNodeKind(n.Kind));
        FUZZ_CHECK(NetworkButtonKindFromOrdinal(int(n.Kind)).has_value());
        if (n.Record) {
            FUZZ_CHECK(std::isfinite(n.Record->Bandwidth) && !(n.Record->Bandwidth < 0));
            FUZZ_CHECK(n.Record->PropDelay >= 0);
        }
    }
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameNetworks(const TLatencySettings &a, const TLatencySettings &b)
{
    if (!(a.NodeA == b.NodeA && a.NodeB == b.NodeB) || a.Networks.size() != b.Networks.size())
        return false;
    for (std::size_t i = 0; i < a.Networks.size(); ++i) {
        const TStoredNetwork &x = a.Networks[i];
        const TStoredNetwork &y = b.Networks[i];
        if (x.Kind != y.Kind || x.Name != y.Name || !x.Record || !y.Record)
            return false;
        if (!SameBits(x.Record->Bandwidth, y.Record->Bandwidth) || x.Record->Left != y.Record->Left
            || x.Record->Top != y.Record->Top || x.Record->PropDelay != y.Record->PropDelay)
            return false;
    }
    return true;
}

// The stored chain as the calculator builds it at start-up.
void CheckChain(const TLatencySettings &read)
{
    TNetworkChain chain;
    ApplyChainSettings(chain, read);
    FUZZ_CHECK(std::size_t(chain.NetworkCount()) == read.Networks.size());
    FUZZ_CHECK(chain.Selected() == chain.Element(chain.Count() - 2));
    FUZZ_CHECK(chain.NodeA()->PacketSize == read.NodeA.PacketSize);
    FUZZ_CHECK(chain.NodeB()->ProcessTime == read.NodeB.ProcessTime);
    for (int i = 1; i <= chain.NetworkCount(); ++i) {
        const TNetworkElement *network = chain.Element(i);
        const TStoredNetwork &stored = read.Networks[std::size_t(i - 1)];
        FUZZ_CHECK(!network->IsNode() && network->NetworkButtonKind() == stored.Kind);
        FUZZ_CHECK(network->NetworkName == (stored.Record ? stored.Name : UnknownTopologyName));
    }
    const TLatencySettings described = ChainSettings(chain);
    for (const TStoredNetwork &network : described.Networks) {
        const QPoint origin(network.Record->Left, network.Record->Top);
        FUZZ_CHECK(CellOrigin(CellAt(origin)) == origin);
    }
    TNetworkChain again;
    ApplyChainSettings(again, described);
    FUZZ_CHECK(SameNetworks(ChainSettings(again), described));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TFuzzInput input(data, size);
    TSettingsStore store(NoFile);
    if (input.Remaining() > 0)
        store.CreateKey(LatencySettingsKey);
    while (input.Remaining() > 0) {
        const QString name = ValueName(input.Byte());
        const uint8_t type = input.Byte();
        const int length = input.Byte() % 32;
        QByteArray bytes;
        for (int i = 0; i < length && input.Remaining() > 0; ++i)
            bytes += char(input.Byte());
        store.WriteValue(LatencySettingsKey, name, MakeValue(type, bytes));
    }

    const std::optional<TLatencySettings> read = ReadLatencySettings(store);
    FUZZ_CHECK(read.has_value() == (size > 0));
    if (!read)
        return 0;
    CheckValid(*read);
    CheckChain(*read);

    TSettingsStore other(NoFile);
    try {
        WriteLatencySettings(*read, other);
    } catch (const TVorlError &error) {
        // Only the save itself fails; the values are in the store.
        FUZZ_CHECK(error.Message().startsWith(QStringLiteral("Failed to set data for '")));
    }
    const std::optional<TLatencySettings> again = ReadLatencySettings(other);
    FUZZ_CHECK(again.has_value());
    CheckValid(*again);
    FUZZ_CHECK(again->Problems.isEmpty());
    FUZZ_CHECK(again->NodeA == read->NodeA && again->NodeB == read->NodeB);
    FUZZ_CHECK(again->Networks.size() == read->Networks.size());
    for (std::size_t i = 0; i < read->Networks.size(); ++i) {
        const TStoredNetwork &a = read->Networks[i];
        const TStoredNetwork &b = again->Networks[i];
        FUZZ_CHECK(a.Kind == b.Kind && a.Name == b.Name);
        FUZZ_CHECK(b.Record.has_value());
        const TNetworkRecord expected = a.Record.value_or(TNetworkRecord{});
        FUZZ_CHECK(SameBits(b.Record->Bandwidth, expected.Bandwidth));
        FUZZ_CHECK(b.Record->Left == expected.Left && b.Record->Top == expected.Top);
        FUZZ_CHECK(b.Record->PropDelay == expected.PropDelay);
        FUZZ_CHECK(b.Record->KindOrdinal == quint8(a.Kind));
    }
    return 0;
}
