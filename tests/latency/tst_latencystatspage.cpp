#include <memory>

#include <QGroupBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "controls/SuperStringGrid.h"
#include "latency/LatencyStatsPage.h"
#include "latency/NetworkChain.h"
#include "tests/common/TestEnvironment.h"

class tst_LatencyStatsPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void layoutAndHeader();
    void directionClickAsksForARefill();
    void filledColumnsFitTheirTexts();

private:
    QStringList Column(int col) const;

    std::unique_ptr<TTestEnvironment> FEnvironment;
    // Node A 10 ms and 64 bytes, a T1 line, Node B 20 ms and 1024 bytes.
    TNetworkChain FChain;
    TLatencyTotals FTotals;
    std::unique_ptr<TLatencyStatsPage> FPage;
};

void tst_LatencyStatsPage::initTestCase()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
    TNetworkElement *nodeA = FChain.NodeA();
    nodeA->PacketSize = 64;
    nodeA->ProcessTime = 10;
    nodeA->RebuildDisplayName();
    TNetworkElement *t1 = FChain.Insert();
    t1->SetNetworkButtonKind(TNetworkButtonKind::nbTCarrier);
    t1->NetworkName = QStringLiteral("T1");
    t1->Bandwidth = 1.544;
    t1->PropDelay = 5;
    t1->RebuildDisplayName();
    TNetworkElement *nodeB = FChain.NodeB();
    nodeB->PacketSize = 1024;
    nodeB->ProcessTime = 20;
    nodeB->RebuildDisplayName();
    FTotals = ComputeLatencyResults(FChain.Elements());
}

void tst_LatencyStatsPage::init()
{
    FPage = std::make_unique<TLatencyStatsPage>(FChain, FTotals);
    FPage->show();
}

QStringList tst_LatencyStatsPage::Column(int col) const
{
    QStringList cells;
    for (int row = 0; row < FPage->LatencyStatsStringGrid->RowCount(); ++row)
        cells.append(FPage->LatencyStatsStringGrid->Cells(col, row));
    return cells;
}

void tst_LatencyStatsPage::layoutAndHeader()
{
    auto *group = FPage->findChild<QGroupBox *>(QStringLiteral("PacketDirRadioGroup"));
    QVERIFY(group);
    QCOMPARE(group->geometry(), QRect(0, 0, 209, 81));
    QCOMPARE(group->title(), QStringLiteral("Packet Direction"));
    const QList<QRadioButton *> items = group->findChildren<QRadioButton *>();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items.at(0)->text(), QStringLiteral("Node &A   --> Node B"));
    QCOMPARE(items.at(1)->text(), QStringLiteral("Node A <--   Node &B"));
    QCOMPARE(items.at(2)->text(), QStringLiteral("&Node A <--> Node B"));
    QVERIFY(items.at(0)->isChecked());
    for (QRadioButton *item : items)
        QVERIFY(item->sizeHint().width() <= item->width());

    auto *copy = FPage->findChild<QToolButton *>(QStringLiteral("CopyLatencyStatsButton"));
    QVERIFY(copy);
    QCOMPARE(copy->geometry(), QRect(228, 56, 25, 25));
    QCOMPARE(copy->toolTip(), QStringLiteral("Copy latency statistics table to clipboard"));
    QCOMPARE(copy->accessibleName(), copy->toolTip());

    auto *grid = FPage->findChild<TSuperStringGrid *>(QStringLiteral("LatencyStatsStringGrid"));
    QVERIFY(grid);
    QCOMPARE(grid->geometry(), QRect(0, 88, 268, 197));
    QCOMPARE(grid->ColCount(), 3);
    QCOMPARE(grid->FixedRows(), 1);
    QCOMPARE(grid->FixedCols(), 0);
    QCOMPARE(grid->ColWidths(0), 145);
    QCOMPARE(grid->Cells(0, 0), QStringLiteral("Network Element"));
    QCOMPARE(grid->Cells(1, 0), QStringLiteral("Delay (sec)"));
    QCOMPARE(grid->Cells(2, 0), QStringLiteral("Percent"));
    QCOMPARE(grid->ColAlignments(0), TAlignment::taLeftJustify);
    QCOMPARE(grid->ColAlignments(1), TAlignment::taRightJustify);
    QCOMPARE(grid->ColAlignments(2), TAlignment::taRightJustify);
}

void tst_LatencyStatsPage::directionClickAsksForARefill()
{
    QSignalSpy spy(FPage.get(), &TLatencyStatsPage::PacketDirRadioGroupClick);
    QTest::mouseClick(FPage->findChildren<QRadioButton *>().at(1), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
}

void tst_LatencyStatsPage::filledColumnsFitTheirTexts()
{
    FPage->SetPacketDirection(TPacketDirection::pdRoundTrip);
    FPage->FillGrid();
    QCOMPARE(FPage->LatencyStatsStringGrid->RowCount(), 5);
    QCOMPARE(Column(1).last(), QStringLiteral("0.0406373"));
    const QFontMetrics metrics(FPage->LatencyStatsStringGrid->font());
    for (int col = 0; col < 3; ++col)
        for (const QString &text : Column(col))
            QVERIFY(metrics.horizontalAdvance(text) + 4 <= FPage->LatencyStatsStringGrid->ColWidths(col));
    const QString target = qEnvironmentVariable("TARVELO_GRAB_DIR");
    if (!target.isEmpty())
        QVERIFY(FPage->grab().save(target + QStringLiteral("/latencystatspage.png")));
}

QTEST_MAIN(tst_LatencyStatsPage)
#include "tst_latencystatspage.moc"
