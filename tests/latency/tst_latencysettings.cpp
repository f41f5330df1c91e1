#include <cmath>
#include <limits>

#include <QTest>

#include "app/SettingsStore.h"
#include "latency/LatencySettings.h"
#include "latency/NetworkChain.h"
#include "tests/common/TestEnvironment.h"

using namespace Qt::StringLiterals;

class tst_LatencySettings : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void noSubkeyReadsNothing();
    void writeThenReadRestoresTheChain();
    void shorterChainLeavesOldValuesUnread();
    void networkCount_data();
    void networkCount();
    void badNodeRecordsKeepDefaults_data();
    void badNodeRecordsKeepDefaults();
    void badNetworkRecordKeepsANewNetwork_data();
    void badNetworkRecordKeepsANewNetwork();
    void kindOrdinals_data();
    void kindOrdinals();
    void impossibleValuesAreClamped();
    void wronglyTypedCountAndName();
    void chainSettingsStoreTheChain();
    void applyBuildsTheStoredChain_data();
    void applyBuildsTheStoredChain();

private:
    static void Write(const std::function<void(TRegKey &)> &writer);
    static QByteArray NetworkBytes(double bandwidth, qint32 left, quint8 kind, qint32 propDelay, qint32 top);
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_LatencySettings::init()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_LatencySettings::cleanup()
{
    FEnvironment.reset();
}

void tst_LatencySettings::Write(const std::function<void(TRegKey &)> &writer)
{
    TRegKey key;
    QVERIFY(key.OpenKey(LatencySettingsKey, true));
    writer(key);
    key.CloseKey();
}

QByteArray tst_LatencySettings::NetworkBytes(double bandwidth, qint32 left, quint8 kind, qint32 propDelay, qint32 top)
{
    return TNetworkRecord{bandwidth, left, kind, propDelay, top}.Encode();
}

void tst_LatencySettings::noSubkeyReadsNothing()
{
    QVERIFY(!ReadLatencySettings());
    TRegKey key;
    QVERIFY(key.OpenKey(MainSettingsKey, true));
    key.WriteInteger(QStringLiteral("Calculator"), 2);
    key.CloseKey();
    QVERIFY(!ReadLatencySettings());
}

void tst_LatencySettings::writeThenReadRestoresTheChain()
{
    TLatencySettings settings;
    settings.NodeA = {64, 10};
    settings.NodeB = {1500, 20};
    settings.Networks = {
        {TNetworkRecord{1.544, 143, 0, 5, 8}, TNetworkButtonKind::nbTCarrier, QStringLiteral("T1")},
        {TNetworkRecord{12.5, 75, 0, 10, 136}, TNetworkButtonKind::nbOther, QStringLiteral("My backbone")},
        {TNetworkRecord{0, 8, 0, 0, 200}, TNetworkButtonKind::nbUnknownNetwork, UnknownTopologyName},
    };
    WriteLatencySettings(settings);
    TSettingsStore::ResetInstance();  // as at the next start

    const std::optional<TLatencySettings> read = ReadLatencySettings();
    QVERIFY(read);
    QVERIFY(read->Problems.isEmpty());
    QCOMPARE(read->NodeA, settings.NodeA);
    QCOMPARE(read->NodeB, settings.NodeB);
    QCOMPARE(read->Networks.size(), std::size_t(3));
    for (std::size_t i = 0; i < 3; ++i) {
        TNetworkRecord expected = *settings.Networks[i].Record;
        expected.KindOrdinal = quint8(settings.Networks[i].Kind);
        QCOMPARE(read->Networks[i].Record, std::optional<TNetworkRecord>(expected));
        QCOMPARE(read->Networks[i].Kind, settings.Networks[i].Kind);
        QCOMPARE(read->Networks[i].Name, settings.Networks[i].Name);
    }

    TRegKey key;
    QVERIFY(key.OpenKey(LatencySettingsKey, false));
    QCOMPARE(key.ReadBinaryData(QStringLiteral("NodeB"), 8), QByteArray::fromHex("dc05000014000000"));
    QCOMPARE(key.ReadInteger(QStringLiteral("NumNetworks")), 3);
    QCOMPARE(key.ReadString(QStringLiteral("Network2Name")), QStringLiteral("My backbone"));
}

void tst_LatencySettings::shorterChainLeavesOldValuesUnread()
{
    TLatencySettings settings;
    settings.Networks.assign(5, TStoredNetwork{TNetworkRecord{10, 75, 0, 0, 8}, TNetworkButtonKind::nbEthernet,
                                               QStringLiteral("Ethernet")});
    WriteLatencySettings(settings);
    settings.Networks.resize(3);
    WriteLatencySettings(settings);

    TRegKey key;
    QVERIFY(key.OpenKey(LatencySettingsKey, false));
    QVERIFY(key.ValueExists(QStringLiteral("Network5")));
    QVERIFY(key.ValueExists(QStringLiteral("Network4Name")));
    key.CloseKey();
    QCOMPARE(ReadLatencySettings()->Networks.size(), std::size_t(3));
}

void tst_LatencySettings::networkCount_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("networks");
    QTest::addColumn<bool>("firstStart");
    QTest::newRow("one") << 1 << 1 << false;
    QTest::newRow("fourteen") << 14 << 14 << false;
    QTest::newRow("twenty loads the first 14") << 20 << 14 << false;
    QTest::newRow("zero is the first-start chain") << 0 << 1 << true;
    QTest::newRow("negative is the first-start chain") << -7 << 1 << true;
}

void tst_LatencySettings::networkCount()
{
    QFETCH(int, stored);
    QFETCH(int, networks);
    QFETCH(bool, firstStart);
    Write([stored](TRegKey &key) {
        key.WriteInteger(QStringLiteral("NumNetworks"), stored);
        for (int i = 1; i <= 20; ++i) {
            key.WriteBinaryData(NetworkValueName(i), NetworkBytes(0.064, 8, 15, i, 72));
            key.WriteString(NetworkNameValueName(i), QStringLiteral("X.25"));
        }
    });
    const std::optional<TLatencySettings> read = ReadLatencySettings();
    QVERIFY(read);
    QVERIFY(read->Problems.isEmpty());
    QCOMPARE(int(read->Networks.size()), networks);
    QCOMPARE(!read->Networks.front().Record, firstStart);
    if (!firstStart)
        QCOMPARE(read->Networks.back().Record->PropDelay, networks);
}

void tst_LatencySettings::badNodeRecordsKeepDefaults_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    QTest::newRow("missing") << false << QByteArray() << QString();
    QTest::newRow("short") << true << QByteArray(7, '\1') << "Invalid data type for 'NodeB'";
    QTest::newRow("long") << true << QByteArray(9, '\1') << "Invalid data type for 'NodeB'";
    QTest::newRow("empty") << true << QByteArray() << "Invalid data type for 'NodeB'";
}

void tst_LatencySettings::badNodeRecordsKeepDefaults()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    Write([&](TRegKey &key) {
        key.WriteBinaryData(QStringLiteral("NodeA"), TNodeRecord{100, 3}.Encode());
        if (present)
            key.WriteBinaryData(QStringLiteral("NodeB"), bytes);
        key.WriteInteger(QStringLiteral("NumNetworks"), 1);
        key.WriteBinaryData(NetworkValueName(1), NetworkBytes(1.544, 75, 12, 5, 8));
    });
    const std::optional<TLatencySettings> read = ReadLatencySettings();
    QVERIFY(read);
    QCOMPARE(read->NodeA, (TNodeRecord{100, 3}));
    QCOMPARE(read->NodeB, (TNodeRecord{1024, 0}));
    QCOMPARE(read->Problems, problem.isEmpty() ? QStringList() : QStringList{problem});
    QCOMPARE(read->Networks.front().Kind, TNetworkButtonKind::nbTCarrier);
}

void tst_LatencySettings::badNetworkRecordKeepsANewNetwork_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("problem");
    QTest::newRow("missing") << 0 << "Failed to get data for 'Network2'";
    QTest::newRow("23 bytes") << 1 << "Invalid data type for 'Network2'";
    QTest::newRow("25 bytes") << 2 << "Invalid data type for 'Network2'";
    QTest::newRow("a string") << 3 << "Invalid data type for 'Network2'";
    QTest::newRow("an integer") << 4 << "Invalid data type for 'Network2'";
}

void tst_LatencySettings::badNetworkRecordKeepsANewNetwork()
{
    QFETCH(int, form);
    QFETCH(QString, problem);
    Write([form](TRegKey &key) {
        key.WriteInteger(QStringLiteral("NumNetworks"), 3);
        key.WriteBinaryData(NetworkValueName(1), NetworkBytes(10, 75, 4, 0, 8));
        switch (form) {
        case 1: key.WriteBinaryData(NetworkValueName(2), QByteArray(23, '\0')); break;
        case 2: key.WriteBinaryData(NetworkValueName(2), QByteArray(25, '\0')); break;
        case 3: key.WriteString(NetworkValueName(2), QStringLiteral("T1")); break;
        case 4: key.WriteInteger(NetworkValueName(2), 12); break;
        default: break;
        }
        key.WriteString(NetworkNameValueName(2), QStringLiteral("T1"));
        key.WriteBinaryData(NetworkValueName(3), NetworkBytes(0.512, 210, 10, 270, 8));
    });
    const std::optional<TLatencySettings> read = ReadLatencySettings();
    QVERIFY(read);
    QCOMPARE(read->Problems, QStringList{problem});
    QCOMPARE(read->Networks.size(), std::size_t(3));
    QVERIFY(!read->Networks[1].Record);
    QCOMPARE(read->Networks[1].Kind, TNetworkButtonKind::nbUnknownNetwork);
    QCOMPARE(read->Networks[0].Kind, TNetworkButtonKind::nbEthernet);
    QCOMPARE(read->Networks[2].Kind, TNetworkButtonKind::nbSatellite);
    QCOMPARE(read->Networks[2].Name, QString());  // a missing name reads as empty text
}

void tst_LatencySettings::kindOrdinals_data()
{
    QTest::addColumn<int>("ordinal");
    QTest::addColumn<TNetworkButtonKind>("kind");
    QTest::newRow("56-Switched") << 0 << TNetworkButtonKind::nb56Switched;
    QTest::newRow("X.25") << 15 << TNetworkButtonKind::nbX25;
    QTest::newRow("unknown network") << 14 << TNetworkButtonKind::nbUnknownNetwork;
    QTest::newRow("Node A's kind") << 16 << TNetworkButtonKind::nbUnknownNetwork;
    QTest::newRow("Node B's kind") << 17 << TNetworkButtonKind::nbUnknownNetwork;
    QTest::newRow("past the last") << 18 << TNetworkButtonKind::nbUnknownNetwork;
    QTest::newRow("255") << 255 << TNetworkButtonKind::nbUnknownNetwork;
}

void tst_LatencySettings::kindOrdinals()
{
    QFETCH(int, ordinal);
    QFETCH(TNetworkButtonKind, kind);
    Write([ordinal](TRegKey &key) {
        key.WriteInteger(QStringLiteral("NumNetworks"), 1);
        key.WriteBinaryData(NetworkValueName(1), NetworkBytes(1, 75, quint8(ordinal), 1, 8));
    });
    const std::optional<TLatencySettings> read = ReadLatencySettings();
    QCOMPARE(read->Networks.front().Kind, kind);
    QVERIFY(read->Networks.front().Record);
}

void tst_LatencySettings::impossibleValuesAreClamped()
{
    Write([](TRegKey &key) {
        key.WriteBinaryData(QStringLiteral("NodeA"), TNodeRecord{-64, -1}.Encode());
        key.WriteInteger(QStringLiteral("NumNetworks"), 2);
        key.WriteBinaryData(NetworkValueName(1), NetworkBytes(std::nan(""), 75, 12, -5, 8));
        key.WriteBinaryData(NetworkValueName(2),
                            NetworkBytes(-std::numeric_limits<double>::infinity(), 143, 12, 5, 8));
    });
    const std::optional<TLatencySettings> read = ReadLatencySettings();
    QCOMPARE(read->NodeA, (TNodeRecord{0, 0}));
    QCOMPARE(read->Networks[0].Record->Bandwidth, 0.0);
    QCOMPARE(read->Networks[0].Record->PropDelay, 0);
    QCOMPARE(read->Networks[1].Record->Bandwidth, 0.0);
}

void tst_LatencySettings::wronglyTypedCountAndName()
{
    Write([](TRegKey &key) {
        key.WriteString(QStringLiteral("NumNetworks"), QStringLiteral("3"));
        key.WriteBinaryData(NetworkValueName(1), NetworkBytes(1.544, 75, 12, 5, 8));
    });
    std::optional<TLatencySettings> read = ReadLatencySettings();
    QCOMPARE(read->Problems, QStringList{u"Invalid data type for 'NumNetworks'"_s});
    QCOMPARE(read->Networks.size(), std::size_t(1));
    QVERIFY(!read->Networks.front().Record);

    Write([](TRegKey &key) {
        key.WriteInteger(QStringLiteral("NumNetworks"), 1);
        key.WriteInteger(NetworkNameValueName(1), 7);
    });
    read = ReadLatencySettings();
    QCOMPARE(read->Problems, QStringList{u"Invalid data type for 'Network1Name'"_s});
    QCOMPARE(read->Networks.front().Kind, TNetworkButtonKind::nbTCarrier);
    QCOMPARE(read->Networks.front().Name, QString());
}

// What the chain model gives to be written, byte for byte, and what reading
// it back builds.
void tst_LatencySettings::chainSettingsStoreTheChain()
{
    TNetworkChain chain;
    chain.NodeA()->PacketSize = 64;
    chain.NodeA()->ProcessTime = 10;
    chain.NodeB()->PacketSize = 1500;
    chain.NodeB()->ProcessTime = 20;
    TNetworkElement *t1 = chain.Insert();
    t1->SetNetworkButtonKind(TNetworkButtonKind::nbTCarrier);
    t1->NetworkName = u"T1"_s;
    t1->Bandwidth = 1.544;
    t1->PropDelay = 5;
    QVERIFY(chain.MoveToCell(t1, {2, 2}));
    chain.Select(chain.NodeB());
    TNetworkElement *custom = chain.Insert();
    custom->SetNetworkButtonKind(TNetworkButtonKind::nbOther);
    custom->NetworkName = u"My backbone"_s;
    custom->Bandwidth = 12.5;
    custom->PropDelay = 10;
    chain.Select(chain.NodeB());
    chain.Insert(); // never configured
    chain.Select(custom);

    const TLatencySettings settings = ChainSettings(chain);
    QCOMPARE(settings.NodeA, (TNodeRecord{64, 10}));
    QCOMPARE(settings.NodeB, (TNodeRecord{1500, 20}));
    QCOMPARE(settings.Networks.size(), std::size_t(3));
    QCOMPARE(settings.Networks[2].Kind, TNetworkButtonKind::nbUnknownNetwork);
    QCOMPARE(settings.Networks[2].Name, UnknownTopologyName);
    WriteLatencySettings(settings);
    TSettingsStore::ResetInstance();
    {
        TRegKey key;
        QVERIFY(key.OpenKey(LatencySettingsKey, false));
        QCOMPARE(key.ReadBinaryData(u"NodeA"_s, 8), QByteArray::fromHex("400000000a000000"));
        // Positions are the cells' origins: T1 on (143, 136), the next two
        // on the first cells left free.
        QCOMPARE(key.ReadBinaryData(u"Network1"_s, 24), NetworkBytes(1.544, 143, 12, 5, 136));
        QCOMPARE(key.ReadBinaryData(u"Network2"_s, 24), NetworkBytes(12.5, 75, 9, 10, 8));
        QCOMPARE(key.ReadBinaryData(u"Network3"_s, 24), NetworkBytes(0, 143, 14, 0, 8));
        QCOMPARE(key.ReadString(u"Network3Name"_s), UnknownTopologyName);
    }

    // Read back, it builds the same chain (ApplyChainSettings below).
    const std::optional<TLatencySettings> read = ReadLatencySettings();
    QVERIFY(read);
    TNetworkChain loaded;
    ApplyChainSettings(loaded, *read);
    QCOMPARE(loaded.Count(), chain.Count());
    for (int i = 1; i + 1 < chain.Count(); ++i)
        QCOMPARE(loaded.Cell(loaded.Element(i)), chain.Cell(chain.Element(i)));
    QCOMPARE(loaded.Element(2)->DisplayName(), u"My backbone (12.5 Mbps)"_s);
}

void tst_LatencySettings::applyBuildsTheStoredChain_data()
{
    QTest::addColumn<QList<QPoint>>("stored"); // each network's stored position
    QTest::addColumn<QList<int>>("missing");   // networks without a usable record, counted from 0
    QTest::addColumn<QList<QPoint>>("shown");  // where each network ends up
    QTest::newRow("stored cells") << QList<QPoint>{{8, 72}, {210, 136}} << QList<int>{}
                                  << QList<QPoint>{{8, 72}, {210, 136}};
    // Each network is first placed on the first free cell, then moved.
    QTest::newRow("unusable record keeps its first cell, a later network covers it")
        << QList<QPoint>{{8, 72}, {0, 0}, {75, 8}} << QList<int>{1} << QList<QPoint>{{8, 72}, {75, 8}, {75, 8}};
    QTest::newRow("positions between cells and off the panel")
        << QList<QPoint>{{100, 100}, {-5, 300}, {70, 66}} << QList<int>{}
        << QList<QPoint>{{75, 72}, {210, 200}, {75, 72}};
}

void tst_LatencySettings::applyBuildsTheStoredChain()
{
    QFETCH(QList<QPoint>, stored);
    QFETCH(QList<int>, missing);
    QFETCH(QList<QPoint>, shown);
    TLatencySettings settings;
    settings.Networks.clear();
    for (qsizetype i = 0; i < stored.size(); ++i) {
        TStoredNetwork network{TNetworkRecord{10, stored[i].x(), 0, 0, stored[i].y()}, TNetworkButtonKind::nbEthernet,
                               u"Ethernet"_s};
        if (missing.contains(int(i)))
            network = TStoredNetwork{};
        settings.Networks.push_back(network);
    }
    TNetworkChain chain;
    ApplyChainSettings(chain, settings);
    QCOMPARE(chain.NetworkCount(), int(stored.size()));
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const TNetworkElement *network = chain.Element(int(i) + 1);
        QCOMPARE(CellOrigin(chain.Cell(network)), shown[i]);
        const bool configured = !missing.contains(int(i));
        QCOMPARE(network->NetworkButtonKind(),
                 configured ? TNetworkButtonKind::nbEthernet : TNetworkButtonKind::nbUnknownNetwork);
        QCOMPARE(network->DisplayName(), configured ? u"Ethernet (10 Mbps)"_s : UnknownTopologyName);
    }
    QCOMPARE(chain.Selected(), chain.Element(chain.Count() - 2));
    // The nodes' display names are rebuilt too.
    QCOMPARE(chain.NodeB()->DisplayName(), u"Node B (1024 bytes)"_s);
}

QTEST_GUILESS_MAIN(tst_LatencySettings)
#include "tst_latencysettings.moc"
