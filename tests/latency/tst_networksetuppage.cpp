#include <QtTest>

#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include "controls/BetterSpinEdit.h"
#include "controls/PageControl.h"
#include "controls/VorlPanels.h"
#include "latency/LatencyArea.h"
#include "latency/NetworkButton.h"
#include "latency/NetworkButtonForm.h"
#include "latency/NetworkSetupPage.h"
#include "tests/common/TestEnvironment.h"

using namespace Qt::StringLiterals;
using K = TNetworkButtonKind;

namespace {

// A drag over a window as the window system delivers it (what a QDrag
// does between press and release): every event goes to the window, which
// hands it to the widget under the pointer that accepts drops, or to the
// nearest such ancestor, with enter and leave as that target changes. The
// move after an accepted enter arrives accepted, as the platform proposes it.
class TWindowDrag
{
public:
    TWindowDrag(QWidget *window, const QMimeData *data)
        : FWindow(window->windowHandle())
        , FData(data)
    {
    }

    // A drag not dropped is cancelled: the window is left.
    ~TWindowDrag()
    {
        if (FEntered) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(FWindow, &leave);
        }
    }
    Q_DISABLE_COPY_MOVE(TWindowDrag)

    // The pointer moves to `pos` (window coordinates); true when the drop
    // would be accepted there.
    bool MoveTo(const QPoint &pos)
    {
        if (!FEntered) {
            FEntered = true;
            QDragEnterEvent enter(pos, Qt::MoveAction, FData, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(FWindow, &enter);
            FAction = enter.isAccepted() ? enter.dropAction() : Qt::IgnoreAction;
        }
        QDragMoveEvent move(pos, Qt::MoveAction, FData, Qt::LeftButton, Qt::NoModifier);
        if (FAction != Qt::IgnoreAction) {
            move.setDropAction(FAction);
            move.accept();
        }
        QCoreApplication::sendEvent(FWindow, &move);
        FAction = move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
        return move.isAccepted();
    }

    // The button is released at `pos`; true when the drop was accepted.
    bool Drop(const QPoint &pos)
    {
        QDropEvent drop(pos, Qt::MoveAction, FData, Qt::LeftButton, Qt::NoModifier);
        if (FAction != Qt::IgnoreAction) {
            drop.setDropAction(FAction);
            drop.accept();
        }
        FEntered = false;
        QCoreApplication::sendEvent(FWindow, &drop);
        return drop.isAccepted();
    }

private:
    QWindow *FWindow;
    const QMimeData *FData;
    bool FEntered = false;
    Qt::DropAction FAction = Qt::IgnoreAction;
};

} // namespace

class tst_NetworkSetupPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void firstStart();
    void controls();
    void insertPosition_data();
    void insertPosition();
    void insertFillsCellsInRowOrder();
    void insertSkipsCellsNetworksWereDraggedTo();
    void fourteenthNetworkDisablesInsert();
    void removeSelectsTheFollower();
    void lastNetworkIsNeverRemoved();
    void submenuCaptions();
    void resetLayout();
    void moveRules();
    void moveSwapsPlacesAndOrder();
    void dragOverPanel_data();
    void dragOverPanel();
    void dragOverPanelThroughEvents();
    void dragRefusals();
    void dragHidesTheLines();
    void dragOverNetworks();
    void dragOverAnElement_data();
    void dragOverAnElement();
    void mouseDragOfNetworksOnly();
    void selectionByMouse();
    void linesFollowTheChain();
    void copyLayoutPicture();
    void pageEnterAndExit();
    void dialogFollowsTheSelection();
    void dialogApplyKeepsRemoveRule();
    void removingTheEditedNetwork_data();
    void removingTheEditedNetwork();
    void editingKeepsTheChainConsistent();

private:
    TNetworkButton *Network(int index) const { return FPage->FNetworkList.at(index); }
    // A point of the setup panel in the coordinates of the window.
    QPoint InWindow(const QPoint &panelPos) const { return FPage->NetworkSetupPanel->mapTo(FArea, panelPos); }
    static QPoint Centre(const QWidget *element) { return element->geometry().center(); }
    // Inserts before Node B until the chain holds `networks` networks.
    void GrowTo(int networks);
    void Configure(TNetworkButton *network, K kind, const QString &name, double bandwidth);
    QList<QPoint> Positions() const;
    // Moves through the open dialog's topology list with the arrow keys.
    static void PickTopology(TNetworkButtonForm *form, int index);
    void SaveGrab(QWidget *widget, const QString &name);

    std::unique_ptr<TTestEnvironment> FEnvironment;
    TLatencyArea *FArea = nullptr;
    TNetworkSetupPage *FPage = nullptr;
};

void tst_NetworkSetupPage::initTestCase()
{
    qRegisterMetaType<QAbstractButton *>();
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_NetworkSetupPage::init()
{
    FEnvironment->ClearSettings();
    FArea = new TLatencyArea;
    FArea->LoadSettings();
    FArea->show();
    QVERIFY(QTest::qWaitForWindowExposed(FArea));
    FPage = FArea->findChild<TNetworkSetupPage *>(u"NetworkSetupTabSheet"_s);
    QVERIFY(FPage);
}

void tst_NetworkSetupPage::cleanup()
{
    delete FArea;
    FArea = nullptr;
    QVERIFY(!TNetworkButtonForm::GetNetworkButtonForm(false));
}

void tst_NetworkSetupPage::GrowTo(int networks)
{
    while (FPage->FNetworkList.size() < networks + 2) {
        FPage->SelectNetworkButton(FPage->TowerNetworkButton);
        QTest::mouseClick(FPage->NewNetworkButton, Qt::LeftButton);
    }
}

void tst_NetworkSetupPage::Configure(TNetworkButton *network, K kind, const QString &name, double bandwidth)
{
    network->SetNetworkButtonKind(kind);
    network->NetworkName = name;
    network->Bandwidth = bandwidth;
    network->RebuildDisplayName();
}

QList<QPoint> tst_NetworkSetupPage::Positions() const
{
    QList<QPoint> positions;
    for (const TNetworkButton *element : FPage->FNetworkList)
        positions << element->pos();
    return positions;
}

void tst_NetworkSetupPage::PickTopology(TNetworkButtonForm *form, int index)
{
    form->TopologyComboBox->setFocus();
    while (form->TopologyComboBox->currentIndex() < index)
        QTest::keyClick(form->TopologyComboBox, Qt::Key_Down);
}

void tst_NetworkSetupPage::SaveGrab(QWidget *widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("TARVELO_GRAB_DIR");
    if (!folder.isEmpty())
        widget->grab().save(folder + u'/' + name + u".png"_s);
}

void tst_NetworkSetupPage::firstStart()
{
    QCOMPARE(FArea->PageControl()->currentWidget(), FPage);
    QCOMPARE(FPage->FNetworkList.size(), 3);
    TNetworkButton *nodeA = FPage->DesktopNetworkButton;
    TNetworkButton *nodeB = FPage->TowerNetworkButton;
    QCOMPARE(Network(0), nodeA);
    QCOMPARE(Network(2), nodeB);
    QCOMPARE(nodeA->NetworkButtonKind(), K::nbDesktopCPU);
    QCOMPARE(nodeB->NetworkButtonKind(), K::nbTowerCPU);
    QCOMPARE(nodeA->pos(), QPoint(8, 8));
    QCOMPARE(nodeB->pos(), QPoint(210, 200));
    QCOMPARE(nodeA->DisplayName(), u"Node A (64 bytes)"_s);
    QCOMPARE(nodeB->DisplayName(), u"Node B (1024 bytes)"_s);
    QVERIFY(!nodeA->RemoveCommandVisible());
    QVERIFY(!nodeB->RemoveCommandVisible());

    TNetworkButton *network = Network(1);
    QCOMPARE(network->NetworkButtonKind(), K::nbUnknownNetwork);
    QCOMPARE(network->toolTip(), u"<Unknown Topology>"_s);
    QCOMPARE(network->pos(), QPoint(75, 8));
    QCOMPARE(FPage->FSelectedButton, network);
    QVERIFY(!network->RemoveCommandVisible());

    QVERIFY(!FPage->MoveNetworkLeftButton->isEnabled());
    QVERIFY(!FPage->MoveNetworkRightButton->isEnabled());
    QVERIFY(!FPage->RemoveNetwork1->menuAction()->isVisible());
    QCOMPARE(FPage->RemoveNetwork1->actions().size(), 1);
    QVERIFY(FPage->NewNetworkButton->isEnabled());
    QVERIFY(FPage->FLatencyDirty);
    QVERIFY(FArea->NetworkButtonForm);
    QVERIFY(!FArea->NetworkButtonForm->isVisible());
    SaveGrab(FArea, u"networksetup-firststart"_s);
}

void tst_NetworkSetupPage::controls()
{
    QCOMPARE(FPage->CopyNetworkSetupButton->accessibleName(), u"Copy network setup to clipboard"_s);
    QVERIFY(!FPage->CopyNetworkSetupButton->icon().isNull());
    const QList<QAction *> items = FPage->NetworkSetupPopupMenu->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0], FPage->NewNetwork1);
    QCOMPARE(items[1]->menu(), FPage->RemoveNetwork1);
    // Captions fit their buttons at the design font.
    for (QPushButton *button : {FPage->NewNetworkButton, FPage->ResetNetworkButton}) {
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text().remove(u'&')) + 8 <= button->width(),
                 qPrintable(button->text()));
    }
}

void tst_NetworkSetupPage::insertPosition_data()
{
    QTest::addColumn<int>("selected"); // list index selected before the insert
    QTest::addColumn<int>("inserted");
    QTest::newRow("Node A selected: right after Node A") << 0 << 1;
    QTest::newRow("first network selected: before it") << 1 << 1;
    QTest::newRow("second network selected: before it") << 2 << 2;
    QTest::newRow("Node B selected: before Node B") << 3 << 3;
}

void tst_NetworkSetupPage::insertPosition()
{
    QFETCH(int, selected);
    QFETCH(int, inserted);
    GrowTo(2);
    FPage->FLatencyDirty = false;
    const QList<TNetworkButton *> before = FPage->FNetworkList;
    QTest::mouseClick(before[selected], Qt::LeftButton);
    QCOMPARE(FPage->FSelectedButton, before[selected]);
    QTest::mouseClick(FPage->NewNetworkButton, Qt::LeftButton);
    QCOMPARE(FPage->FNetworkList.size(), 5);
    TNetworkButton *added = Network(inserted);
    QVERIFY(!before.contains(added));
    QCOMPARE(FPage->FSelectedButton, added);
    QVERIFY(FPage->FLatencyDirty);
    QList<TNetworkButton *> expected = before;
    expected.insert(inserted, added);
    QCOMPARE(FPage->FNetworkList, expected);
    QCOMPARE(FPage->RemoveNetwork1->actions().size(), 3);
}

void tst_NetworkSetupPage::insertFillsCellsInRowOrder()
{
    GrowTo(14);
    // Cells in order of insertion: each new network went before Node B.
    const QList<QPoint> expected = {{8, 8},    {75, 8},   {143, 8},  {210, 8},  {8, 72},   {75, 72},
                                    {143, 72}, {210, 72}, {8, 136},  {75, 136}, {143, 136}, {210, 136},
                                    {8, 200},  {75, 200}, {143, 200}, {210, 200}};
    QCOMPARE(Positions(), expected);
    SaveGrab(FArea, u"networksetup-full"_s);
}

void tst_NetworkSetupPage::insertSkipsCellsNetworksWereDraggedTo()
{
    // The first network is dragged from (75, 8) to (8, 72).
    QVERIFY(FPage->NetworkSetupPanelDragOver(Network(1), QPoint(30, 90)));
    QCOMPARE(Network(1)->pos(), QPoint(8, 72));
    GrowTo(3);
    QCOMPARE(Network(2)->pos(), QPoint(75, 8));
    QCOMPARE(Network(3)->pos(), QPoint(143, 8));
    GrowTo(5);
    QCOMPARE(Network(4)->pos(), QPoint(210, 8));
    QCOMPARE(Network(5)->pos(), QPoint(75, 72));
}

void tst_NetworkSetupPage::fourteenthNetworkDisablesInsert()
{
    GrowTo(13);
    QVERIFY(FPage->NewNetworkButton->isEnabled());
    GrowTo(14);
    QCOMPARE(FPage->FNetworkList.size(), 16);
    QVERIFY(!FPage->NewNetworkButton->isEnabled());
    QVERIFY(!FPage->NewNetwork1->isEnabled());
    FPage->NewNetworkButtonClick();
    QCOMPARE(FPage->FNetworkList.size(), 16);
    QCOMPARE(FPage->RemoveNetwork1->actions().size(), 14);

    FPage->RemoveNetwork1->actions().at(6)->trigger();
    QCOMPARE(FPage->FNetworkList.size(), 15);
    QVERIFY(FPage->NewNetworkButton->isEnabled());
    QVERIFY(FPage->NewNetwork1->isEnabled());
}

void tst_NetworkSetupPage::removeSelectsTheFollower()
{
    GrowTo(3);
    TNetworkButton *first = Network(1);
    TNetworkButton *second = Network(2);
    TNetworkButton *third = Network(3);
    QVERIFY(first->RemoveCommandVisible());
    FPage->FLatencyDirty = false;

    FPage->NetworkButtonRemove(second);
    QCOMPARE(FPage->FNetworkList, (QList<TNetworkButton *>{FPage->DesktopNetworkButton, first, third,
                                                           FPage->TowerNetworkButton}));
    QCOMPARE(FPage->FSelectedButton, third);
    QVERIFY(FPage->FLatencyDirty);
    QVERIFY(!second->isVisible());
    QVERIFY(!second->InLayout());
    QCOMPARE(FPage->RemoveNetwork1->actions().size(), 2);
    delete second;

    FPage->NetworkButtonRemove(third);
    QCOMPARE(FPage->FSelectedButton, FPage->TowerNetworkButton);
    QCOMPARE(FPage->FNetworkList.size(), 3);
    QVERIFY(!FPage->RemoveNetwork1->menuAction()->isVisible());
    QVERIFY(!first->RemoveCommandVisible());
    delete third;
}

void tst_NetworkSetupPage::lastNetworkIsNeverRemoved()
{
    // The sole network's own command (hidden anyway) changes nothing.
    QPointer<TNetworkButton> only = Network(1);
    QVERIFY(!only->RemoveCommandVisible());
    FPage->FLatencyDirty = false;
    only->RemoveItem()->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!only.isNull());
    QVERIFY(only->InLayout());
    QCOMPARE(FPage->FNetworkList.size(), 3);
    QVERIFY(FPage->FLatencyDirty); // set even when refused
    // Nodes are never removed either.
    GrowTo(2);
    FPage->NetworkButtonRemove(FPage->DesktopNetworkButton);
    FPage->NetworkButtonRemove(FPage->TowerNetworkButton);
    QCOMPARE(FPage->FNetworkList.size(), 4);
    QCOMPARE(FPage->FNetworkList.first(), FPage->DesktopNetworkButton);
}

void tst_NetworkSetupPage::submenuCaptions()
{
    GrowTo(2);
    Configure(Network(1), K::nbEthernet, u"Ethernet"_s, 10);
    Configure(Network(2), K::nbTCarrier, u"T1"_s, 1.544);
    FPage->SelectNetworkButton(Network(2));
    emit FPage->RemoveNetwork1->aboutToShow();
    QList<QAction *> items = FPage->RemoveNetwork1->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0]->text(), u"1.  Ethernet (10 Mbps)"_s);
    QCOMPARE(items[1]->text(), u"2.  T1 (1.544 Mbps)"_s);
    QCOMPARE(FPage->RemoveNetwork1->defaultAction(), items[1]);

    // A node selected: the default item stays as it was.
    FPage->SelectNetworkButton(FPage->DesktopNetworkButton);
    emit FPage->RemoveNetwork1->aboutToShow();
    QCOMPARE(FPage->RemoveNetwork1->defaultAction(), items[1]);
    FPage->SelectNetworkButton(Network(1));
    emit FPage->RemoveNetwork1->aboutToShow();
    QCOMPARE(FPage->RemoveNetwork1->defaultAction(), items[0]);

    // A name with "&" shows it literally.
    Configure(Network(1), K::nbOther, u"AT&T"_s, 1);
    emit FPage->RemoveNetwork1->aboutToShow();
    QCOMPARE(items[0]->text(), u"1.  AT&&T (1 Mbps)"_s);
}

void tst_NetworkSetupPage::resetLayout()
{
    FPage->DesktopNetworkButton->PacketSize = 100;
    FPage->TowerNetworkButton->ProcessTime = 7;
    GrowTo(5);
    Configure(Network(3), K::nbATM, u"ATM"_s, 25);
    FPage->FLatencyDirty = false;
    QTest::mouseClick(FPage->ResetNetworkButton, Qt::LeftButton);
    QCOMPARE(FPage->FNetworkList.size(), 3);
    TNetworkButton *network = Network(1);
    QCOMPARE(network->NetworkButtonKind(), K::nbUnknownNetwork);
    QCOMPARE(network->DisplayName(), u"<Unknown Topology>"_s);
    QCOMPARE(FPage->FSelectedButton, network);
    QVERIFY(FPage->FLatencyDirty);
    QVERIFY(!network->RemoveCommandVisible());
    QVERIFY(!FPage->RemoveNetwork1->menuAction()->isVisible());
    QCOMPARE(FPage->RemoveNetwork1->actions().size(), 1);
    QCOMPARE(FPage->DesktopNetworkButton->PacketSize, 100);
    QCOMPARE(FPage->TowerNetworkButton->ProcessTime, 7);
    // The removed networks are gone from the panel.
    QCOMPARE(FPage->NetworkSetupPanel->findChildren<TNetworkButton *>().size(), 3);
}

void tst_NetworkSetupPage::moveRules()
{
    GrowTo(3);
    const auto enabled = [this](TNetworkButton *element) {
        FPage->SelectNetworkButton(element);
        return std::pair(FPage->MoveNetworkLeftButton->isEnabled(), FPage->MoveNetworkRightButton->isEnabled());
    };
    QCOMPARE(enabled(Network(1)), std::pair(false, true));
    QCOMPARE(enabled(Network(2)), std::pair(true, true));
    QCOMPARE(enabled(Network(3)), std::pair(true, false));
    QCOMPARE(enabled(FPage->DesktopNetworkButton), std::pair(false, false));
    QCOMPARE(enabled(FPage->TowerNetworkButton), std::pair(false, false));

    // The handler itself refuses too.
    const QList<TNetworkButton *> order = FPage->FNetworkList;
    FPage->SelectNetworkButton(Network(1));
    FPage->MoveNetworkButtonClick(FPage->MoveNetworkLeftButton);
    FPage->SelectNetworkButton(FPage->TowerNetworkButton);
    FPage->MoveNetworkButtonClick(FPage->MoveNetworkLeftButton);
    QCOMPARE(FPage->FNetworkList, order);
}

void tst_NetworkSetupPage::moveSwapsPlacesAndOrder()
{
    GrowTo(3);
    TNetworkButton *first = Network(1);
    TNetworkButton *second = Network(2);
    const QPoint firstPos = first->pos();
    const QPoint secondPos = second->pos();
    FPage->SelectNetworkButton(first);
    FPage->FLatencyDirty = false;
    QTest::mouseClick(FPage->MoveNetworkRightButton, Qt::LeftButton);
    QCOMPARE(Network(1), second);
    QCOMPARE(Network(2), first);
    QCOMPARE(first->pos(), secondPos);
    QCOMPARE(second->pos(), firstPos);
    QVERIFY(first->isVisible());
    QCOMPARE(FPage->FSelectedButton, first);
    QVERIFY(FPage->MoveNetworkLeftButton->isEnabled());
    QVERIFY(!FPage->FLatencyDirty);
    QTest::mouseClick(FPage->MoveNetworkLeftButton, Qt::LeftButton);
    QCOMPARE(Network(1), first);
    QCOMPARE(first->pos(), firstPos);
}

void tst_NetworkSetupPage::dragOverPanel_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QPoint>("cell");
    QTest::newRow("140, 10") << QPoint(140, 10) << QPoint(143, 8);
    QTest::newRow("250, 20") << QPoint(250, 20) << QPoint(210, 8);
    QTest::newRow("bottom left") << QPoint(5, 250) << QPoint(8, 200);
}

void tst_NetworkSetupPage::dragOverPanel()
{
    QFETCH(QPoint, pointer);
    QFETCH(QPoint, cell);
    TNetworkButton *network = Network(1);
    FPage->NetworkButtonStartDrag(network);
    QVERIFY(FPage->NetworkSetupPanelDragOver(network, pointer));
    QCOMPARE(network->pos(), cell);
    FPage->NetworkButtonEndDrag(network);
    QCOMPARE(network->pos(), cell);
    QCOMPARE(Network(1), network); // positions only, never the order
}

void tst_NetworkSetupPage::dragOverPanelThroughEvents()
{
    GrowTo(2);
    TNetworkButton *dragged = Network(1);
    TNetworkButton *other = Network(2);
    FPage->NetworkSetupPanelDragOver(other, QPoint(80, 80));
    QCOMPARE(other->pos(), QPoint(75, 72));
    FPage->FLatencyDirty = false;

    // On the free margin of the occupied cell the dragged one covers the other.
    TNetworkButtonMimeData data(dragged);
    TWindowDrag drag(FArea, &data);
    QVERIFY(drag.MoveTo(InWindow(QPoint(70, 66))));
    QCOMPARE(dragged->pos(), QPoint(75, 72));
    QCOMPARE(other->pos(), QPoint(75, 72));
    QVERIFY(!FPage->FLatencyDirty);
}

void tst_NetworkSetupPage::dragRefusals()
{
    TNetworkButton *network = Network(1);
    const QPoint before = network->pos();
    QObject stranger;
    QVERIFY(!FPage->NetworkSetupPanelDragOver(&stranger, QPoint(140, 10)));
    QVERIFY(!FPage->NetworkSetupPanelDragOver(nullptr, QPoint(140, 10)));
    QVERIFY(!FPage->NetworkSetupPanelDragOver(FPage->TowerNetworkButton, QPoint(140, 10)));
    QCOMPARE(FPage->TowerNetworkButton->pos(), QPoint(210, 200));
    QCOMPARE(network->pos(), before);

    QMimeData text;
    text.setText(u"not an element"_s);
    TWindowDrag drag(FArea, &text);
    QVERIFY(!drag.MoveTo(InWindow(QPoint(140, 10))));
    QVERIFY(!drag.MoveTo(InWindow(Centre(network))));
    QVERIFY(!drag.Drop(InWindow(Centre(network))));
    QCOMPARE(network->pos(), before);
}

void tst_NetworkSetupPage::dragHidesTheLines()
{
    TVorlCustomPanel *panel = FPage->NetworkSetupPanel;
    const QRgb line = panel->palette().color(QPalette::WindowText).rgb();
    // Between Node A (8, 8) and the network (75, 8) the line runs at y 33.
    QCOMPARE(panel->grab().toImage().pixel(66, 33), line);
    FPage->NetworkButtonStartDrag(Network(1));
    QVERIFY(panel->grab().toImage().pixel(66, 33) != line);
    FPage->NetworkButtonEndDrag(Network(1));
    QCOMPARE(panel->grab().toImage().pixel(66, 33), line);
}

void tst_NetworkSetupPage::dragOverNetworks()
{
    GrowTo(2);
    TNetworkButton *dragged = Network(1);
    TNetworkButton *crossed = Network(2);
    const QPoint before = crossed->pos();
    QVERIFY(FPage->NetworkButtonDragOver(crossed, dragged));
    QVERIFY(FPage->NetworkButtonDragOver(dragged, dragged));
    QCOMPARE(crossed->cursor().shape(), Qt::DragMoveCursor);
    QCOMPARE(crossed->pos(), before);
    QObject stranger;
    QVERIFY(!FPage->NetworkButtonDragOver(crossed, &stranger));

    // Delivered as the window delivers a drag: accepted over a network ...
    TNetworkButtonMimeData data(dragged);
    TWindowDrag drag(FArea, &data);
    QVERIFY(drag.MoveTo(InWindow(Centre(crossed) + QPoint(15, 15))));
    // ... refused over a node, which nothing moves onto.
    QVERIFY(!drag.MoveTo(InWindow(Centre(FPage->TowerNetworkButton))));
    QCOMPARE(dragged->pos(), QPoint(75, 8));
    QCOMPARE(crossed->pos(), before);

    FPage->NetworkButtonEndDrag(dragged);
    QCOMPARE(dragged->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(crossed->cursor().shape(), Qt::ArrowCursor);
}

void tst_NetworkSetupPage::dragOverAnElement_data()
{
    QTest::addColumn<int>("over");      // list index of the element under the pointer; -1: the panel
    QTest::addColumn<QPoint>("pointer"); // on the panel, when over no element
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QPoint>("landed"); // where the dragged network ends up
    // The chain: Node A (8, 8), the dragged network (75, 8), another
    // network (143, 8), Node B (210, 200).
    QTest::newRow("Node A") << 0 << QPoint() << false << QPoint(75, 8);
    QTest::newRow("Node B") << 3 << QPoint() << false << QPoint(75, 8);
    QTest::newRow("another network") << 2 << QPoint() << true << QPoint(75, 8);
    QTest::newRow("the dragged network") << 1 << QPoint() << true << QPoint(75, 8);
    QTest::newRow("a free cell") << -1 << QPoint(160, 90) << true << QPoint(143, 72);
}

void tst_NetworkSetupPage::dragOverAnElement()
{
    QFETCH(int, over);
    QFETCH(QPoint, pointer);
    QFETCH(bool, accepted);
    QFETCH(QPoint, landed);
    GrowTo(2);
    TNetworkButton *dragged = Network(1);
    const QList<TNetworkButton *> chain = FPage->FNetworkList;
    QList<QPoint> expected = Positions();
    expected[1] = landed;
    if (over >= 0)
        pointer = Centre(chain[over]) + QPoint(10, 10);
    FPage->FLatencyDirty = false;

    // The drag begins over the dragged network (5 pixels from the press),
    // then the pointer jumps to the target and the button is released.
    TNetworkButtonMimeData data(dragged);
    TWindowDrag drag(FArea, &data);
    QVERIFY(drag.MoveTo(InWindow(Centre(dragged) + QPoint(5, 0))));
    QCOMPARE(dragged->pos(), QPoint(75, 8));
    QCOMPARE(drag.MoveTo(InWindow(pointer)), accepted);
    QCOMPARE(Positions(), expected);
    QCOMPARE(drag.Drop(InWindow(pointer)), accepted);
    QCOMPARE(Positions(), expected);
    QCOMPARE(FPage->FNetworkList, chain);
    QVERIFY(!FPage->FLatencyDirty);
}

void tst_NetworkSetupPage::mouseDragOfNetworksOnly()
{
    GrowTo(2);
    TNetworkButton *network = Network(1);
    Network(2)->raise();
    QSignalSpy started(network, &TNetworkButton::StartDrag);
    QSignalSpy ended(network, &TNetworkButton::EndDrag);
    bool linesHidden = false;
    connect(network, &TNetworkButton::StartDrag, this, [&] {
        // Connected after the page: the page's start handling has run.
        linesHidden = !FPage->NetworkSetupPanel->GenerateOnPaint();
    });
    const auto drag = [](TNetworkButton *element, int distance) {
        QTest::mousePress(element, Qt::LeftButton, {}, QPoint(20, 20));
        const QPointF to(20 + distance, 20);
        QMouseEvent move(QEvent::MouseMove, to, element->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(element, &move);
        QTest::mouseRelease(element, Qt::LeftButton, {}, to.toPoint());
    };
    drag(network, 4);
    QCOMPARE(started.size(), 0);
    drag(network, 5);
    // The offscreen platform ends the drag at once, as a cancelled drag.
    QCOMPARE(started.size(), 1);
    QCOMPARE(ended.size(), 1);
    QVERIFY(linesHidden);
    QVERIFY(FPage->NetworkSetupPanel->GenerateOnPaint());
    QCOMPARE(FPage->NetworkSetupPanel->children().last(), network); // brought to the front
    QCOMPARE(network->pos(), QPoint(75, 8));
    QCOMPARE(FPage->FSelectedButton, network);

    QSignalSpy nodeStarted(FPage->DesktopNetworkButton, &TNetworkButton::StartDrag);
    drag(FPage->DesktopNetworkButton, 30);
    QCOMPARE(nodeStarted.size(), 0);
}

void tst_NetworkSetupPage::selectionByMouse()
{
    GrowTo(3);
    QTest::mouseClick(Network(2), Qt::LeftButton);
    QCOMPARE(FPage->FSelectedButton, Network(2));
    QVERIFY(FPage->MoveNetworkLeftButton->isEnabled());
    QTest::mousePress(FPage->DesktopNetworkButton, Qt::RightButton);
    QCOMPARE(FPage->FSelectedButton, FPage->DesktopNetworkButton);
    QTRY_VERIFY(FPage->DesktopNetworkButton->ElementMenu()->isVisible());
    FPage->DesktopNetworkButton->ElementMenu()->close();
    QTest::mouseRelease(FPage->DesktopNetworkButton, Qt::RightButton);
    QVERIFY(!FPage->MoveNetworkLeftButton->isEnabled());
    QVERIFY(!FPage->NetworkSetupPopupMenu->isVisible());
}

void tst_NetworkSetupPage::linesFollowTheChain()
{
    GrowTo(2);
    TVorlCustomPanel *panel = FPage->NetworkSetupPanel;
    const QRgb line = panel->palette().color(QPalette::WindowText).rgb();
    const auto lineNear = [&](const QImage &picture, int x, int y) {
        bool found = false;
        for (int dy = -2; dy <= 2; ++dy)
            found |= picture.pixel(x, y + dy) == line;
        return found;
    };
    QImage image = panel->grab().toImage();
    QCOMPARE(image.pixel(66, 32), line); // 2 pixels wide
    QCOMPARE(image.pixel(66, 33), line);
    QCOMPARE(image.pixel(66, 31), FPage->NetworkSetupPanel->Color().rgb());
    QCOMPARE(image.pixel(66, 34), FPage->NetworkSetupPanel->Color().rgb());

    // The first network dragged below the second: the chain order stays,
    // so the lines run A -> (143, 72) -> (143, 8) -> B and cross nothing.
    FPage->NetworkSetupPanelDragOver(Network(1), QPoint(150, 80));
    QCOMPARE(Network(1)->pos(), QPoint(143, 72));
    image = panel->grab().toImage();
    QVERIFY(image.pixel(66, 33) != line);
    QVERIFY(lineNear(image, 100, 65));  // halfway from A to (168, 97)
    QVERIFY(lineNear(image, 201, 129)); // halfway from (168, 33) to B
    SaveGrab(panel, u"networksetup-dragged"_s);
}

void tst_NetworkSetupPage::copyLayoutPicture()
{
    GrowTo(2);
    ClearClipboard();
    QTest::mouseClick(FPage->CopyNetworkSetupButton, Qt::LeftButton);
    const QImage copied = ClipboardImage();
    const QSize panel = FPage->NetworkSetupPanel->size();
    QCOMPARE(copied.size(), QSize(panel.width() - 2, panel.height() - 2));
    // The picture holds the element pictures and the lines, shifted by the bevel.
    const QImage shown = FPage->NetworkSetupPanel->grab().toImage();
    QCOMPARE(copied.convertToFormat(shown.format()), shown.copy(1, 1, panel.width() - 2, panel.height() - 2));
    QCOMPARE(copied.pixel(65, 32), FPage->NetworkSetupPanel->palette().color(QPalette::WindowText).rgb());
}

void tst_NetworkSetupPage::pageEnterAndExit()
{
    QSignalSpy target(FArea, &TCalcArea::CopyTargetChanged);
    QSignalSpy enabled(FArea, &TCalcArea::CopyEnabledChanged);
    FArea->PageEntered(FPage);
    QCOMPARE(target.size(), 1);
    QCOMPARE(target[0][0].value<QAbstractButton *>(), FPage->CopyNetworkSetupButton);
    FArea->PageLeaving(FPage);
    QCOMPARE(enabled.size(), 1);
    QCOMPARE(enabled[0][0].toBool(), false);
}

void tst_NetworkSetupPage::dialogFollowsTheSelection()
{
    TNetworkButton *network = Network(1);
    TNetworkButtonForm *form = TNetworkButtonForm::GetNetworkButtonForm(false);
    QVERIFY(form);
    // While hidden, the dialog ignores the selection.
    FPage->SelectNetworkButton(FPage->TowerNetworkButton);
    QVERIFY(!form->isVisible());
    QVERIFY(form->EditedButton() != FPage->TowerNetworkButton);

    network->PropertiesItem()->trigger();
    QVERIFY(form->isVisible());
    QCOMPARE(form->EditedButton(), network);
    PickTopology(form, 4);
    QCOMPARE(form->windowTitle(), u"Ethernet Properties"_s);
    SaveGrab(form, u"networkbuttonform-ethernet"_s);

    QTest::mouseClick(FPage->DesktopNetworkButton, Qt::LeftButton);
    QCOMPARE(form->EditedButton(), FPage->DesktopNetworkButton);
    QCOMPARE(form->windowTitle(), u"Node A Properties"_s);
    QVERIFY(form->StationPanel->isVisible());
    QCOMPARE(form->PacketSizeSpinEdit->Value(), 64);
    QCOMPARE(network->NetworkButtonKind(), K::nbUnknownNetwork); // nothing stored
}

void tst_NetworkSetupPage::dialogApplyKeepsRemoveRule()
{
    TNetworkButton *network = Network(1);
    network->PropertiesItem()->trigger();
    TNetworkButtonForm *form = TNetworkButtonForm::GetNetworkButtonForm(false);
    PickTopology(form, 8);
    FPage->FLatencyDirty = false;
    QTest::mouseClick(form->OKButton, Qt::LeftButton);
    QCOMPARE(network->DisplayName(), u"Satellite (0.512 Mbps)"_s);
    QVERIFY(FPage->FLatencyDirty);
    QVERIFY(!network->RemoveCommandVisible());

    GrowTo(2);
    QVERIFY(network->RemoveCommandVisible());
    SaveGrab(FArea, u"networksetup-satellite"_s);
}

void tst_NetworkSetupPage::removingTheEditedNetwork_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("its own Remove") << 0;
    QTest::newRow("the Remove Network submenu") << 1;
    QTest::newRow("Reset Layout") << 2;
}

void tst_NetworkSetupPage::removingTheEditedNetwork()
{
    QFETCH(int, how);
    GrowTo(3);
    QPointer<TNetworkButton> edited = Network(2);
    TNetworkButton *follower = Network(3);
    edited->PropertiesItem()->trigger();
    TNetworkButtonForm *form = TNetworkButtonForm::GetNetworkButtonForm(false);
    QVERIFY(form->isVisible());
    QCOMPARE(form->EditedButton(), edited.data());

    if (how == 0)
        edited->RemoveItem()->trigger();
    else if (how == 1)
        FPage->RemoveNetwork1->actions().at(1)->trigger();
    else
        QTest::mouseClick(FPage->ResetNetworkButton, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(edited.isNull());
    QCOMPARE(FPage->FNetworkList.size(), how == 2 ? 3 : 4);

    // The network that followed is selected (after a reset, the new one);
    // the open dialog follows the selection, and OK stores there.
    TNetworkButton *selected = FPage->FSelectedButton;
    QCOMPARE(selected, how == 2 ? Network(1) : follower);
    QCOMPARE(form->EditedButton(), selected);
    PickTopology(form, 10);
    QTest::mouseClick(form->OKButton, Qt::LeftButton);
    QCOMPARE(selected->DisplayName(), u"T1 (1.544 Mbps)"_s);
}

void tst_NetworkSetupPage::editingKeepsTheChainConsistent()
{
    // Many commands in a fixed pseudo-random order, the dialog open part of
    // the time; after each one the chain and its commands agree.
    QRandomGenerator random(20261208);
    TNetworkButtonForm *form = TNetworkButtonForm::GetNetworkButtonForm(false);
    for (int step = 0; step < 600; ++step) {
        const qsizetype n = FPage->FNetworkList.size();
        TNetworkButton *any = Network(int(random.bounded(n)));
        TNetworkButton *network = Network(1 + int(random.bounded(n - 2)));
        switch (random.bounded(9)) {
        case 0:
        case 1:
            FPage->SelectNetworkButton(any);
            QTest::mouseClick(FPage->NewNetworkButton, Qt::LeftButton);
            break;
        case 2:
            network->RemoveItem()->trigger();
            break;
        case 3:
            emit FPage->RemoveNetwork1->aboutToShow();
            if (!FPage->RemoveNetwork1->actions().isEmpty())
                FPage->RemoveNetwork1->actions().at(random.bounded(FPage->RemoveNetwork1->actions().size()))->trigger();
            break;
        case 4:
            FPage->SelectNetworkButton(any);
            QTest::mouseClick(random.bounded(2) ? FPage->MoveNetworkLeftButton : FPage->MoveNetworkRightButton,
                              Qt::LeftButton);
            break;
        case 5:
            FPage->NetworkButtonStartDrag(network);
            FPage->NetworkSetupPanelDragOver(network, QPoint(random.bounded(268), random.bounded(257)));
            FPage->NetworkButtonEndDrag(network);
            break;
        case 6:
            // The right-button press that opens the element menu selects.
            FPage->SelectNetworkButton(any);
            any->PropertiesItem()->trigger();
            if (!any->IsNode()) {
                form->TopologyComboBox->setCurrentIndex(random.bounded(14));
                emit form->TopologyComboBox->activated(form->TopologyComboBox->currentIndex());
            }
            QTest::mouseClick(random.bounded(2) ? form->OKButton : form->ApplyButton, Qt::LeftButton);
            break;
        case 7:
            if (random.bounded(10) == 0)
                QTest::mouseClick(FPage->ResetNetworkButton, Qt::LeftButton);
            break;
        default:
            FArea->ComputeLatency();
            break;
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        const QList<TNetworkButton *> &chain = FPage->FNetworkList;
        const qsizetype networks = chain.size() - 2;
        QVERIFY(networks >= 1 && networks <= 14);
        QCOMPARE(chain.first(), FPage->DesktopNetworkButton);
        QCOMPARE(chain.last(), FPage->TowerNetworkButton);
        QVERIFY(chain.contains(FPage->FSelectedButton));
        QCOMPARE(FPage->RemoveNetwork1->actions().size(), networks);
        QCOMPARE(FPage->RemoveNetwork1->menuAction()->isVisible(), networks >= 2);
        QCOMPARE(FPage->NewNetworkButton->isEnabled(), networks < 14);
        QCOMPARE(FPage->NewNetwork1->isEnabled(), networks < 14);
        for (qsizetype i = 1; i <= networks; ++i) {
            QVERIFY(!chain[i]->IsNode());
            QCOMPARE(chain[i]->RemoveCommandVisible(), networks >= 2);
            QVERIFY(chain[i]->isVisible());
        }
        QCOMPARE(FPage->NetworkSetupPanel->findChildren<TNetworkButton *>().size(), chain.size());
        if (form->isVisible())
            QCOMPARE(form->EditedButton(), FPage->FSelectedButton);
    }
}

QTEST_MAIN(tst_NetworkSetupPage)
#include "tst_networksetuppage.moc"
