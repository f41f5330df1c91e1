#include <QTest>

#include <QRandomGenerator>

#include "latency/NetworkChain.h"

using namespace Qt::StringLiterals;
using K = TNetworkButtonKind;

Q_DECLARE_METATYPE(TNetworkCell)

namespace QTest {
template <>
char *toString(const TNetworkCell &cell)
{
    return qstrdup(qPrintable(u"cell (%1, %2)"_s.arg(cell.Column).arg(cell.Row)));
}
} // namespace QTest

// TNetworkChain: order, cells, selection and the setup page's editing rules,
// without a widget.
class tst_NetworkChain : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void initialState();
    void snapToGrid_data();
    void snapToGrid();
    void everyPixelFallsInOneCell();
    void insertPosition_data();
    void insertPosition();
    void insertFillsCellsInRowOrder();
    void insertSkipsCellsNetworksWereDraggedTo();
    void fourteenNetworksAtMost();
    void remove_data();
    void remove();
    void reset_data();
    void reset();
    void moveRules_data();
    void moveRules();
    void moveSwapsPlacesAndCells();
    void moveToCell_data();
    void moveToCell();
    void dropTargets();
    void elementChanges();
    void editingKeepsTheChainConsistent();

private:
    TNetworkElement *At(int index) const { return FChain->Element(index); }
    // Inserts before Node B until the chain holds `networks` networks.
    void GrowTo(int networks);
    QList<TNetworkCell> Cells() const;
    // Every signal from now on, as "inserted 2", "selected 3", ... with
    // the element's index at the time of the signal.
    void Record();

    std::unique_ptr<TNetworkChain> FChain;
    QStringList FLog;
};

void tst_NetworkChain::init()
{
    FChain = std::make_unique<TNetworkChain>();
    FLog.clear();
}

void tst_NetworkChain::cleanup()
{
    FChain.reset();
}

void tst_NetworkChain::GrowTo(int networks)
{
    while (FChain->NetworkCount() < networks) {
        FChain->Select(FChain->NodeB());
        QVERIFY(FChain->Insert());
    }
}

QList<TNetworkCell> tst_NetworkChain::Cells() const
{
    QList<TNetworkCell> cells;
    for (TNetworkElement *element : FChain->Elements())
        cells << FChain->Cell(element);
    return cells;
}

void tst_NetworkChain::Record()
{
    TNetworkChain *chain = FChain.get();
    const auto log = [this, chain](const char *what, const TNetworkElement *element) {
        FLog << u"%1 %2"_s.arg(QLatin1String(what)).arg(chain->IndexOf(element));
    };
    connect(chain, &TNetworkChain::ElementInserted, this, [this](int index) { FLog << u"inserted %1"_s.arg(index); });
    connect(chain, &TNetworkChain::ElementRemoved, this, [this](int index, TNetworkElement *element) {
        // Still alive, and no longer in the chain.
        FLog << u"removed %1 %2"_s.arg(index).arg(element->DisplayName());
    });
    connect(chain, &TNetworkChain::ElementsSwapped, this,
            [this](int left, int right) { FLog << u"swapped %1 %2"_s.arg(left).arg(right); });
    connect(chain, &TNetworkChain::CellChanged, this, [log](TNetworkElement *e) { log("cell", e); });
    connect(chain, &TNetworkChain::ElementSelected, this, [log](TNetworkElement *e) { log("selected", e); });
    connect(chain, &TNetworkChain::ElementChanged, this, [log](TNetworkElement *e) { log("changed", e); });
    connect(chain, &TNetworkChain::CommandsChanged, this, [this] { FLog << u"commands"_s; });
    connect(chain, &TNetworkChain::LatencyDirtied, this, [this] { FLog << u"dirty"_s; });
}

void tst_NetworkChain::initialState()
{
    QCOMPARE(FChain->Count(), 2);
    QCOMPARE(FChain->NetworkCount(), 0);
    TNetworkElement *nodeA = FChain->NodeA();
    TNetworkElement *nodeB = FChain->NodeB();
    QCOMPARE(nodeA->NetworkButtonKind(), K::nbDesktopCPU);
    QCOMPARE(nodeB->NetworkButtonKind(), K::nbTowerCPU);
    QCOMPARE(nodeA->DisplayName(), u"Node A (512 bytes)"_s);
    QCOMPARE(nodeB->DisplayName(), u"Node B (512 bytes)"_s);
    QCOMPARE(FChain->Cell(nodeA), (TNetworkCell{0, 0}));
    QCOMPARE(FChain->Cell(nodeB), (TNetworkCell{3, 3}));
    QCOMPARE(CellOrigin(FChain->Cell(nodeA)), QPoint(8, 8));
    QCOMPARE(CellOrigin(FChain->Cell(nodeB)), QPoint(210, 200));
    QCOMPARE(FChain->Selected(), nodeB);
    QVERIFY(FChain->LatencyDirty());
    QVERIFY(FChain->CanInsert());
    QVERIFY(!FChain->CanDrag(nodeA));
    QCOMPARE(FChain->Element(2), nullptr);
    QCOMPARE(FChain->Element(-1), nullptr);

    // The first network, as a first start makes it.
    TNetworkElement *network = FChain->Insert();
    QCOMPARE(FChain->Elements(), (QList<TNetworkElement *>{nodeA, network, nodeB}));
    QCOMPARE(network->NetworkButtonKind(), K::nbUnknownNetwork);
    QCOMPARE(network->DisplayName(), u"<Unknown Topology>"_s);
    QCOMPARE(CellOrigin(FChain->Cell(network)), QPoint(75, 8));
    QCOMPARE(FChain->Selected(), network);
    QVERIFY(!FChain->CanMoveLeft());
    QVERIFY(!FChain->CanMoveRight());
    QVERIFY(!FChain->CanRemove(network));
    QVERIFY(FChain->CanDrag(network));
}

void tst_NetworkChain::snapToGrid_data()
{
    QTest::addColumn<int>("coordinate");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<int>("origin");
    QTest::newRow("left 0") << 0 << true << 8;
    QTest::newRow("left 66") << 66 << true << 8;
    QTest::newRow("left 67") << 67 << true << 75;
    QTest::newRow("left 133") << 133 << true << 75;
    QTest::newRow("left 134") << 134 << true << 143;
    QTest::newRow("left 200") << 200 << true << 143;
    QTest::newRow("left 201") << 201 << true << 210;
    QTest::newRow("left negative counts as huge") << -1 << true << 210;
    QTest::newRow("top 64") << 64 << false << 8;
    QTest::newRow("top 65") << 65 << false << 72;
    QTest::newRow("top 129") << 129 << false << 72;
    QTest::newRow("top 130") << 130 << false << 136;
    QTest::newRow("top 194") << 194 << false << 136;
    QTest::newRow("top 195") << 195 << false << 200;
    QTest::newRow("top negative counts as huge") << -20 << false << 200;
}

void tst_NetworkChain::snapToGrid()
{
    QFETCH(int, coordinate);
    QFETCH(bool, horizontal);
    QFETCH(int, origin);
    QCOMPARE(SnapToGrid(coordinate, horizontal ? Qt::Horizontal : Qt::Vertical), origin);
}

// Every position of the panel and beyond belongs to the cell whose origin
// SnapToGrid gives, and every cell origin lies in its own cell.
void tst_NetworkChain::everyPixelFallsInOneCell()
{
    for (int v = -300; v <= 600; ++v) {
        const TNetworkCell cell = CellAt(QPoint(v, v));
        QCOMPARE(CellOrigin(cell), QPoint(SnapToGrid(v, Qt::Horizontal), SnapToGrid(v, Qt::Vertical)));
    }
    for (int column = 0; column < NetworkGridSize; ++column)
        for (int row = 0; row < NetworkGridSize; ++row)
            QCOMPARE(CellAt(CellOrigin({column, row})), (TNetworkCell{column, row}));
}

void tst_NetworkChain::insertPosition_data()
{
    QTest::addColumn<int>("selected"); // index selected before the insert, of a chain of two networks
    QTest::addColumn<int>("inserted");
    QTest::newRow("Node A selected: right after Node A") << 0 << 1;
    QTest::newRow("first network selected: before it") << 1 << 1;
    QTest::newRow("second network selected: before it") << 2 << 2;
    QTest::newRow("Node B selected: before Node B") << 3 << 3;
}

void tst_NetworkChain::insertPosition()
{
    QFETCH(int, selected);
    QFETCH(int, inserted);
    GrowTo(2);
    FChain->ClearLatencyDirty();
    const QList<TNetworkElement *> before = FChain->Elements();
    FChain->Select(before[selected]);
    Record();
    TNetworkElement *added = FChain->Insert();
    QVERIFY(added && !before.contains(added));
    QList<TNetworkElement *> expected = before;
    expected.insert(inserted, added);
    QCOMPARE(FChain->Elements(), expected);
    QCOMPARE(FChain->Selected(), added);
    QVERIFY(FChain->LatencyDirty());
    const QString index = QString::number(inserted);
    QCOMPARE(FLog, (QStringList{u"inserted "_s + index, u"selected "_s + index, u"commands"_s, u"dirty"_s}));
}

void tst_NetworkChain::insertFillsCellsInRowOrder()
{
    GrowTo(14);
    QList<TNetworkCell> expected;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            expected << TNetworkCell{column, row};
    // Each new network went before Node B, which keeps its corner.
    QCOMPARE(Cells(), expected);
}

void tst_NetworkChain::insertSkipsCellsNetworksWereDraggedTo()
{
    GrowTo(1);
    // The first network is dragged from (75, 8) to (8, 72).
    QVERIFY(FChain->MoveToCell(At(1), CellAt(QPoint(30, 90))));
    QCOMPARE(CellOrigin(FChain->Cell(At(1))), QPoint(8, 72));
    GrowTo(3);
    QCOMPARE(CellOrigin(FChain->Cell(At(2))), QPoint(75, 8));
    QCOMPARE(CellOrigin(FChain->Cell(At(3))), QPoint(143, 8));
    GrowTo(5);
    QCOMPARE(CellOrigin(FChain->Cell(At(4))), QPoint(210, 8));
    QCOMPARE(CellOrigin(FChain->Cell(At(5))), QPoint(75, 72));
}

void tst_NetworkChain::fourteenNetworksAtMost()
{
    GrowTo(13);
    QVERIFY(FChain->CanInsert());
    GrowTo(14);
    QCOMPARE(FChain->Count(), TNetworkChain::MaxElements);
    QVERIFY(!FChain->CanInsert());
    FChain->ClearLatencyDirty();
    Record();
    QCOMPARE(FChain->Insert(), nullptr);
    QCOMPARE(FChain->Count(), 16);
    QVERIFY(FLog.isEmpty());
    QVERIFY(!FChain->LatencyDirty());

    QVERIFY(FChain->Remove(At(7)));
    QVERIFY(FChain->CanInsert());
}

void tst_NetworkChain::remove_data()
{
    QTest::addColumn<int>("networks");
    QTest::addColumn<int>("index"); // of the element to remove; -1 one of no chain, -2 none
    QTest::addColumn<bool>("removed");
    QTest::addColumn<int>("selected"); // index selected afterwards
    QTest::newRow("first network selects its follower") << 3 << 1 << true << 1;
    QTest::newRow("middle network selects its follower") << 3 << 2 << true << 2;
    QTest::newRow("last network selects Node B") << 3 << 3 << true << 3;
    QTest::newRow("one of two networks") << 2 << 2 << true << 2;
    QTest::newRow("sole network stays") << 1 << 1 << false << 1;
    QTest::newRow("Node A stays") << 2 << 0 << false << 2;
    QTest::newRow("Node B stays") << 2 << 3 << false << 2;
    QTest::newRow("element of another chain") << 2 << -1 << false << 2;
    QTest::newRow("no element") << 2 << -2 << false << 2;
}

void tst_NetworkChain::remove()
{
    QFETCH(int, networks);
    QFETCH(int, index);
    QFETCH(bool, removed);
    QFETCH(int, selected);
    GrowTo(networks);
    TNetworkChain other;
    TNetworkElement *element = index >= 0 ? At(index) : index == -1 ? other.NodeB() : nullptr;
    QList<TNetworkElement *> expected = FChain->Elements();
    if (removed)
        expected.removeAt(index);
    // "Remove" is offered exactly where it works.
    QCOMPARE(FChain->CanRemove(element), removed);
    FChain->ClearLatencyDirty();
    Record();
    QCOMPARE(FChain->Remove(element), removed);
    QCOMPARE(FChain->Elements(), expected);
    QCOMPARE(FChain->IndexOf(FChain->Selected()), selected);
    QVERIFY(FChain->LatencyDirty()); // set even when refused
    QStringList log{u"dirty"_s};
    if (removed)
        log = QStringList{u"removed %1 <Unknown Topology>"_s.arg(index), u"selected %1"_s.arg(selected),
                          u"commands"_s} + log;
    QCOMPARE(FLog, log);
}

void tst_NetworkChain::reset_data()
{
    QTest::addColumn<int>("networks");
    QTest::addColumn<TNetworkCell>("cell"); // of the new network
    // The new network takes the first cell that the nodes and the last old
    // network leave free.
    QTest::newRow("one network at (75, 8)") << 1 << TNetworkCell{2, 0};
    QTest::newRow("five networks, the last at (75, 72)") << 5 << TNetworkCell{1, 0};
    QTest::newRow("fourteen networks") << 14 << TNetworkCell{1, 0};
}

void tst_NetworkChain::reset()
{
    QFETCH(int, networks);
    QFETCH(TNetworkCell, cell);
    GrowTo(networks);
    FChain->NodeA()->PacketSize = 100;
    FChain->NodeB()->ProcessTime = 7;
    TNetworkElement *configured = At(1);
    configured->SetNetworkButtonKind(K::nbATM);
    configured->NetworkName = u"ATM"_s;
    configured->RebuildDisplayName();
    FChain->Select(FChain->NodeA());
    FChain->ClearLatencyDirty();
    Record();
    FChain->Reset();
    QCOMPARE(FChain->NodeA()->DisplayName(), u"Node A (512 bytes)"_s); // rebuilt by whoever sets the size

    QCOMPARE(FChain->Count(), 3);
    TNetworkElement *network = At(1);
    QCOMPARE(network->NetworkButtonKind(), K::nbUnknownNetwork);
    QCOMPARE(network->DisplayName(), u"<Unknown Topology>"_s);
    QCOMPARE(FChain->Selected(), network);
    QCOMPARE(FChain->Cell(network), cell);
    QVERIFY(FChain->LatencyDirty());
    QCOMPARE(FChain->NodeA()->PacketSize, 100);
    QCOMPARE(FChain->NodeB()->ProcessTime, 7);
    // The views see the removals one by one from the front (the configured
    // network first), then the new network, then the last old one going.
    QStringList removals;
    for (int i = 1; i <= networks; ++i)
        removals << (i == 1 ? u"removed 1 ATM (0 Mbps)"_s : u"removed 1 <Unknown Topology>"_s);
    const QStringList afterRemoval{u"selected 1"_s, u"commands"_s, u"dirty"_s};
    QStringList log;
    for (int i = 0; i + 1 < networks; ++i)
        log << removals[i] << afterRemoval;
    log << u"selected 2"_s << u"inserted 2"_s << u"selected 2"_s << u"commands"_s << u"dirty"_s;
    log << removals.last() << afterRemoval << u"dirty"_s;
    QCOMPARE(FLog, log);
}

void tst_NetworkChain::moveRules_data()
{
    QTest::addColumn<int>("selected"); // in a chain of three networks
    QTest::addColumn<bool>("left");
    QTest::addColumn<bool>("right");
    QTest::newRow("first network") << 1 << false << true;
    QTest::newRow("middle network") << 2 << true << true;
    QTest::newRow("last network") << 3 << true << false;
    QTest::newRow("Node A") << 0 << false << false;
    QTest::newRow("Node B") << 4 << false << false;
}

// The commands' enabled state and the commands themselves agree.
void tst_NetworkChain::moveRules()
{
    QFETCH(int, selected);
    QFETCH(bool, left);
    QFETCH(bool, right);
    GrowTo(3);
    FChain->Select(At(selected));
    QTEST(FChain->CanMoveLeft(), "left");
    QTEST(FChain->CanMoveRight(), "right");
    // A move that is offered works and the opposite one undoes it; one
    // that is not changes nothing.
    const QList<TNetworkElement *> before = FChain->Elements();
    QCOMPARE(FChain->MoveLeft(), left);
    if (left)
        QVERIFY(FChain->MoveRight());
    QCOMPARE(FChain->Elements(), before);
    QCOMPARE(FChain->MoveRight(), right);
    if (right)
        QVERIFY(FChain->MoveLeft());
    QCOMPARE(FChain->Elements(), before);
    QCOMPARE(FChain->Selected(), before[selected]);
}

void tst_NetworkChain::moveSwapsPlacesAndCells()
{
    GrowTo(3);
    const QList<TNetworkElement *> before = FChain->Elements();
    const QList<TNetworkCell> cells = Cells();
    FChain->Select(At(2));
    FChain->ClearLatencyDirty();
    Record();
    QVERIFY(FChain->MoveRight());
    QCOMPARE(FChain->Elements(), (QList<TNetworkElement *>{before[0], before[1], before[3], before[2], before[4]}));
    // Positions stay where they were: the two elements exchanged them.
    QCOMPARE(Cells(), cells);
    QCOMPARE(FChain->Cell(before[2]), cells[3]);
    QCOMPARE(FChain->Selected(), before[2]);
    QVERIFY(!FChain->LatencyDirty());
    QCOMPARE(FLog, (QStringList{u"swapped 2 3"_s, u"selected 3"_s}));

    FLog.clear();
    QVERIFY(FChain->MoveLeft());
    QVERIFY(FChain->MoveLeft());
    QCOMPARE(FChain->IndexOf(before[2]), 1);
    QCOMPARE(FLog, (QStringList{u"swapped 2 3"_s, u"selected 2"_s, u"swapped 1 2"_s, u"selected 1"_s}));
}

void tst_NetworkChain::moveToCell_data()
{
    QTest::addColumn<int>("index"); // in a chain of two networks
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QPoint>("origin"); // afterwards
    QTest::newRow("network to 140, 10") << 1 << QPoint(140, 10) << true << QPoint(143, 8);
    QTest::newRow("network to 250, 20") << 1 << QPoint(250, 20) << true << QPoint(210, 8);
    QTest::newRow("network to the bottom left") << 1 << QPoint(5, 250) << true << QPoint(8, 200);
    QTest::newRow("network onto the other network's cell") << 1 << QPoint(150, 10) << true << QPoint(143, 8);
    QTest::newRow("network onto Node B's cell") << 2 << QPoint(260, 250) << true << QPoint(210, 200);
    QTest::newRow("network onto its own cell") << 2 << QPoint(140, 10) << true << QPoint(143, 8);
    QTest::newRow("Node A stays") << 0 << QPoint(140, 10) << false << QPoint(8, 8);
    QTest::newRow("Node B stays") << 3 << QPoint(8, 8) << false << QPoint(210, 200);
}

// A drag over the panel's surface puts the network on the cell under the
// pointer at once, whoever holds it; order and delays are untouched.
void tst_NetworkChain::moveToCell()
{
    QFETCH(int, index);
    QFETCH(QPoint, pointer);
    QFETCH(bool, accepted);
    GrowTo(2);
    const QList<TNetworkElement *> order = FChain->Elements();
    const QPoint before = CellOrigin(FChain->Cell(At(index)));
    FChain->ClearLatencyDirty();
    Record();
    QCOMPARE(FChain->MoveToCell(At(index), CellAt(pointer)), accepted);
    QTEST(CellOrigin(FChain->Cell(At(index))), "origin");
    QCOMPARE(FChain->Elements(), order);
    QVERIFY(!FChain->LatencyDirty());
    const bool moved = CellOrigin(FChain->Cell(At(index))) != before;
    QCOMPARE(FLog, moved ? QStringList{u"cell %1"_s.arg(index)} : QStringList());
}

void tst_NetworkChain::dropTargets()
{
    GrowTo(2);
    TNetworkElement *dragged = At(1);
    QVERIFY(FChain->AcceptsDropOn(At(2), dragged));
    QVERIFY(FChain->AcceptsDropOn(dragged, dragged));
    QVERIFY(!FChain->AcceptsDropOn(FChain->NodeA(), dragged));
    QVERIFY(!FChain->AcceptsDropOn(FChain->NodeB(), dragged));
    QVERIFY(!FChain->AcceptsDropOn(At(2), nullptr));
    TNetworkChain other;
    QVERIFY(!FChain->AcceptsDropOn(other.NodeA(), dragged));

    QVERIFY(!FChain->MoveToCell(other.NodeB(), {1, 1}));
    QVERIFY(!FChain->MoveToCell(nullptr, {1, 1}));
    QVERIFY(!FChain->MoveToCell(dragged, {4, 0}));
    QVERIFY(!FChain->MoveToCell(dragged, {0, -1}));
    QCOMPARE(FChain->Cell(dragged), (TNetworkCell{1, 0}));
}

void tst_NetworkChain::elementChanges()
{
    GrowTo(1);
    TNetworkElement *network = At(1);
    Record();
    network->SetNetworkButtonKind(K::nbTCarrier);
    network->SetNetworkButtonKind(K::nbTCarrier);
    network->NetworkName = u"T1"_s;
    network->Bandwidth = 1.544;
    network->RebuildDisplayName();
    network->RebuildDisplayName();
    FChain->NodeA()->PacketSize = 64;
    FChain->NodeA()->RebuildDisplayName();
    QCOMPARE(network->DisplayName(), u"T1 (1.544 Mbps)"_s);
    QCOMPARE(FLog, (QStringList{u"changed 1"_s, u"changed 1"_s, u"changed 0"_s}));
}

void tst_NetworkChain::editingKeepsTheChainConsistent()
{
    // Many commands in a fixed pseudo-random order; after each one the
    // chain keeps its shape and its commands agree with it.
    QRandomGenerator random(20261208);
    GrowTo(1);
    Record();
    for (int step = 0; step < 2000; ++step) {
        const int n = FChain->Count();
        TNetworkElement *any = At(int(random.bounded(n)));
        const TNetworkCell cell{int(random.bounded(4)), int(random.bounded(4))};
        FLog.clear();
        switch (random.bounded(8)) {
        case 0:
        case 1:
            FChain->Select(any);
            FChain->Insert();
            break;
        case 2:
            FChain->Remove(any);
            break;
        case 3:
            FChain->Select(any);
            random.bounded(2) ? FChain->MoveLeft() : FChain->MoveRight();
            break;
        case 4:
            FChain->MoveToCell(any, cell);
            break;
        case 5:
            if (random.bounded(20) == 0)
                FChain->Reset();
            break;
        default:
            FChain->Select(any);
            break;
        }
        const int networks = FChain->NetworkCount();
        QVERIFY(networks >= 1 && networks <= 14);
        QCOMPARE(FChain->NodeA()->NetworkButtonKind(), K::nbDesktopCPU);
        QCOMPARE(FChain->NodeB()->NetworkButtonKind(), K::nbTowerCPU);
        QCOMPARE(FChain->Cell(FChain->NodeA()), (TNetworkCell{0, 0}));
        QCOMPARE(FChain->Cell(FChain->NodeB()), (TNetworkCell{3, 3}));
        QVERIFY(FChain->IndexOf(FChain->Selected()) >= 0);
        QCOMPARE(FChain->CanInsert(), networks < 14);
        for (int k = 1; k <= networks; ++k) {
            QVERIFY(!At(k)->IsNode());
            QCOMPARE(FChain->CanRemove(At(k)), networks >= 2);
        }
        // Every change of the set of networks was announced, and nothing else.
        const qsizetype changes = FLog.filter(u"inserted"_s).size() + FLog.filter(u"removed"_s).size();
        QCOMPARE(FLog.count(u"commands"_s), changes);
        QCOMPARE(FLog.filter(u"inserted"_s).size() - FLog.filter(u"removed"_s).size(), FChain->Count() - n);
    }
}

QTEST_APPLESS_MAIN(tst_NetworkChain)
#include "tst_networkchain.moc"
