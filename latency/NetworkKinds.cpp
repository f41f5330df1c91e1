#include "latency/NetworkKinds.h"

#include <cmath>

#include <QLocale>

#include "app/VorlGlobal.h"

using K = TNetworkButtonKind;

std::optional<TNetworkButtonKind> NetworkButtonKindFromOrdinal(int ordinal)
{
    if (ordinal < 0 || ordinal >= NetworkButtonKindCount)
        return std::nullopt;
    return static_cast<TNetworkButtonKind>(ordinal);
}

QString NetworkButtonPictureName(TNetworkButtonKind kind)
{
    switch (kind) {
    case K::nbATM:
    case K::nbBISDN:
    case K::nbISDN:
        return QStringLiteral("ATM");
    case K::nbDQDB:
    case K::nbSMDS:
        return QStringLiteral("DQDB");
    case K::nbEthernet:
        return QStringLiteral("ETHERNET");
    case K::nbFDDI:
        return QStringLiteral("FDDI");
    case K::nbHIPPI:
        return QStringLiteral("HIPPI");
    case K::nbSatellite:
        return QStringLiteral("SATELLITE");
    case K::nbTCarrier:
        return QStringLiteral("TCARRIER");
    case K::nbTokenRing:
        return QStringLiteral("TOKENRING");
    case K::nbUnknownNetwork:
        return QStringLiteral("UNKNOWNNETWORK");
    case K::nbX25:
        return QStringLiteral("X25");
    case K::nbDesktopCPU:
        return QStringLiteral("DESKTOPCPU");
    case K::nbTowerCPU:
        return QStringLiteral("TOWERCPU");
    case K::nb56Switched:
    case K::nbFrameRelay:
    case K::nbOther:
        break;
    }
    return QStringLiteral("OTHER");
}

QString NetworkButtonPicturePath(TNetworkButtonKind kind)
{
    return QStringLiteral(":/artwork/%1.svg").arg(NetworkButtonPictureName(kind).toLower());
}

const QList<TTopology> &TopologyTable()
{
    static const QList<TTopology> table = {
        {QStringLiteral("56-Switched"), K::nb56Switched, QStringLiteral("0.056")},
        {QStringLiteral("ATM"), K::nbATM, QStringLiteral("155.52")},
        {QStringLiteral("B-ISDN"), K::nbBISDN, QStringLiteral("155.52")},
        {QStringLiteral("DQDB"), K::nbDQDB, QStringLiteral("44.736")},
        {QStringLiteral("Ethernet"), K::nbEthernet, QStringLiteral("10")},
        {QStringLiteral("FDDI"), K::nbFDDI, QStringLiteral("100")},
        {QStringLiteral("Frame Relay"), K::nbFrameRelay, QStringLiteral("1.544")},
        {QStringLiteral("HIPPI"), K::nbHIPPI, QStringLiteral("800")},
        {QStringLiteral("Satellite"), K::nbSatellite, QStringLiteral("0.512")},
        {QStringLiteral("SMDS"), K::nbSMDS, QStringLiteral("44.736")},
        {QStringLiteral("T1"), K::nbTCarrier, QStringLiteral("1.544")},
        {QStringLiteral("T3"), K::nbTCarrier, QStringLiteral("44.736")},
        {QStringLiteral("Token Ring"), K::nbTokenRing, QStringLiteral("16")},
        {QStringLiteral("X.25"), K::nbX25, QStringLiteral("0.064")},
    };
    return table;
}

int TopologyTableIndex(const QString &text)
{
    const QList<TTopology> &table = TopologyTable();
    for (int i = 0; i < table.size(); ++i) {
        if (table[i].Text == text)
            return i;
    }
    return -1;
}

const QStringList &WanBandwidthList()
{
    static const QStringList list = {
        QStringLiteral("0.064"), QStringLiteral("0.128"), QStringLiteral("0.256"),
        QStringLiteral("0.512"), QStringLiteral("1.024"), QStringLiteral("1.544"),
        QStringLiteral("6.312"), QStringLiteral("44.736"), QStringLiteral("274.176"),
    };
    return list;
}

const QStringList &FullBandwidthList()
{
    static const QStringList list = {
        QStringLiteral("0.056"), QStringLiteral("0.064"), QStringLiteral("0.128"),
        QStringLiteral("0.256"), QStringLiteral("0.512"), QStringLiteral("1.024"),
        QStringLiteral("1.544"), QStringLiteral("4"),     QStringLiteral("6.312"),
        QStringLiteral("10"),    QStringLiteral("16"),    QStringLiteral("25"),
        QStringLiteral("44.736"), QStringLiteral("100"),  QStringLiteral("155.52"),
        QStringLiteral("274.176"), QStringLiteral("622.08"), QStringLiteral("800"),
        QStringLiteral("1000"),  QStringLiteral("1600"),
    };
    return list;
}

QStringList BandwidthChoices(TNetworkButtonKind kind)
{
    switch (kind) {
    case K::nb56Switched:
        return {QStringLiteral("0.056")};
    case K::nbATM:
    case K::nbBISDN:
        return {QStringLiteral("25"), QStringLiteral("155.52"), QStringLiteral("622.08")};
    case K::nbDQDB:
    case K::nbSMDS:
        return {QStringLiteral("44.736")};
    case K::nbEthernet:
        return {QStringLiteral("10"), QStringLiteral("100"), QStringLiteral("1000")};
    case K::nbFDDI:
        return {QStringLiteral("100")};
    case K::nbFrameRelay:
    case K::nbSatellite:
    case K::nbTCarrier:
    case K::nbX25:
        return WanBandwidthList();
    case K::nbHIPPI:
        return {QStringLiteral("800"), QStringLiteral("1600")};
    case K::nbOther:
        return FullBandwidthList();
    case K::nbTokenRing:
        return {QStringLiteral("4"), QStringLiteral("16")};
    case K::nbISDN:
    case K::nbUnknownNetwork:
    case K::nbDesktopCPU:
    case K::nbTowerCPU:
        break;
    }
    return {};
}

bool PropDelayEnabled(TNetworkButtonKind kind)
{
    switch (kind) {
    case K::nbEthernet:
    case K::nbFDDI:
    case K::nbHIPPI:
    case K::nbTokenRing:
    case K::nbDesktopCPU:
    case K::nbTowerCPU:
        return false;
    default:
        return true;
    }
}

std::optional<qint32> DefaultPropDelay(TNetworkButtonKind kind)
{
    switch (kind) {
    case K::nb56Switched:
    case K::nbOther:
    case K::nbX25:
        return 10;
    case K::nbATM:
    case K::nbDQDB:
    case K::nbSMDS:
        return 1;
    case K::nbFrameRelay:
        return 20;
    case K::nbSatellite:
        return 270;
    case K::nbTCarrier:
        return 5;
    case K::nbEthernet:
    case K::nbFDDI:
    case K::nbHIPPI:
    case K::nbTokenRing:
    case K::nbDesktopCPU:
    case K::nbTowerCPU:
        return 0;
    case K::nbBISDN:
    case K::nbISDN:
    case K::nbUnknownNetwork:
        break;
    }
    return std::nullopt;
}

QString FormatBandwidth(double mbps)
{
    // %g with 6 digits, exponent written "1E6" / "1E-7" as the lists would.
    QString text = QString::number(mbps, 'g', 6);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e < 0)
        return text;
    QString mantissa = text.left(e);
    QString exponent = text.mid(e + 1);
    bool negative = exponent.startsWith(QLatin1Char('-'));
    if (exponent.startsWith(QLatin1Char('+')) || negative)
        exponent.remove(0, 1);
    while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0')))
        exponent.remove(0, 1);
    return mantissa + QLatin1Char('E') + (negative ? QStringLiteral("-") : QString()) + exponent;
}

double ReadBandwidthText(const QString &text)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(text.trimmed(), &ok);
    // A sign only comes in from the clipboard; a negative rate would give
    // negative delays and shares beyond any bar.
    if (!ok || !std::isfinite(value) || std::signbit(value))
        RaiseError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

QString NodeDisplayName(const QString &name, qint32 packetSize)
{
    return QStringLiteral("%1 (%2 bytes)").arg(name).arg(packetSize);
}

QString NetworkDisplayName(const QString &name, double bandwidth)
{
    return QStringLiteral("%1 (%2 Mbps)").arg(name, FormatBandwidth(bandwidth));
}

void TNetworkElement::SetNetworkButtonKind(TNetworkButtonKind kind)
{
    FNetworkButtonKind = kind;
}

float TNetworkElement::GetDelay(qint32 packetSize) const
{
    if (IsNode())
        return static_cast<float>(ProcessTime / 1000.0);

    // Bytes per second per Mbps: 10^6 / 8.
    // A serialisation time without a result (no bandwidth) counts as 0.
    float s = 0;
    if (Bandwidth != 0) {
        const float q = static_cast<float>(packetSize / (Bandwidth * 125000.0));
        if (std::isfinite(q))
            s = q;
    }
    if (NetworkButtonKind() == TNetworkButtonKind::nbEthernet) {
        // The 160 bit times of Ethernet framing have no result at 0 Mbps,
        // and that is reported rather than hidden.
        if (Bandwidth == 0)
            RaiseError(QStringLiteral("Floating point division by zero"));
        s = static_cast<float>(s + 160.0 / (Bandwidth * 1000000.0));
        if (!std::isfinite(s))
            RaiseError(QStringLiteral("Floating point overflow"));
    }
    return static_cast<float>(PropDelay / 1000.0 + s);
}

void TNetworkElement::RebuildDisplayName()
{
    const QString name = IsNode() ? NodeDisplayName(NetworkName, PacketSize)
                                  : NetworkDisplayName(NetworkName, Bandwidth);
    if (name == FDisplayName)
        return;
    FDisplayName = name;
    DisplayNameChanged();
}
