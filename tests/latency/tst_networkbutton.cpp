#include <QtTest>

#include <QMenu>
#include <QTextDocument>

#include "latency/NetworkButton.h"
#include "latency/NetworkButtonForm.h"
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
    void cleanup();
    void newNetwork();
    void kindPicture_data();
    void kindPicture();
    void nodeKindHidesRemove();
    void sameKindChangesNothing();
    void tooltipShowsTypedNamesAsTyped_data();
    void tooltipShowsTypedNamesAsTyped();
    void removeItemDestroysOnlyOutsideLayout_data();
    void removeItemDestroysOnlyOutsideLayout();
    void pressNotifiesThenOpensMenu_data();
    void pressNotifiesThenOpensMenu();
    void dragWaitsForThreshold();
    void dragRunsPastThreshold();
    void propertiesItemOpensTheDialog();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_NetworkButton::initTestCase()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_NetworkButton::cleanup()
{
    delete TNetworkButtonForm::GetNetworkButtonForm(false);
}

void tst_NetworkButton::newNetwork()
{
    TNetworkButton button;
    QCOMPARE(button.NetworkButtonKind(), K::nbUnknownNetwork);
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
    QTest::newRow("Node A") << K::nbDesktopCPU << "desktopcpu";
    QTest::newRow("Node B") << K::nbTowerCPU << "towercpu";
}

void tst_NetworkButton::kindPicture()
{
    QFETCH(TNetworkButtonKind, kind);
    QFETCH(QString, file);
    TNetworkButton button;
    button.SetNetworkButtonKind(kind);
    QCOMPARE(Picture(button.icon()), Picture(QIcon(QStringLiteral(":/artwork/%1.svg").arg(file))));
    QVERIFY(Picture(button.icon()) != Picture(QIcon(QStringLiteral(":/artwork/unknownnetwork.svg"))));
}

void tst_NetworkButton::nodeKindHidesRemove()
{
    TNetworkButton button;
    button.SetNetworkButtonKind(K::nbTowerCPU);
    QVERIFY(!button.SeparatorItem()->isVisible());
    QVERIFY(!button.RemoveItem()->isVisible());
    QVERIFY(button.PropertiesItem()->isVisible());
    button.SetNetworkButtonKind(K::nbEthernet);
    QVERIFY(button.SeparatorItem()->isVisible());
    QVERIFY(button.RemoveCommandVisible());
}

void tst_NetworkButton::sameKindChangesNothing()
{
    // "T1" to "T3": the kind stays nbTCarrier, so menu and picture stay.
    TNetworkButton button;
    button.SetNetworkButtonKind(K::nbTCarrier);
    button.HideRemoveCommand();
    const QImage picture = Picture(button.icon());
    button.SetNetworkButtonKind(K::nbTCarrier);
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
    TNetworkButton button;
    button.SetNetworkButtonKind(K::nbOther);
    button.NetworkName = name;
    button.Bandwidth = 1.544;
    // Only an explicit rebuild changes the name shown.
    QCOMPARE(button.toolTip(), QStringLiteral("<Unknown Topology>"));
    button.RebuildDisplayName();
    QCOMPARE(button.DisplayName(), name + QStringLiteral(" (1.544 Mbps)"));
    // The tooltip reads text that looks like markup as markup.
    const QString tip = button.toolTip();
    QString shown = tip;
    if (Qt::mightBeRichText(tip)) {
        QTextDocument document;
        document.setHtml(tip);
        shown = document.toPlainText();
    }
    QCOMPARE(shown, button.DisplayName());
    QCOMPARE(button.accessibleName(), button.DisplayName());
}

void tst_NetworkButton::removeItemDestroysOnlyOutsideLayout_data()
{
    QTest::addColumn<bool>("layoutLetsGo");
    QTest::newRow("removed by the layout") << true;
    QTest::newRow("refused by the layout") << false;
}

void tst_NetworkButton::removeItemDestroysOnlyOutsideLayout()
{
    QFETCH(bool, layoutLetsGo);
    QPointer<TNetworkButton> button = new TNetworkButton;
    button->SetInLayout(true);
    QSignalSpy removeRequests(button, &TNetworkButton::OnRemove);
    connect(button, &TNetworkButton::OnRemove, this,
            [layoutLetsGo](TNetworkButton *sender) { sender->SetInLayout(!layoutLetsGo); });
    TNetworkButton *sent = button;
    button->RemoveItem()->trigger();
    QCOMPARE(removeRequests.size(), 1);
    QCOMPARE(removeRequests[0][0].value<TNetworkButton *>(), sent);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(button.isNull(), layoutLetsGo);
    delete button;
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
    TNetworkButton button;
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
    TNetworkButton button;
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
    TNetworkButton button;
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

void tst_NetworkButton::propertiesItemOpensTheDialog()
{
    QVERIFY(!TNetworkButtonForm::GetNetworkButtonForm(false));
    TNetworkButton button;
    button.NetworkName = QStringLiteral("Node B");
    button.SetNetworkButtonKind(K::nbTowerCPU);
    button.PropertiesItem()->trigger();
    TNetworkButtonForm *form = TNetworkButtonForm::GetNetworkButtonForm(false);
    QVERIFY(form);
    QVERIFY(form->isVisible());
    QCOMPARE(form->EditedButton(), &button);
    QCOMPARE(form->windowTitle(), QStringLiteral("Node B Properties"));
    // A second request finds the same dialog.
    button.PropertiesItem()->trigger();
    QCOMPARE(TNetworkButtonForm::GetNetworkButtonForm(true), form);
}

QTEST_MAIN(tst_NetworkButton)
#include "tst_networkbutton.moc"
