#pragma once

// The latency calculator's chain elements without their widgets: the kinds,
// the topology table of the properties dialog, the bandwidth choices, the
// display-name rules and the per-element delay formula.
//
// Units: processing time and propagation delay in milliseconds, packet size
// in bytes, bandwidth in megabits per second, delays in seconds. Delays and
// shares are single precision on purpose: the statistics print 7 significant
// digits of exactly these floats.

#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

// Stored as its ordinal in the settings store: never reorder.
enum class TNetworkButtonKind : quint8 {
    nb56Switched = 0,
    nbATM = 1,
    nbBISDN = 2,
    nbDQDB = 3,
    nbEthernet = 4,
    nbFDDI = 5,
    nbFrameRelay = 6,
    nbHIPPI = 7,
    nbISDN = 8,
    nbOther = 9,
    nbSatellite = 10,
    nbSMDS = 11,
    nbTCarrier = 12,
    nbTokenRing = 13,
    nbUnknownNetwork = 14,
    nbX25 = 15,
    nbDesktopCPU = 16,
    nbTowerCPU = 17,
};

constexpr int NetworkButtonKindCount = 18;

// Node A and Node B; every other kind is a network.
constexpr bool IsNodeKind(TNetworkButtonKind kind)
{
    return kind == TNetworkButtonKind::nbDesktopCPU || kind == TNetworkButtonKind::nbTowerCPU;
}

// The kind of a stored ordinal, none for an ordinal outside 0 ... 17.
std::optional<TNetworkButtonKind> NetworkButtonKindFromOrdinal(int ordinal);

// The picture's resource name ("ETHERNET", "OTHER", ...); several kinds share one.
QString NetworkButtonPictureName(TNetworkButtonKind kind);
// Its compiled-in file, ":/artwork/<lower-case name>.svg".
QString NetworkButtonPicturePath(TNetworkButtonKind kind);

// Name of a network that was never configured.
inline const QString UnknownTopologyName = QStringLiteral("<Unknown Topology>");

// One row of the properties dialog's topology list.
struct TTopology
{
    QString Text;
    TNetworkButtonKind Kind;
    QString DefaultBandwidth; // one of the kind's bandwidth choices
};

// The 14 topologies in list order; a name outside it means nbOther.
const QList<TTopology> &TopologyTable();
// Position of `text` in TopologyTable(), -1 when it is not a listed topology.
int TopologyTableIndex(const QString &text);

// The WAN rates ("0.064" ... "274.176") and every rate the dialog knows.
const QStringList &WanBandwidthList();
const QStringList &FullBandwidthList();
// The bandwidth choices the dialog offers for a kind (empty for nbISDN,
// nbUnknownNetwork and the nodes).
QStringList BandwidthChoices(TNetworkButtonKind kind);

// Whether the propagation delay can be edited for a kind (never for the
// LAN kinds, whose delay is forced to 0, nor for nodes).
bool PropDelayEnabled(TNetworkButtonKind kind);
// The propagation delay (ms) the dialog sets when it switches to a kind;
// none where it keeps the value shown (nbBISDN, nbISDN, nbUnknownNetwork).
std::optional<qint32> DefaultPropDelay(TNetworkButtonKind kind);

// A bandwidth as the lists and display names show it: general format with
// at most 6 significant digits, "." as decimal point, no trailing zeros.
QString FormatBandwidth(double mbps);
// The reverse, for typed bandwidths. Throws TVorlError "'%s' is not a valid
// floating point value" for anything but a finite, unsigned decimal number.
double ReadBandwidthText(const QString &text);

// An element's parameters and computed results. The chain (TNetworkChain)
// owns its elements; a TNetworkButton on the setup page shows one.
class TNetworkElement
{
public:
    TNetworkElement() = default;
    virtual ~TNetworkElement() = default;
    Q_DISABLE_COPY_MOVE(TNetworkElement)

    TNetworkButtonKind NetworkButtonKind() const { return FNetworkButtonKind; }
    // Changes only the kind (its view then shows the kind's picture); name,
    // bandwidth and display name are set by whoever changes the kind.
    virtual void SetNetworkButtonKind(TNetworkButtonKind kind);
    bool IsNode() const { return IsNodeKind(FNetworkButtonKind); }

    // Seconds for one packet of `packetSize` bytes: a node's processing
    // time; a network's serialisation time plus its propagation delay, plus
    // 160 bit times of framing for Ethernet. Single-precision steps.
    // Throws TVorlError "Floating point division by zero" for an Ethernet
    // network of bandwidth 0.
    float GetDelay(qint32 packetSize) const;

    // The text of tooltip, statistics row, legend and remove submenu.
    const QString &DisplayName() const { return FDisplayName; }
    // Rebuilds it from the current values: "Node A (64 bytes)" for a node,
    // "T1 (1.544 Mbps)" for a network.
    void RebuildDisplayName();

    QString NetworkName{UnknownTopologyName};
    double Bandwidth = 0;    // Mbps; networks only
    float DelayAToB = 0;     // s
    float DelayRoundTrip = 0;
    float DelayBToA = 0;
    qint32 PacketSize = 512; // bytes; nodes only
    float FractionAToB = 0;  // share of the direction's total, 0 ... 1
    float FractionRoundTrip = 0;
    float FractionBToA = 0;
    qint32 ProcessTime = 0;  // ms; nodes only
    qint32 PropDelay = 0;    // ms; networks only
    qint16 TopologyIndex = -1; // position of NetworkName in the dialog's topology list

protected:
    virtual void DisplayNameChanged() {}

private:
    TNetworkButtonKind FNetworkButtonKind = TNetworkButtonKind::nbUnknownNetwork;
    QString FDisplayName{UnknownTopologyName};
};

// The display name rules on their own.
QString NodeDisplayName(const QString &name, qint32 packetSize);
QString NetworkDisplayName(const QString &name, double bandwidth);
