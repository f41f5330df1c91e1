// The latency area's results through the user's road: the chain edited in
// the properties dialog, then the statistics and graphs pages entered
// through the page control.

#include <memory>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "app/VorlGlobal.h"
#include "controls/Application.h"
#include "controls/BetterSpinEdit.h"
#include "controls/PageControl.h"
#include "controls/RainbowBar.h"
#include "controls/SuperStringGrid.h"
#include "controls/VorlPanels.h"
#include "latency/LatencyArea.h"
#include "latency/LatencyGraphsPage.h"
#include "latency/LatencyStatsPage.h"
#include "latency/NetworkButton.h"
#include "latency/NetworkButtonForm.h"
#include "latency/NetworkSetupPage.h"
#include "tests/common/TestEnvironment.h"

using namespace Qt::StringLiterals;

class tst_LatencyStatsArea : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStartTable();
    void t1ExampleCopiedInEveryDirection_data();
    void t1ExampleCopiedInEveryDirection();
    void reenteringReformatsWithoutRecomputing();
    void copyCommandFollowsThePages();
    void overflowKeepsThePreviousTable();
    void fourteenNetworksGiveEighteenRows();
    void movedNetworksExchangeColours();
    void grabPages();

private:
    TNetworkSetupPage *Setup() const { return FArea->NetworkSetupTabSheet; }
    TNetworkChain &Chain() const { return FArea->Chain(); }
    void Enter(QWidget *page) { FArea->LatencyCalcPageControl->SetActivePage(page); }
    void PickTopology(int index);
    void ConfigureNetwork(TNetworkElement *network, int topology);
    void ConfigureNode(TNetworkElement *node, qint32 processTime, qint32 packetSize);
    void BuildT1Example();
    QStringList GridColumn(int col) const;
    QString CopiedTable();

    std::unique_ptr<TTestEnvironment> FEnvironment;
    std::unique_ptr<TLatencyArea> FArea;
    QStringList FErrors;
};

void tst_LatencyStatsArea::init()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
    FErrors.clear();
    SetErrorMessageHandler([this](const QString &message) { FErrors << message; });
    FArea = std::make_unique<TLatencyArea>();
    FArea->LoadSettings();
    // The main window's page bookkeeping.
    ConnectPageSwitches(FArea.get());
    FArea->show();
}

void tst_LatencyStatsArea::cleanup()
{
    FArea.reset();
    SetErrorMessageHandler({});
    FEnvironment.reset();
}

void tst_LatencyStatsArea::PickTopology(int index)
{
    QComboBox *box = FArea->NetworkButtonForm->TopologyComboBox;
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void tst_LatencyStatsArea::ConfigureNetwork(TNetworkElement *network, int topology)
{
    TNetworkButtonForm *form = FArea->NetworkButtonForm;
    form->EditNetworkButton(network);
    PickTopology(topology);
    QTest::mouseClick(form->OKButton, Qt::LeftButton);
}

void tst_LatencyStatsArea::ConfigureNode(TNetworkElement *node, qint32 processTime, qint32 packetSize)
{
    TNetworkButtonForm *form = FArea->NetworkButtonForm;
    form->EditNetworkButton(node);
    form->ProcessTimeSpinEdit->SetValue(processTime);
    form->PacketSizeSpinEdit->SetValue(packetSize);
    QTest::mouseClick(form->OKButton, Qt::LeftButton);
}

void tst_LatencyStatsArea::BuildT1Example()
{
    ConfigureNetwork(Chain().Element(1), 10);  // T1
    ConfigureNode(Chain().NodeA(), 10, 64);
    ConfigureNode(Chain().NodeB(), 20, 1024);
}

QStringList tst_LatencyStatsArea::GridColumn(int col) const
{
    const TSuperStringGrid *grid = FArea->LatencyStatsPage->LatencyStatsStringGrid;
    QStringList cells;
    for (int row = 0; row < grid->RowCount(); ++row)
        cells << grid->Cells(col, row);
    return cells;
}

QString tst_LatencyStatsArea::CopiedTable()
{
    ClearClipboard();
    QTest::mouseClick(FArea->LatencyStatsPage->LatencyStatsStringGrid->CornerButton(), Qt::LeftButton);
    QTest::mouseClick(FArea->LatencyStatsPage->CopyLatencyStatsButton, Qt::LeftButton);
    return ClipboardText();
}

void tst_LatencyStatsArea::firstStartTable()
{
    Enter(FArea->LatencyStatsTabSheet);
    QCOMPARE(GridColumn(0), (QStringList{u"Network Element"_s, u"Node A (64 bytes)"_s, u"<Unknown Topology>"_s,
                                         u"Node B (1024 bytes)"_s, u"Totals:"_s}));
    QCOMPARE(GridColumn(1), (QStringList{u"Delay (sec)"_s, u"0.0000000"_s, u"0.0000000"_s, u"0.0000000"_s, u"0.0000000"_s}));
    QCOMPARE(GridColumn(2), (QStringList{u"Percent"_s, u"0.0%"_s, u"0.0%"_s, u"0.0%"_s, u"100.0%"_s}));
    QVERIFY(FErrors.isEmpty());
}

void tst_LatencyStatsArea::t1ExampleCopiedInEveryDirection_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("table");
    const QString header = QStringLiteral("Network Element\tDelay (sec)\tPercent\r\n");
    QTest::newRow("A to B") << 0
                            << header + QStringLiteral("Node A (64 bytes)\t0.0100000\t65.2%\r\n"
                                        "T1 (1.544 Mbps)\t0.0053316\t34.8%\r\n"
                                        "Node B (1024 bytes)\t0.0000000\t0.0%\r\n"
                                        "Totals:\t0.0153316\t100.0%\r\n");
    QTest::newRow("B to A") << 1
                            << header + QStringLiteral("Node A (64 bytes)\t0.0000000\t0.0%\r\n"
                                        "T1 (1.544 Mbps)\t0.0103057\t34.0%\r\n"
                                        "Node B (1024 bytes)\t0.0200000\t66.0%\r\n"
                                        "Totals:\t0.0303057\t100.0%\r\n");
    QTest::newRow("round trip") << 2
                                << header + QStringLiteral("Node A (64 bytes)\t0.0100000\t24.6%\r\n"
                                            "T1 (1.544 Mbps)\t0.0106373\t26.2%\r\n"
                                            "Node B (1024 bytes)\t0.0200000\t49.2%\r\n"
                                            "Totals:\t0.0406373\t100.0%\r\n");
}

void tst_LatencyStatsArea::t1ExampleCopiedInEveryDirection()
{
    QFETCH(int, item);
    QFETCH(QString, table);
    BuildT1Example();
    Enter(FArea->LatencyStatsTabSheet);
    QTest::mouseClick(FArea->LatencyStatsPage->PacketDirRadioGroup->findChildren<QRadioButton *>().at(item),
                      Qt::LeftButton);
    QCOMPARE(CopiedTable(), table);
}

void tst_LatencyStatsArea::reenteringReformatsWithoutRecomputing()
{
    BuildT1Example();
    Enter(FArea->LatencyStatsTabSheet);
    QVERIFY(!Chain().LatencyDirty());
    // A result changed behind the computation's back shows as it is: no
    // recomputation without the mark.
    Chain().Element(1)->DelayBToA = 0.5f;
    QTest::mouseClick(FArea->LatencyStatsPage->PacketDirRadioGroup->findChildren<QRadioButton *>().at(1),
                      Qt::LeftButton);
    QCOMPARE(GridColumn(1).at(2), QStringLiteral("0.5000000"));
    Enter(FArea->NetworkSetupTabSheet);
    Enter(FArea->LatencyStatsTabSheet);
    QCOMPARE(GridColumn(1).at(2), QStringLiteral("0.5000000"));
    // Apply in the dialog marks the results out of date.
    ConfigureNode(Chain().NodeB(), 20, 1024);
    QVERIFY(Chain().LatencyDirty());
    FArea->LatencyStatsTabSheetEnter();
    QCOMPARE(GridColumn(1).at(2), QStringLiteral("0.0103057"));
}

void tst_LatencyStatsArea::copyCommandFollowsThePages()
{
    qRegisterMetaType<QAbstractButton *>();
    QSignalSpy targets(FArea.get(), &TCalcArea::CopyTargetChanged);
    QSignalSpy enabled(FArea.get(), &TCalcArea::CopyEnabledChanged);
    Enter(FArea->LatencyStatsTabSheet);
    QCOMPARE(targets.last().at(0).value<QAbstractButton *>(), FArea->LatencyStatsPage->CopyLatencyStatsButton);
    Enter(FArea->LatencyGraphsTabSheet);
    QCOMPARE(enabled.last().at(0).toBool(), false);
    QCOMPARE(targets.last().at(0).value<QAbstractButton *>(), FArea->LatencyGraphsPage->CopyLatencyGraphsButton);
    enabled.clear();
    Enter(FArea->NetworkSetupTabSheet);
    QCOMPARE(enabled.first().at(0).toBool(), false);
}

void tst_LatencyStatsArea::overflowKeepsThePreviousTable()
{
    BuildT1Example();
    Enter(FArea->LatencyStatsTabSheet);
    const QStringList before = GridColumn(1);
    Enter(FArea->NetworkSetupTabSheet);
    ConfigureNode(Chain().NodeA(), 10, 2147483647);
    try {
        FArea->LatencyStatsTabSheetEnter();
        QFAIL("no error raised");
    } catch (const TVorlError &error) {
        QCOMPARE(error.Message(), QStringLiteral("Integer overflow"));
    }
    QCOMPARE(GridColumn(1), before);
    QVERIFY(Chain().LatencyDirty());
    ConfigureNode(Chain().NodeA(), 10, 64);
    FArea->LatencyStatsTabSheetEnter();
    QVERIFY(!Chain().LatencyDirty());
}

void tst_LatencyStatsArea::fourteenNetworksGiveEighteenRows()
{
    while (Chain().Count() < 16)
        Setup()->NewNetworkButtonClick();
    Enter(FArea->LatencyStatsTabSheet);
    QCOMPARE(FArea->LatencyStatsPage->LatencyStatsStringGrid->RowCount(), 18);
    QCOMPARE(GridColumn(0).last(), QStringLiteral("Totals:"));
    Enter(FArea->LatencyGraphsTabSheet);
    QCOMPARE(FArea->LatencyGraphsPage->findChild<QLabel *>(QStringLiteral("WhiteLabel"))->text(),
             QStringLiteral("Node B (1024 bytes)"));
}

void tst_LatencyStatsArea::movedNetworksExchangeColours()
{
    Chain().Select(Chain().NodeB());
    Setup()->NewNetworkButtonClick();
    ConfigureNetwork(Chain().Element(1), 10);  // T1
    ConfigureNetwork(Chain().Element(2), 8);   // Satellite
    Enter(FArea->LatencyGraphsTabSheet);
    const auto &legend = FArea->LatencyGraphsPage->FLegendList;
    QCOMPARE(legend[1].first->text(), QStringLiteral("T1 (1.544 Mbps)"));
    QCOMPARE(legend[2].first->text(), QStringLiteral("Satellite (0.512 Mbps)"));
    Enter(FArea->NetworkSetupTabSheet);
    QTest::mouseClick(Setup()->NetworkButton(Chain().Element(1)), Qt::LeftButton);
    QTest::mouseClick(Setup()->MoveNetworkRightButton, Qt::LeftButton);
    Enter(FArea->LatencyGraphsTabSheet);
    QCOMPARE(legend[1].first->text(), QStringLiteral("Satellite (0.512 Mbps)"));
    QCOMPARE(legend[2].first->text(), QStringLiteral("T1 (1.544 Mbps)"));
    QCOMPARE(FArea->LatencyGraphsPage->RainbowBarA->Stripes(1).Value(), Chain().Element(1)->FractionAToB);
}

void tst_LatencyStatsArea::grabPages()
{
    const QString target = qEnvironmentVariable("TARVELO_GRAB_DIR");
    if (target.isEmpty())
        QSKIP("set TARVELO_GRAB_DIR to keep pictures of the pages");
    BuildT1Example();
    Enter(FArea->LatencyStatsTabSheet);
    QVERIFY(FArea->grab().save(target + QStringLiteral("/latencyarea-stats.png")));
    Enter(FArea->LatencyGraphsTabSheet);
    QVERIFY(FArea->grab().save(target + QStringLiteral("/latencyarea-graphs.png")));
}

QTEST_MAIN(tst_LatencyStatsArea)
#include "tst_latencystatsarea.moc"
