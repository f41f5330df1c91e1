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
#include "latency/NetworkChain.h"
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
    void oneDialogForEveryElement();
    void viewFollowsTheChain_data();
    void viewFollowsTheChain();
    void editingKeepsTheChainConsistent();

private:
    TNetworkChain &Chain() const { return FArea->Chain(); }
    TNetworkElement *At(int index) const { return Chain().Element(index); }
    // The button that shows element `index` of the chain.
    TNetworkButton *Network(int index) const { return FPage->NetworkButton(At(index)); }
    // A point of the setup panel in the coordinates of the window.
    QPoint InWindow(const QPoint &panelPos) const { return FPage->NetworkSetupPanel->mapTo(FArea, panelPos); }
    static QPoint Centre(const QWidget *element) { return element->geometry().center(); }
    // Inserts before Node B until the chain holds `networks` networks.
    void GrowTo(int networks);
    static void Configure(TNetworkElement *network, K kind, const QString &name, double bandwidth);
    // Where the buttons of the chain's elements stand, in chain order.
    QList<QPoint> Positions() const;
    // The page shows the chain as it is: a button per element on its cell,
    // with its picture and name, the commands enabled by the chain's rules.
    void VerifyViewsFollowTheChain();
    // Moves through the open dialog's topology list with the arrow keys.
    static void PickTopology(TNetworkButtonForm *form, int index);
    void SaveGrab(QWidget *widget, const QString &name);

    std::unique_ptr<TTestEnvironment> FEnvironment;
    TLatencyArea *FArea = nullptr;
    TNetworkSetupPage *FPage = nullptr;
    QPointer<TNetworkButtonForm> FForm; // the area's dialog
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
    FForm = FArea->NetworkButtonForm;
    QVERIFY(FForm);
}

void tst_NetworkSetupPage::cleanup()
{
    delete FArea;
    FArea = nullptr;
    // The dialog went with the area that owns it.
    QVERIFY(FForm.isNull());
}

void tst_NetworkSetupPage::GrowTo(int networks)
{
    while (Chain().NetworkCount() < networks) {
        Chain().Select(Chain().NodeB());
        QTest::mouseClick(FPage->NewNetworkButton, Qt::LeftButton);
    }
}

void tst_NetworkSetupPage::Configure(TNetworkElement *network, K kind, const QString &name, double bandwidth)
{
    network->SetNetworkButtonKind(kind);
    network->NetworkName = name;
    network->Bandwidth = bandwidth;
    network->RebuildDisplayName();
}

QList<QPoint> tst_NetworkSetupPage::Positions() const
{
    QList<QPoint> positions;
    for (int i = 0; i < Chain().Count(); ++i)
        positions << Network(i)->pos();
    return positions;
}

void tst_NetworkSetupPage::VerifyViewsFollowTheChain()
{
    // Buttons of removed networks go once the command that removed them
    // has returned.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const TNetworkChain &chain = Chain();
    const int networks = chain.NetworkCount();
    QCOMPARE(FPage->NetworkSetupPanel->findChildren<TNetworkButton *>().size(), chain.Count());
    QStringList names;
    for (int i = 0; i < chain.Count(); ++i) {
        const TNetworkElement *element = chain.Element(i);
        const TNetworkButton *button = FPage->NetworkButton(element);
        QVERIFY2(button, qPrintable(u"element %1"_s.arg(i)));
        QCOMPARE(button->Element(), element);
        QVERIFY(button->isVisible());
        QCOMPARE(button->pos(), CellOrigin(chain.Cell(element)));
        QCOMPARE(button->accessibleName(), element->DisplayName());
        QCOMPARE(button->RemoveCommandVisible(), chain.CanRemove(element));
        names << element->DisplayName();
    }
    QCOMPARE(FPage->DesktopNetworkButton->Element(), chain.NodeA());
    QCOMPARE(FPage->TowerNetworkButton->Element(), chain.NodeB());
    QCOMPARE(FPage->RemoveNetwork1->actions().size(), networks);
    QCOMPARE(FPage->RemoveNetwork1->menuAction()->isVisible(), networks >= 2);
    QCOMPARE(FPage->NewNetworkButton->isEnabled(), networks < 14);
    QCOMPARE(FPage->NewNetwork1->isEnabled(), networks < 14);
    QCOMPARE(FPage->MoveNetworkLeftButton->isEnabled(), chain.CanMoveLeft());
    QCOMPARE(FPage->MoveNetworkRightButton->isEnabled(), chain.CanMoveRight());
    QCOMPARE(FPage->NetworkSetupPanel->accessibleDescription(), names.join(u", then "_s));
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
    QCOMPARE(Chain().Count(), 3);
    TNetworkButton *nodeA = FPage->DesktopNetworkButton;
    TNetworkButton *nodeB = FPage->TowerNetworkButton;
    QCOMPARE(Network(0), nodeA);
    QCOMPARE(Network(2), nodeB);
    QCOMPARE(Chain().NodeA()->NetworkButtonKind(), K::nbDesktopCPU);
    QCOMPARE(Chain().NodeB()->NetworkButtonKind(), K::nbTowerCPU);
    QCOMPARE(nodeA->pos(), QPoint(8, 8));
    QCOMPARE(nodeB->pos(), QPoint(210, 200));
    QCOMPARE(nodeA->toolTip(), u"Node A (64 bytes)"_s);
    QCOMPARE(nodeB->toolTip(), u"Node B (1024 bytes)"_s);
    QVERIFY(!nodeA->RemoveCommandVisible());
    QVERIFY(!nodeB->RemoveCommandVisible());

    TNetworkButton *network = Network(1);
    QCOMPARE(At(1)->NetworkButtonKind(), K::nbUnknownNetwork);
    QCOMPARE(network->toolTip(), u"<Unknown Topology>"_s);
    QCOMPARE(network->pos(), QPoint(75, 8));
    QCOMPARE(Chain().Selected(), At(1));
    QVERIFY(!network->RemoveCommandVisible());

    QVERIFY(!FPage->MoveNetworkLeftButton->isEnabled());
    QVERIFY(!FPage->MoveNetworkRightButton->isEnabled());
    QVERIFY(!FPage->RemoveNetwork1->menuAction()->isVisible());
    QCOMPARE(FPage->RemoveNetwork1->actions().size(), 1);
    QVERIFY(FPage->NewNetworkButton->isEnabled());
    QVERIFY(Chain().LatencyDirty());
    VerifyViewsFollowTheChain();
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
    Chain().ClearLatencyDirty();
    const QList<TNetworkElement *> before = Chain().Elements();
    QTest::mouseClick(Network(selected), Qt::LeftButton);
    QCOMPARE(Chain().Selected(), before[selected]);
    QTest::mouseClick(FPage->NewNetworkButton, Qt::LeftButton);
    QCOMPARE(Chain().Count(), 5);
    TNetworkElement *added = At(inserted);
    QVERIFY(!before.contains(added));
    QCOMPARE(Chain().Selected(), added);
    QVERIFY(Chain().LatencyDirty());
    QList<TNetworkElement *> expected = before;
    expected.insert(inserted, added);
    QCOMPARE(Chain().Elements(), expected);
    QCOMPARE(FPage->RemoveNetwork1->actions().size(), 3);
    QCOMPARE(FArea->focusWidget(), FPage->NetworkButton(added));
    VerifyViewsFollowTheChain();
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
    QCOMPARE(Chain().Count(), 16);
    QVERIFY(!FPage->NewNetworkButton->isEnabled());
    QVERIFY(!FPage->NewNetwork1->isEnabled());
    FPage->NewNetworkButtonClick();
    QCOMPARE(Chain().Count(), 16);
    QCOMPARE(FPage->RemoveNetwork1->actions().size(), 14);

    FPage->RemoveNetwork1->actions().at(6)->trigger();
    QCOMPARE(Chain().Count(), 15);
    QVERIFY(FPage->NewNetworkButton->isEnabled());
    QVERIFY(FPage->NewNetwork1->isEnabled());
}

void tst_NetworkSetupPage::removeSelectsTheFollower()
{
    GrowTo(3);
    TNetworkElement *first = At(1);
    TNetworkElement *third = At(3);
    QPointer<TNetworkButton> second = Network(2);
    QVERIFY(Network(1)->RemoveCommandVisible());
    Chain().ClearLatencyDirty();

    FPage->NetworkButtonRemove(second);
    QCOMPARE(Chain().Elements(), (QList<TNetworkElement *>{Chain().NodeA(), first, third, Chain().NodeB()}));
    QCOMPARE(Chain().Selected(), third);
    QVERIFY(Chain().LatencyDirty());
    QVERIFY(!second->isVisible());
    QCOMPARE(second->Element(), nullptr);
    QCOMPARE(FPage->RemoveNetwork1->actions().size(), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(second.isNull());

    FPage->NetworkButtonRemove(Network(2));
    QCOMPARE(Chain().Selected(), Chain().NodeB());
    QCOMPARE(Chain().Count(), 3);
    QVERIFY(!FPage->RemoveNetwork1->menuAction()->isVisible());
    QVERIFY(!Network(1)->RemoveCommandVisible());
    VerifyViewsFollowTheChain();
}

void tst_NetworkSetupPage::lastNetworkIsNeverRemoved()
{
    // The sole network's own command (hidden anyway) changes nothing.
    QPointer<TNetworkButton> only = Network(1);
    QVERIFY(!only->RemoveCommandVisible());
    Chain().ClearLatencyDirty();
    only->RemoveItem()->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!only.isNull());
    QCOMPARE(only->Element(), At(1));
    QCOMPARE(Chain().Count(), 3);
    QVERIFY(Chain().LatencyDirty()); // set even when refused
    // Nodes are never removed either.
    GrowTo(2);
    FPage->NetworkButtonRemove(FPage->DesktopNetworkButton);
    FPage->NetworkButtonRemove(FPage->TowerNetworkButton);
    QCOMPARE(Chain().Count(), 4);
    QCOMPARE(Network(0), FPage->DesktopNetworkButton);
    VerifyViewsFollowTheChain();
}

void tst_NetworkSetupPage::submenuCaptions()
{
    GrowTo(2);
    Configure(At(1), K::nbEthernet, u"Ethernet"_s, 10);
    Configure(At(2), K::nbTCarrier, u"T1"_s, 1.544);
    Chain().Select(At(2));
    emit FPage->RemoveNetwork1->aboutToShow();
    QList<QAction *> items = FPage->RemoveNetwork1->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0]->text(), u"1.  Ethernet (10 Mbps)"_s);
    QCOMPARE(items[1]->text(), u"2.  T1 (1.544 Mbps)"_s);
    QCOMPARE(FPage->RemoveNetwork1->defaultAction(), items[1]);

    // A node selected: the default item stays as it was.
    Chain().Select(Chain().NodeA());
    emit FPage->RemoveNetwork1->aboutToShow();
    QCOMPARE(FPage->RemoveNetwork1->defaultAction(), items[1]);
    Chain().Select(At(1));
    emit FPage->RemoveNetwork1->aboutToShow();
    QCOMPARE(FPage->RemoveNetwork1->defaultAction(), items[0]);

    // A name with "&" shows it literally.
    Configure(At(1), K::nbOther, u"AT&T"_s, 1);
    emit FPage->RemoveNetwork1->aboutToShow();
    QCOMPARE(items[0]->text(), u"1.  AT&&T (1 Mbps)"_s);
}

void tst_NetworkSetupPage::resetLayout()
{
    Chain().NodeA()->PacketSize = 100;
    Chain().NodeB()->ProcessTime = 7;
    GrowTo(5);
    Configure(At(3), K::nbATM, u"ATM"_s, 25);
    Chain().ClearLatencyDirty();
    QTest::mouseClick(FPage->ResetNetworkButton, Qt::LeftButton);
    QCOMPARE(Chain().Count(), 3);
    TNetworkButton *network = Network(1);
    QCOMPARE(At(1)->NetworkButtonKind(), K::nbUnknownNetwork);
    QCOMPARE(network->toolTip(), u"<Unknown Topology>"_s);
    QCOMPARE(Chain().Selected(), At(1));
    QVERIFY(Chain().LatencyDirty());
    QVERIFY(!network->RemoveCommandVisible());
    QVERIFY(!FPage->RemoveNetwork1->menuAction()->isVisible());
    QCOMPARE(FPage->RemoveNetwork1->actions().size(), 1);
    QCOMPARE(Chain().NodeA()->PacketSize, 100);
    QCOMPARE(Chain().NodeB()->ProcessTime, 7);
    // The removed networks are off the panel at once, and gone once the
    // click has returned.
    const QList<TNetworkButton *> buttons = FPage->NetworkSetupPanel->findChildren<TNetworkButton *>();
    QCOMPARE(int(std::count_if(buttons.begin(), buttons.end(), [](const TNetworkButton *b) { return b->isVisible(); })), 3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(FPage->NetworkSetupPanel->findChildren<TNetworkButton *>().size(), 3);
    VerifyViewsFollowTheChain();
}

void tst_NetworkSetupPage::moveRules()
{
    GrowTo(3);
    // Selected by a click, as the user selects.
    const auto enabled = [this](TNetworkButton *element) {
        QTest::mouseClick(element, Qt::LeftButton);
        return std::pair(FPage->MoveNetworkLeftButton->isEnabled(), FPage->MoveNetworkRightButton->isEnabled());
    };
    QCOMPARE(enabled(Network(1)), std::pair(false, true));
    QCOMPARE(enabled(Network(2)), std::pair(true, true));
    QCOMPARE(enabled(Network(3)), std::pair(true, false));
    QCOMPARE(enabled(FPage->DesktopNetworkButton), std::pair(false, false));
    QCOMPARE(enabled(FPage->TowerNetworkButton), std::pair(false, false));

    // The handler itself refuses too.
    const QList<TNetworkElement *> order = Chain().Elements();
    Chain().Select(At(1));
    FPage->MoveNetworkButtonClick(FPage->MoveNetworkLeftButton);
    Chain().Select(Chain().NodeB());
    FPage->MoveNetworkButtonClick(FPage->MoveNetworkLeftButton);
    QCOMPARE(Chain().Elements(), order);
}

void tst_NetworkSetupPage::moveSwapsPlacesAndOrder()
{
    GrowTo(3);
    TNetworkButton *first = Network(1);
    TNetworkButton *second = Network(2);
    const QPoint firstPos = first->pos();
    const QPoint secondPos = second->pos();
    QTest::mouseClick(first, Qt::LeftButton);
    Chain().ClearLatencyDirty();
    QTest::mouseClick(FPage->MoveNetworkRightButton, Qt::LeftButton);
    QCOMPARE(Network(1), second);
    QCOMPARE(Network(2), first);
    QCOMPARE(first->pos(), secondPos);
    QCOMPARE(second->pos(), firstPos);
    QVERIFY(first->isVisible());
    QCOMPARE(Chain().Selected(), first->Element());
    QCOMPARE(FArea->focusWidget(), first);
    QVERIFY(FPage->MoveNetworkLeftButton->isEnabled());
    QVERIFY(!Chain().LatencyDirty());
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
    Chain().ClearLatencyDirty();

    // On the free margin of the occupied cell the dragged one covers the other.
    TNetworkButtonMimeData data(dragged);
    TWindowDrag drag(FArea, &data);
    QVERIFY(drag.MoveTo(InWindow(QPoint(70, 66))));
    QCOMPARE(dragged->pos(), QPoint(75, 72));
    QCOMPARE(other->pos(), QPoint(75, 72));
    QVERIFY(!Chain().LatencyDirty());
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
    const QList<TNetworkElement *> chain = Chain().Elements();
    QList<QPoint> expected = Positions();
    expected[1] = landed;
    if (over >= 0)
        pointer = Centre(Network(over)) + QPoint(10, 10);
    Chain().ClearLatencyDirty();

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
    QCOMPARE(Chain().Elements(), chain);
    QVERIFY(!Chain().LatencyDirty());
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
    QCOMPARE(Chain().Selected(), network->Element());

    QSignalSpy nodeStarted(FPage->DesktopNetworkButton, &TNetworkButton::StartDrag);
    drag(FPage->DesktopNetworkButton, 30);
    QCOMPARE(nodeStarted.size(), 0);
}

void tst_NetworkSetupPage::selectionByMouse()
{
    GrowTo(3);
    QTest::mouseClick(Network(2), Qt::LeftButton);
    QCOMPARE(Chain().Selected(), At(2));
    QCOMPARE(FArea->focusWidget(), Network(2));
    QVERIFY(FPage->MoveNetworkLeftButton->isEnabled());
    QTest::mousePress(FPage->DesktopNetworkButton, Qt::RightButton);
    QCOMPARE(Chain().Selected(), Chain().NodeA());
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
    TNetworkButtonForm *form = FForm;
    // While hidden, the dialog ignores the selection.
    Chain().Select(Chain().NodeB());
    QVERIFY(!form->isVisible());
    QVERIFY(form->EditedElement() != Chain().NodeB());

    network->PropertiesItem()->trigger();
    QVERIFY(form->isVisible());
    QCOMPARE(form->EditedElement(), At(1));
    PickTopology(form, 4);
    QCOMPARE(form->windowTitle(), u"Ethernet Properties"_s);
    SaveGrab(form, u"networkbuttonform-ethernet"_s);

    QTest::mouseClick(FPage->DesktopNetworkButton, Qt::LeftButton);
    QCOMPARE(form->EditedElement(), Chain().NodeA());
    QCOMPARE(form->windowTitle(), u"Node A Properties"_s);
    QVERIFY(form->StationPanel->isVisible());
    QCOMPARE(form->PacketSizeSpinEdit->Value(), 64);
    QCOMPARE(At(1)->NetworkButtonKind(), K::nbUnknownNetwork); // nothing stored
}

void tst_NetworkSetupPage::dialogApplyKeepsRemoveRule()
{
    TNetworkButton *network = Network(1);
    network->PropertiesItem()->trigger();
    TNetworkButtonForm *form = FForm;
    PickTopology(form, 8);
    Chain().ClearLatencyDirty();
    QTest::mouseClick(form->OKButton, Qt::LeftButton);
    QCOMPARE(At(1)->DisplayName(), u"Satellite (0.512 Mbps)"_s);
    QVERIFY(Chain().LatencyDirty());
    // The button shows what OK stored.
    QCOMPARE(network->toolTip(), u"Satellite (0.512 Mbps)"_s);
    QCOMPARE(network->icon().pixmap(QSize(40, 40)).toImage(),
             QIcon(u":/artwork/satellite.svg"_s).pixmap(QSize(40, 40)).toImage());
    QVERIFY(!network->RemoveCommandVisible());

    GrowTo(2);
    QVERIFY(network->RemoveCommandVisible());
    SaveGrab(FArea, u"networksetup-satellite"_s);
}

void tst_NetworkSetupPage::removingTheEditedNetwork_data()
{
    QTest::addColumn<int>("how");
    QTest::addColumn<bool>("open"); // the dialog still shown when the network goes
    QTest::newRow("its own Remove") << 0 << true;
    QTest::newRow("the Remove Network submenu") << 1 << true;
    QTest::newRow("Reset Layout") << 2 << true;
    QTest::newRow("its own Remove, dialog closed") << 0 << false;
    QTest::newRow("the Remove Network submenu, dialog closed") << 1 << false;
    QTest::newRow("Reset Layout, dialog closed") << 2 << false;
}

void tst_NetworkSetupPage::removingTheEditedNetwork()
{
    QFETCH(int, how);
    QFETCH(bool, open);
    GrowTo(3);
    QPointer<TNetworkButton> edited = Network(2);
    TNetworkElement *follower = At(3);
    edited->PropertiesItem()->trigger();
    TNetworkButtonForm *form = FForm;
    QVERIFY(form->isVisible());
    QCOMPARE(form->EditedElement(), At(2));
    if (!open)
        QTest::mouseClick(form->CancelButton, Qt::LeftButton);

    if (how == 0)
        edited->RemoveItem()->trigger();
    else if (how == 1)
        FPage->RemoveNetwork1->actions().at(1)->trigger();
    else
        QTest::mouseClick(FPage->ResetNetworkButton, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(edited.isNull());
    QCOMPARE(Chain().Count(), how == 2 ? 3 : 4);

    // The network that followed is selected (after a reset, the new one).
    TNetworkElement *selected = Chain().Selected();
    QCOMPARE(selected, how == 2 ? At(1) : follower);
    if (!open) {
        // A closed dialog follows nothing, and stores nowhere.
        QCOMPARE(form->EditedElement(), nullptr);
        form->ButtonClick(form->ApplyButton);
        QVERIFY(!form->isVisible());
        Network(Chain().IndexOf(selected))->PropertiesItem()->trigger();
    }
    // The open dialog follows the selection, and OK stores there.
    QCOMPARE(form->EditedElement(), selected);
    PickTopology(form, 10);
    QTest::mouseClick(form->OKButton, Qt::LeftButton);
    QCOMPARE(selected->DisplayName(), u"T1 (1.544 Mbps)"_s);
    QCOMPARE(FPage->NetworkButton(selected)->toolTip(), u"T1 (1.544 Mbps)"_s);
}

void tst_NetworkSetupPage::oneDialogForEveryElement()
{
    GrowTo(2);
    for (TNetworkButton *button : {Network(1), FPage->TowerNetworkButton, Network(2), FPage->DesktopNetworkButton}) {
        button->PropertiesItem()->trigger();
        QCOMPARE(FArea->findChildren<TNetworkButtonForm *>().size(), 1);
        QCOMPARE(FForm->EditedElement(), button->Element());
        QVERIFY(FForm->isVisible());
    }
    QCOMPARE(FForm->parentWidget(), FArea);
}

void tst_NetworkSetupPage::viewFollowsTheChain_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("insert") << 0;
    QTest::newRow("remove") << 1;
    QTest::newRow("move right") << 2;
    QTest::newRow("move to a cell") << 3;
    QTest::newRow("kind and name") << 4;
    QTest::newRow("node's packet size") << 5;
    QTest::newRow("reset") << 6;
    QTest::newRow("selection") << 7;
}

// The chain changed by its own calls, with no handler of the page: the
// page still shows it as it is.
void tst_NetworkSetupPage::viewFollowsTheChain()
{
    QFETCH(int, change);
    GrowTo(3);
    Configure(At(1), K::nbTCarrier, u"T1"_s, 1.544);
    Configure(At(2), K::nbEthernet, u"Ethernet"_s, 10);
    VerifyViewsFollowTheChain();
    const QString before = FPage->NetworkSetupPanel->accessibleDescription();
    switch (change) {
    case 0:
        Chain().Select(At(2));
        QVERIFY(Chain().Insert());
        break;
    case 1:
        QVERIFY(Chain().Remove(At(1)));
        break;
    case 2:
        Chain().Select(At(1));
        QVERIFY(Chain().MoveRight());
        break;
    case 3:
        QVERIFY(Chain().MoveToCell(At(3), TNetworkCell{2, 2}));
        QCOMPARE(Network(3)->pos(), QPoint(143, 136));
        break;
    case 4:
        Configure(At(2), K::nbFDDI, u"FDDI"_s, 100);
        QCOMPARE(Network(2)->toolTip(), u"FDDI (100 Mbps)"_s);
        QCOMPARE(Network(2)->icon().pixmap(QSize(40, 40)).toImage(),
                 QIcon(u":/artwork/fddi.svg"_s).pixmap(QSize(40, 40)).toImage());
        break;
    case 5:
        Chain().NodeB()->PacketSize = 2048;
        Chain().NodeB()->RebuildDisplayName();
        QCOMPARE(FPage->TowerNetworkButton->toolTip(), u"Node B (2048 bytes)"_s);
        break;
    case 6:
        Chain().Reset();
        break;
    default:
        Chain().Select(At(3));
        QCOMPARE(FArea->focusWidget(), Network(3));
        break;
    }
    VerifyViewsFollowTheChain();
    // Only a change of order or of a name changes the layout's description.
    QCOMPARE(FPage->NetworkSetupPanel->accessibleDescription() != before, change != 3 && change != 7);
}

void tst_NetworkSetupPage::editingKeepsTheChainConsistent()
{
    // Many commands in a fixed pseudo-random order, the dialog open part of
    // the time; after each one the page shows the chain as it is.
    QRandomGenerator random(20261208);
    TNetworkButtonForm *form = FForm;
    for (int step = 0; step < 600; ++step) {
        const int n = Chain().Count();
        TNetworkButton *any = Network(int(random.bounded(n)));
        TNetworkButton *network = Network(1 + int(random.bounded(n - 2)));
        switch (random.bounded(9)) {
        case 0:
        case 1:
            Chain().Select(any->Element());
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
            Chain().Select(any->Element());
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
            Chain().Select(any->Element());
            any->PropertiesItem()->trigger();
            if (!any->Element()->IsNode()) {
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

        const int networks = Chain().NetworkCount();
        QVERIFY(networks >= 1 && networks <= 14);
        for (int i = 1; i <= networks; ++i)
            QVERIFY(!At(i)->IsNode());
        VerifyViewsFollowTheChain();
        if (form->isVisible())
            QCOMPARE(form->EditedElement(), Chain().Selected());
    }
}

QTEST_MAIN(tst_NetworkSetupPage)
#include "tst_networksetuppage.moc"
