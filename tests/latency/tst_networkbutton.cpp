#include <QtTest>

#include <QMenu>
#include <QTextDocument>

#include "latency/NetworkButton.h"
#include "tests/common/TestEnvironment.h"

using K = TNetworkButtonKind;

Q_DECLARE_METATYPE(TNetworkButtonKind)

namespace {

QImage Picture(const QIcon &icon)
{
    return icon.pixmap(QSize(TNetworkButton::PictureSize, TNetworkButton::PictureSize)).toImage();
}

bool Shown(TNetworkButton &button)
{
    button.show();
    return QTest::qWaitForWindowExposed(&button);
}

// A move with the left button held, to `to` in the button's coordinates.
void MoveHeld(TNetworkButton &button, const QPointF &to)
{
    QMouseEvent move(QEvent::MouseMove, to, button.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&button, &move);
}

} // namespace

class tst_NetworkButton : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void newNetwork();
    void kindPicture_data();
    void kindPicture();
    void removeCommandGoesWithItsSeparator();
    void sameKindChangesNothing();
    void tooltipShowsTypedNamesAsTyped_data();
    void tooltipShowsTypedNamesAsTyped();
    void menuItemsOnlyAsk_data();
    void menuItemsOnlyAsk();
    void detachedButtonKeepsWhatItShowed();
    void pressNotifiesThenOpensMenu_data();
    void pressNotifiesThenOpensMenu();
    void dragWaitsForThreshold();
    void dragRunsPastThreshold();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
    // What each button of a test shows: a new, unconfigured network.
    TNetworkElement FElement;
};

void tst_NetworkButton::initTestCase()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_NetworkButton::newNetwork()
{
    TNetworkButton button(&FElement);
    QCOMPARE(button.Element(), &FElement);
    QCOMPARE(button.Element()->NetworkButtonKind(), K::nbUnknownNetwork);
    QCOMPARE(button.size(), QSize(50, 50));
    QCOMPARE(button.toolTip(), QStringLiteral("<Unknown Topology>"));
    QCOMPARE(button.accessibleName(), QStringLiteral("<Unknown Topology>"));
    QCOMPARE(Picture(button.icon()), Picture(QIcon(QStringLiteral(":/artwork/unknownnetwork.svg"))));

    const QList<QAction *> items = button.ElementMenu()->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items[0]->text(), QStringLiteral("Properties..."));
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[2]->text(), QStringLiteral("Remove"));
    for (QAction *item : items)
        QVERIFY(item->isVisible());
}

void tst_NetworkButton::kindPicture_data()
{
    QTest::addColumn<TNetworkButtonKind>("kind");
    QTest::addColumn<QString>("file");
    QTest::newRow("Satellite") << K::nbSatellite << "satellite";
    QTest::newRow("B-ISDN shows ATM") << K::nbBISDN << "atm";
    QTest::newRow("Frame Relay shows OTHER") << K::nbFrameRelay << "other";
    QTest::newRow("a typed topology shows OTHER") << K::nbOther << "other";
    QTest::newRow("Node A") << K::nbDesktopCPU << "desktopcpu";
    QTest::newRow("Node B") << K::nbTowerCPU << "towercpu";
}

void tst_NetworkButton::kindPicture()
{
    QFETCH(TNetworkButtonKind, kind);
    QFETCH(QString, file);
    TNetworkElement element;
    TNetworkButton button(&element);
    element.SetNetworkButtonKind(kind);
    // The view shows the element as it was until it refreshes.
    QCOMPARE(Picture(button.icon()), Picture(QIcon(QStringLiteral(":/artwork/unknownnetwork.svg"))));
    button.Refresh();
    QCOMPARE(Picture(button.icon()), Picture(QIcon(QStringLiteral(":/artwork/%1.svg").arg(file))));
    QVERIFY(Picture(button.icon()) != Picture(QIcon(QStringLiteral(":/artwork/unknownnetwork.svg"))));
}

// Where "Remove" is offered is the chain's rule, applied by the setup page.
void tst_NetworkButton::removeCommandGoesWithItsSeparator()
{
    TNetworkButton button(&FElement);
    button.HideRemoveCommand();
    QVERIFY(!button.SeparatorItem()->isVisible());
    QVERIFY(!button.RemoveItem()->isVisible());
    QVERIFY(!button.RemoveCommandVisible());
    QVERIFY(button.PropertiesItem()->isVisible());
    button.ShowRemoveCommand();
    QVERIFY(button.SeparatorItem()->isVisible());
    QVERIFY(button.RemoveCommandVisible());
}

void tst_NetworkButton::sameKindChangesNothing()
{
    // "T1" to "T3": the kind stays nbTCarrier, so menu and picture stay.
    TNetworkElement element;
    element.SetNetworkButtonKind(K::nbTCarrier);
    TNetworkButton button(&element);
    button.HideRemoveCommand();
    const QImage picture = Picture(button.icon());
    element.SetNetworkButtonKind(K::nbTCarrier);
    button.Refresh();
    QVERIFY(!button.RemoveCommandVisible());
    QCOMPARE(Picture(button.icon()), picture);
}

void tst_NetworkButton::tooltipShowsTypedNamesAsTyped_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("T1");
    QTest::newRow("looks like markup") << QStringLiteral("<b>Fast</b> link");
    QTest::newRow("looks like an entity") << QStringLiteral("R&lt;D");
    QTest::newRow("never configured") << QStringLiteral("<Unknown Topology>");
}

void tst_NetworkButton::tooltipShowsTypedNamesAsTyped()
{
    QFETCH(QString, name);
    TNetworkElement element;
    TNetworkButton button(&element);
    element.SetNetworkButtonKind(K::nbOther);
    element.NetworkName = name;
    element.Bandwidth = 1.544;
    // Only an explicit rebuild changes the name shown.
    button.Refresh();
    QCOMPARE(button.toolTip(), QStringLiteral("<Unknown Topology>"));
    element.RebuildDisplayName();
    button.Refresh();
    QCOMPARE(element.DisplayName(), name + QStringLiteral(" (1.544 Mbps)"));
    // The tooltip reads text that looks like markup as markup.
    const QString tip = button.toolTip();
    QString shown = tip;
    if (Qt::mightBeRichText(tip)) {
        QTextDocument document;
        document.setHtml(tip);
        shown = document.toPlainText();
    }
    QCOMPARE(shown, element.DisplayName());
    QCOMPARE(button.accessibleName(), element.DisplayName());
}

void tst_NetworkButton::menuItemsOnlyAsk_data()
{
    QTest::addColumn<bool>("remove");
    QTest::newRow("Remove") << true;
    QTest::newRow("Properties...") << false;
}

// The items ask the setup page, which asks the chain; the button itself
// neither goes nor changes.
void tst_NetworkButton::menuItemsOnlyAsk()
{
    QFETCH(bool, remove);
    QPointer<TNetworkButton> button = new TNetworkButton(&FElement);
    QSignalSpy removeRequests(button, &TNetworkButton::OnRemove);
    QSignalSpy propertiesRequests(button, &TNetworkButton::PropertiesRequested);
    (remove ? button->RemoveItem() : button->PropertiesItem())->trigger();
    QSignalSpy &asked = remove ? removeRequests : propertiesRequests;
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0][0].value<TNetworkButton *>(), button.data());
    QCOMPARE((remove ? propertiesRequests : removeRequests).size(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!button.isNull());
    QCOMPARE(button->Element(), &FElement);
    QCOMPARE(FElement.DisplayName(), UnknownTopologyName);
    delete button;
}

void tst_NetworkButton::detachedButtonKeepsWhatItShowed()
{
    auto element = std::make_unique<TNetworkElement>();
    element->SetNetworkButtonKind(K::nbSatellite);
    TNetworkButton button(element.get());
    const QImage picture = Picture(button.icon());
    button.Detach();
    element.reset();
    button.Refresh();
    QCOMPARE(button.Element(), nullptr);
    QCOMPARE(Picture(button.icon()), picture);
    QCOMPARE(button.toolTip(), UnknownTopologyName);
}

void tst_NetworkButton::pressNotifiesThenOpensMenu_data()
{
    QTest::addColumn<Qt::MouseButton>("pressed");
    QTest::newRow("right: element menu") << Qt::RightButton;
    QTest::newRow("left: no menu") << Qt::LeftButton;
}

void tst_NetworkButton::pressNotifiesThenOpensMenu()
{
    QFETCH(Qt::MouseButton, pressed);
    TNetworkButton button(&FElement);
    QVERIFY(Shown(button));
    bool menuOpenAtPress = true;
    QSignalSpy spy(&button, &TNetworkButton::MouseDown);
    // The handler (selection) runs before the menu opens.
    connect(&button, &TNetworkButton::MouseDown, this,
            [&](TNetworkButton *sender) { menuOpenAtPress = sender->ElementMenu()->isVisible(); });
    QTest::mousePress(&button, pressed, {}, QPoint(10, 12));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy[0][1].value<Qt::MouseButton>(), pressed);
    QCOMPARE(spy[0][3].toPoint(), QPoint(10, 12));
    QVERIFY(!menuOpenAtPress);
    if (pressed == Qt::RightButton)
        QTRY_VERIFY(button.ElementMenu()->isVisible());
    else
        QVERIFY(!button.ElementMenu()->isVisible());
    button.ElementMenu()->close();
    QTest::mouseRelease(&button, pressed, {}, QPoint(10, 12));
}

void tst_NetworkButton::dragWaitsForThreshold()
{
    TNetworkButton button(&FElement);
    QVERIFY(Shown(button));
    QSignalSpy started(&button, &TNetworkButton::StartDrag);
    connect(&button, &TNetworkButton::MouseDown, &button,
            [](TNetworkButton *sender, Qt::MouseButton pressed) {
                if (pressed == Qt::LeftButton)
                    sender->BeginDrag(5);
            });
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(20, 20));
    MoveHeld(button, QPointF(24, 23));
    QCOMPARE(started.size(), 0);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(24, 23));
    // After the release, even a long move starts nothing.
    MoveHeld(button, QPointF(45, 45));
    QCOMPARE(started.size(), 0);
}

void tst_NetworkButton::dragRunsPastThreshold()
{
    TNetworkButton button(&FElement);
    QVERIFY(Shown(button));
    QSignalSpy started(&button, &TNetworkButton::StartDrag);
    QSignalSpy ended(&button, &TNetworkButton::EndDrag);
    connect(&button, &TNetworkButton::MouseDown, &button,
            [](TNetworkButton *sender) { sender->BeginDrag(5); });
    connect(&button, &TNetworkButton::StartDrag, &button,
            [&] { QCOMPARE(ended.size(), 0); });
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(20, 20));
    // The offscreen platform ends every drag at once, unaccepted.
    MoveHeld(button, QPointF(20, 25));
    QCOMPARE(started.size(), 1);
    QCOMPARE(ended.size(), 1);
    QVERIFY(!button.isDown());
}

QTEST_MAIN(tst_NetworkButton)
#include "tst_networkbutton.moc"
