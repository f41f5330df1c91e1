// The latency chain across a restart: saved by one area, loaded by the next.

#include <memory>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/SettingsStore.h"
#include "controls/Application.h"
#include "controls/BetterSpinEdit.h"
#include "latency/LatencyArea.h"
#include "latency/LatencySettings.h"
#include "latency/NetworkButton.h"
#include "latency/NetworkButtonForm.h"
#include "latency/NetworkSetupPage.h"
#include "tests/common/MemoryStore.h"
#include "tests/common/TestEnvironment.h"

namespace {

struct TElementState
{
    QString DisplayName;
    QPoint Position;
    TNetworkButtonKind Kind;
    QString Name;
    double Bandwidth;
    qint32 PropDelay;
    qint32 PacketSize;
    qint32 ProcessTime;
    bool operator==(const TElementState &) const = default;
};

}  // namespace

namespace QTest {
template <>
char *toString(const TElementState &s)
{
    return qstrdup(QStringLiteral("%1 at %2,%3 kind %4 name '%5' %6 Mbps %7 ms %8 bytes %9 ms")
                       .arg(s.DisplayName)
                       .arg(s.Position.x())
                       .arg(s.Position.y())
                       .arg(int(s.Kind))
                       .arg(s.Name)
                       .arg(s.Bandwidth)
                       .arg(s.PropDelay)
                       .arg(s.PacketSize)
                       .arg(s.ProcessTime)
                       .toUtf8()
                       .constData());
}
}  // namespace QTest

class tst_LatencySettingsArea : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void saveThenLoadRestoresTheChain();
    void customTopologyIsOfferedAgain();
    void restartKeepsEachTopology_data();
    void restartKeepsEachTopology();
    void noSubkeyIsAFirstStart();
    void corruptedSubkeyStartsWithAValidChain();
    void tooManyNetworksFillTheChain();

private:
    void Restart();
    TNetworkSetupPage *Setup() const { return FArea->NetworkSetupTabSheet; }
    TNetworkChain &Chain() const { return FArea->Chain(); }
    QList<TElementState> State() const;
    void TypeInto(QComboBox *box, const QString &text);

    std::unique_ptr<TTestEnvironment> FEnvironment;
    std::unique_ptr<TMemoryStore> FRegistry;  // outlives every area of a test
    std::unique_ptr<TLatencyArea> FArea;
    QStringList FErrors;
};

void tst_LatencySettingsArea::init()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
    FErrors.clear();
    FRegistry = std::make_unique<TMemoryStore>();
    SetErrorMessageHandler([this](const QString &message) { FErrors << message; });
    FArea = std::make_unique<TLatencyArea>();
    FArea->LoadSettings();
}

void tst_LatencySettingsArea::cleanup()
{
    FArea.reset();
    TStoreBackend::OverrideUser(nullptr);
    FRegistry.reset();
    SetErrorMessageHandler({});
    FEnvironment.reset();
}

void tst_LatencySettingsArea::Restart()
{
    FArea->SaveSettings();
    FArea.reset();
    TSettingsStore::ResetInstance();
    FArea = std::make_unique<TLatencyArea>();
    FArea->LoadSettings();
}

QList<TElementState> tst_LatencySettingsArea::State() const
{
    // Positions as the page shows them.
    QList<TElementState> state;
    for (const TNetworkElement *e : Chain().Elements())
        state.append({e->DisplayName(), Setup()->NetworkButton(e)->pos(), e->NetworkButtonKind(), e->NetworkName,
                      e->Bandwidth, e->PropDelay, e->PacketSize, e->ProcessTime});
    return state;
}

void tst_LatencySettingsArea::TypeInto(QComboBox *box, const QString &text)
{
    box->lineEdit()->selectAll();
    QTest::keyClicks(box, text);
}

void tst_LatencySettingsArea::saveThenLoadRestoresTheChain()
{
    TNetworkButtonForm *form = FArea->NetworkButtonForm;
    Chain().Select(Chain().NodeB());
    Setup()->NewNetworkButtonClick();
    Setup()->NewNetworkButtonClick();
    const QList<TNetworkElement *> networks = Chain().Elements().mid(1, 3);
    // T1, a satellite moved to the last cell, Ethernet at 100 Mbps.
    form->EditNetworkButton(networks.at(0));
    form->TopologyComboBox->setCurrentIndex(10);
    emit form->TopologyComboBox->activated(10);
    QTest::mouseClick(form->OKButton, Qt::LeftButton);
    form->EditNetworkButton(networks.at(1));
    form->TopologyComboBox->setCurrentIndex(8);
    emit form->TopologyComboBox->activated(8);
    form->PropDelaySpinEdit->SetValue(300);
    QTest::mouseClick(form->OKButton, Qt::LeftButton);
    // Dragged to the last free cell of the bottom row.
    QVERIFY(Setup()->NetworkSetupPanelDragOver(Setup()->NetworkButton(networks.at(1)), QPoint(150, 210)));
    form->EditNetworkButton(networks.at(2));
    form->TopologyComboBox->setCurrentIndex(4);
    emit form->TopologyComboBox->activated(4);
    form->BandwidthComboBox->setCurrentIndex(1);
    QTest::mouseClick(form->OKButton, Qt::LeftButton);
    // Reordered after configuration: the chain order is what is stored.
    Chain().Select(networks.at(2));
    QTest::mouseClick(Setup()->MoveNetworkLeftButton, Qt::LeftButton);
    form->EditNetworkButton(Chain().NodeA());
    form->ProcessTimeSpinEdit->SetValue(7);
    form->PacketSizeSpinEdit->SetValue(1500);
    QTest::mouseClick(form->OKButton, Qt::LeftButton);
    form->EditNetworkButton(Chain().NodeB());
    form->ProcessTimeSpinEdit->SetValue(3);
    QTest::mouseClick(form->OKButton, Qt::LeftButton);

    const QList<TElementState> before = State();
    QCOMPARE(before.at(2).DisplayName, QStringLiteral("Ethernet (100 Mbps)"));
    QCOMPARE(before.at(2).Position, QPoint(143, 200));  // took the dragged cell in the exchange
    Restart();
    QVERIFY(FErrors.isEmpty());
    QCOMPARE(State(), before);
    // The last loaded network is selected; the dialog knows each one's topology.
    QCOMPARE(Chain().Selected(), Chain().Element(3));
    QCOMPARE(Chain().Element(1)->TopologyIndex, qint16(10));
    QCOMPARE(Chain().Element(2)->TopologyIndex, qint16(4));
    QVERIFY(Setup()->NetworkButton(Chain().Element(1))->RemoveCommandVisible());
}

void tst_LatencySettingsArea::customTopologyIsOfferedAgain()
{
    TNetworkButtonForm *form = FArea->NetworkButtonForm;
    TNetworkElement *network = Chain().Element(1);
    form->EditNetworkButton(network);
    TypeInto(form->TopologyComboBox, QStringLiteral("Campus fibre"));
    form->TopologyComboBoxExit();
    TypeInto(form->BandwidthComboBox, QStringLiteral("12.5"));
    form->BandwidthComboBoxExit();
    QTest::mouseClick(form->OKButton, Qt::LeftButton);
    QCOMPARE(network->DisplayName(), QStringLiteral("Campus fibre (12.5 Mbps)"));
    QCOMPARE(network->NetworkButtonKind(), TNetworkButtonKind::nbOther);

    Restart();
    form = FArea->NetworkButtonForm;
    network = Chain().Element(1);
    QCOMPARE(network->DisplayName(), QStringLiteral("Campus fibre (12.5 Mbps)"));
    QCOMPARE(form->TopologyComboBox->count(), 15);
    QCOMPARE(form->TopologyComboBox->itemText(14), QStringLiteral("Campus fibre"));
    QCOMPARE(network->TopologyIndex, qint16(14));
    form->EditNetworkButton(network);
    QCOMPARE(form->TopologyComboBox->currentText(), QStringLiteral("Campus fibre"));
    QCOMPARE(form->BandwidthComboBox->currentText(), QStringLiteral("12.5"));
}

// The dialog learns each restored network's topology from the user's store,
// whichever backend that is: on Windows the registry, not the file.
void tst_LatencySettingsArea::restartKeepsEachTopology_data()
{
    QTest::addColumn<bool>("registry");
    QTest::newRow("settings file") << false;
    QTest::newRow("registry stand-in") << true;
}

void tst_LatencySettingsArea::restartKeepsEachTopology()
{
    QFETCH(bool, registry);
    FArea.reset();
    if (registry)
        TStoreBackend::OverrideUser(FRegistry.get());
    // Stored by an earlier run: a T1 line and a topology the user typed.
    TLatencySettings stored;
    stored.Networks = {
        {TNetworkRecord{1.544, 143, 0, 5, 8}, TNetworkButtonKind::nbTCarrier, QStringLiteral("T1")},
        {TNetworkRecord{12.5, 75, 0, 10, 136}, TNetworkButtonKind::nbOther, QStringLiteral("Campus fibre")},
    };
    WriteLatencySettings(stored);
    TSettingsStore::ResetInstance();
    FArea = std::make_unique<TLatencyArea>();
    FArea->LoadSettings();

    TNetworkButtonForm *form = FArea->NetworkButtonForm;
    QCOMPARE(form->TopologyComboBox->count(), 15);
    QCOMPARE(form->TopologyComboBox->itemText(14), QStringLiteral("Campus fibre"));
    const QList<std::pair<QString, qint16>> topologies{{QStringLiteral("T1"), 10}, {QStringLiteral("Campus fibre"), 14}};
    for (int i = 0; i < topologies.size(); ++i) {
        TNetworkElement *network = Chain().Element(i + 1);
        QCOMPARE(network->TopologyIndex, topologies[i].second);
        form->EditNetworkButton(network);
        QCOMPARE(form->TopologyComboBox->currentText(), topologies[i].first);
        QTest::mouseClick(form->OKButton, Qt::LeftButton);
        QCOMPARE(network->NetworkName, topologies[i].first);
        QCOMPARE(network->TopologyIndex, topologies[i].second);
    }
    QCOMPARE(Chain().Element(1)->DisplayName(), QStringLiteral("T1 (1.544 Mbps)"));
    QCOMPARE(Chain().Element(2)->DisplayName(), QStringLiteral("Campus fibre (12.5 Mbps)"));
    QCOMPARE(QFile::exists(FEnvironment->SettingsFileName()), !registry);
    QVERIFY(FErrors.isEmpty());
}

void tst_LatencySettingsArea::noSubkeyIsAFirstStart()
{
    QVERIFY(!TStoreBackend::User().KeyExists(LatencySettingsKey));
    QCOMPARE(Chain().Count(), 3);
    QCOMPARE(Chain().NodeA()->PacketSize, 64);
    QCOMPARE(Chain().NodeB()->PacketSize, 1024);
    QCOMPARE(Chain().Element(1)->DisplayName(), UnknownTopologyName);
    QCOMPARE(FArea->NetworkButtonForm->TopologyComboBox->count(), 14);
    QVERIFY(FErrors.isEmpty());
}

void tst_LatencySettingsArea::corruptedSubkeyStartsWithAValidChain()
{
    FArea.reset();
    FEnvironment->WriteSettingsFile(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Vorl Group\\Tarvelo Calculator\\2.20\\LatencyCalc]\r\n"
        "\"NodeA\"=\"sixty-four\"\r\n"
        "\"NodeB\"=hex:00,10,00,00,ff,ff,ff,ff\r\n"
        "\"NumNetworks\"=dword:00000003\r\n"
        "\"Network1\"=hex:00,00,00,00,00,00,24,40,00,00,00,80,10,00,00,00,00,00,00,00,ff,ff,ff,7f\r\n"
        "\"Network1Name\"=\"Ethernet\"\r\n"
        "\"Network2\"=hex:01,02,03\r\n");
    FArea = std::make_unique<TLatencyArea>();
    FArea->LoadSettings();

    const QList<TNetworkElement *> chain = Chain().Elements();
    QCOMPARE(chain.size(), 5);
    QCOMPARE(Setup()->NetworkButton(chain.first()), Setup()->DesktopNetworkButton);
    QCOMPARE(Setup()->NetworkButton(chain.last()), Setup()->TowerNetworkButton);
    QCOMPARE(Chain().NodeA()->PacketSize, 64);       // default kept
    QCOMPARE(Chain().NodeB()->PacketSize, 4096);     // read
    QCOMPARE(Chain().NodeB()->ProcessTime, 0);       // -1 clamped
    // A node's kind in a network record, and positions far off the panel.
    QCOMPARE(chain.at(1)->NetworkButtonKind(), TNetworkButtonKind::nbUnknownNetwork);
    QCOMPARE(Setup()->NetworkButton(chain.at(1))->pos(), QPoint(210, 200));
    QCOMPARE(chain.at(2)->DisplayName(), UnknownTopologyName);
    QCOMPARE(FErrors.size(), 1);
    QCOMPARE(FErrors.first(), QStringLiteral("Invalid data type for 'NodeA'\n"
                                             "Invalid data type for 'Network2'\n"
                                             "Failed to get data for 'Network3'"));
    // The results are computed as for any chain.
    FArea->LatencyStatsTabSheetEnter();
    QVERIFY(!Chain().LatencyDirty());
}

void tst_LatencySettingsArea::tooManyNetworksFillTheChain()
{
    TLatencySettings settings;
    settings.Networks.assign(20, TStoredNetwork{TNetworkRecord{1.544, 75, 0, 5, 8}, TNetworkButtonKind::nbTCarrier,
                                                QStringLiteral("T1")});
    WriteLatencySettings(settings);
    {
        TRegKey key;
        QVERIFY(key.OpenKey(LatencySettingsKey, false));
        key.WriteInteger(QStringLiteral("NumNetworks"), 20);
        key.CloseKey();
    }
    FArea.reset();
    TSettingsStore::ResetInstance();
    FArea = std::make_unique<TLatencyArea>();
    FArea->LoadSettings();
    QCOMPARE(Chain().Count(), 16);
    QVERIFY(!Setup()->NewNetworkButton->isEnabled());
    QVERIFY(FErrors.isEmpty());
}

QTEST_MAIN(tst_LatencySettingsArea)
#include "tst_latencysettingsarea.moc"
