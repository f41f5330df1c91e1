#include <QtTest>

#include "app/VorlGlobal.h"
#include "latency/NetworkKinds.h"
#include "tests/common/TestEnvironment.h"

using K = TNetworkButtonKind;

Q_DECLARE_METATYPE(TNetworkButtonKind)

class tst_NetworkKinds : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void storedOrdinals_data();
    void storedOrdinals();
    void topologyTable();
    void formatBandwidth_data();
    void formatBandwidth();
    void readBandwidthText_data();
    void readBandwidthText();
    void badBandwidthText_data();
    void badBandwidthText();
    void networkDelay_data();
    void networkDelay();
    void nodeDelayIgnoresPacketSize_data();
    void nodeDelayIgnoresPacketSize();
    void ethernetWithoutBandwidthFails();
    void singlePrecisionSteps();
    void displayNames();
    void newElement();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_NetworkKinds::initTestCase()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_NetworkKinds::storedOrdinals_data()
{
    QTest::addColumn<TNetworkButtonKind>("kind");
    QTest::addColumn<int>("ordinal");
    QTest::newRow("first") << K::nb56Switched << 0;
    QTest::newRow("Ethernet") << K::nbEthernet << 4;
    QTest::newRow("unknown network") << K::nbUnknownNetwork << 14;
    QTest::newRow("last network") << K::nbX25 << 15;
    QTest::newRow("Node A") << K::nbDesktopCPU << 16;
    QTest::newRow("Node B") << K::nbTowerCPU << 17;
}

void tst_NetworkKinds::storedOrdinals()
{
    QFETCH(TNetworkButtonKind, kind);
    QFETCH(int, ordinal);
    QCOMPARE(int(kind), ordinal);
    QCOMPARE(NetworkButtonKindFromOrdinal(ordinal), std::optional<TNetworkButtonKind>(kind));
    QCOMPARE(IsNodeKind(kind), ordinal >= 16);
    // Stored ordinals outside the enumeration are not kinds.
    QVERIFY(!NetworkButtonKindFromOrdinal(-1));
    QVERIFY(!NetworkButtonKindFromOrdinal(18));
}

void tst_NetworkKinds::topologyTable()
{
    const QList<TTopology> &table = TopologyTable();
    QCOMPARE(table.size(), 14);
    for (int i = 0; i < table.size(); ++i) {
        QCOMPARE(TopologyTableIndex(table[i].Text), i);
        // The default bandwidth must be one of the choices it selects.
        QVERIFY2(BandwidthChoices(table[i].Kind).contains(table[i].DefaultBandwidth),
                 qPrintable(table[i].Text));
    }
    QCOMPARE(table[10].Kind, K::nbTCarrier);
    QCOMPARE(table[11].Kind, K::nbTCarrier);
    QCOMPARE(table[11].DefaultBandwidth, QStringLiteral("44.736"));
    QCOMPARE(TopologyTableIndex(QStringLiteral("ethernet")), -1);
    QCOMPARE(TopologyTableIndex(QStringLiteral("<Unknown Topology>")), -1);
}

void tst_NetworkKinds::formatBandwidth_data()
{
    QTest::addColumn<double>("mbps");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer") << 10.0 << "10";
    QTest::newRow("T1") << 1.544 << "1.544";
    QTest::newRow("ATM 155") << 155.52 << "155.52";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("typed 12.5") << 12.5 << "12.5";
    QTest::newRow("six significant digits") << 274.1764 << "274.176";
    QTest::newRow("seventh digit dropped") << 0.05600004 << "0.056";
    QTest::newRow("large") << 1234567.0 << "1.23457E6";
    QTest::newRow("tiny") << 0.0000001 << "1E-7";
}

void tst_NetworkKinds::formatBandwidth()
{
    QFETCH(double, mbps);
    QFETCH(QString, text);
    QCOMPARE(FormatBandwidth(mbps), text);
}

void tst_NetworkKinds::readBandwidthText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("mbps");
    QTest::newRow("list entry") << "44.736" << 44.736;
    QTest::newRow("typed") << "12.5" << 12.5;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("zero") << "0" << 0.0;
}

void tst_NetworkKinds::readBandwidthText()
{
    QFETCH(QString, text);
    QFETCH(double, mbps);
    QCOMPARE(ReadBandwidthText(text), mbps);
}

void tst_NetworkKinds::badBandwidthText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("two points") << "1.2.3";
    QTest::newRow("lone point") << ".";
    QTest::newRow("empty") << "";
    QTest::newRow("pasted words") << "fast";
    QTest::newRow("group separator") << "1,000";
    QTest::newRow("infinity") << "inf";
    QTest::newRow("not a number") << "nan";
    // Only the clipboard brings a sign past the key filter.
    QTest::newRow("pasted negative") << "-5";
    QTest::newRow("pasted negative zero") << "-0";
}

void tst_NetworkKinds::badBandwidthText()
{
    QFETCH(QString, text);
    try {
        ReadBandwidthText(text);
        QFAIL("accepted");
    } catch (const TVorlError &e) {
        QCOMPARE(e.Message(), QStringLiteral("'%1' is not a valid floating point value").arg(text));
    }
}

void tst_NetworkKinds::networkDelay_data()
{
    QTest::addColumn<TNetworkButtonKind>("kind");
    QTest::addColumn<double>("bandwidth");
    QTest::addColumn<int>("propDelay");
    QTest::addColumn<int>("packetSize");
    QTest::addColumn<float>("delay");
    QTest::newRow("T1, 64 bytes") << K::nbTCarrier << 1.544 << 5 << 64 << 0.00533161f;
    QTest::newRow("Ethernet 10 Mbps, 1024 bytes") << K::nbEthernet << 10.0 << 0 << 1024 << 0.0008352f;
    QTest::newRow("T1, round trip 1088 bytes") << K::nbTCarrier << 1.544 << 5 << 1088 << 0.0106373f;
    QTest::newRow("Satellite, 64 bytes") << K::nbSatellite << 0.512 << 270 << 64 << 0.271f;
    QTest::newRow("no bandwidth, only propagation") << K::nbFrameRelay << 0.0 << 20 << 1500 << 0.02f;
    QTest::newRow("unconfigured network") << K::nbUnknownNetwork << 0.0 << 0 << 512 << 0.0f;
    QTest::newRow("empty packet") << K::nbATM << 155.52 << 1 << 0 << 0.001f;
}

void tst_NetworkKinds::networkDelay()
{
    QFETCH(TNetworkButtonKind, kind);
    QFETCH(double, bandwidth);
    QFETCH(int, propDelay);
    QFETCH(int, packetSize);
    QFETCH(float, delay);
    TNetworkElement element;
    element.SetNetworkButtonKind(kind);
    element.Bandwidth = bandwidth;
    element.PropDelay = propDelay;
    // Six significant digits are what the statistics can show.
    QCOMPARE(QString::number(element.GetDelay(packetSize), 'g', 6), QString::number(delay, 'g', 6));
}

void tst_NetworkKinds::nodeDelayIgnoresPacketSize_data()
{
    QTest::addColumn<int>("packetSize");
    QTest::newRow("0 bytes") << 0;
    QTest::newRow("64 bytes") << 64;
    QTest::newRow("largest") << 2147483647;
}

void tst_NetworkKinds::nodeDelayIgnoresPacketSize()
{
    QFETCH(int, packetSize);
    TNetworkElement node;
    node.SetNetworkButtonKind(K::nbDesktopCPU);
    node.ProcessTime = 25;
    node.Bandwidth = 10; // ignored for a node
    node.PropDelay = 99;
    QCOMPARE(node.GetDelay(packetSize), 0.025f);
}

void tst_NetworkKinds::ethernetWithoutBandwidthFails()
{
    TNetworkElement element;
    element.SetNetworkButtonKind(K::nbEthernet);
    element.Bandwidth = 0;
    try {
        element.GetDelay(1024);
        QFAIL("no error");
    } catch (const TVorlError &e) {
        QCOMPARE(e.Message(), QStringLiteral("Floating point division by zero"));
    }
}

void tst_NetworkKinds::singlePrecisionSteps()
{
    // The serialisation time is rounded to a float before the framing and
    // the propagation delay are added, each sum rounded again.
    TNetworkElement element;
    element.SetNetworkButtonKind(K::nbEthernet);
    element.Bandwidth = 100;
    element.PropDelay = 3;
    const float s1 = float(1000 / (100 * 125000.0));
    const float s2 = float(s1 + 160 / (100 * 1000000.0));
    QCOMPARE(element.GetDelay(1000), float(3 / 1000.0 + s2));
}

void tst_NetworkKinds::displayNames()
{
    QCOMPARE(NodeDisplayName(QStringLiteral("Node A"), 64), QStringLiteral("Node A (64 bytes)"));
    QCOMPARE(NetworkDisplayName(QStringLiteral("Ethernet"), 10), QStringLiteral("Ethernet (10 Mbps)"));
    QCOMPARE(NetworkDisplayName(QStringLiteral("T1"), 1.544), QStringLiteral("T1 (1.544 Mbps)"));

    TNetworkElement node;
    node.SetNetworkButtonKind(K::nbTowerCPU);
    node.NetworkName = QStringLiteral("Node B");
    node.PacketSize = 1024;
    node.RebuildDisplayName();
    QCOMPARE(node.DisplayName(), QStringLiteral("Node B (1024 bytes)"));
}

void tst_NetworkKinds::newElement()
{
    TNetworkElement element;
    QCOMPARE(element.NetworkButtonKind(), K::nbUnknownNetwork);
    QCOMPARE(element.NetworkName, QStringLiteral("<Unknown Topology>"));
    QCOMPARE(element.DisplayName(), QStringLiteral("<Unknown Topology>"));
    QCOMPARE(element.Bandwidth, 0.0);
    QCOMPARE(element.PacketSize, 512);
    QCOMPARE(element.TopologyIndex, qint16(-1));
}

QTEST_APPLESS_MAIN(tst_NetworkKinds)
#include "tst_networkkinds.moc"
