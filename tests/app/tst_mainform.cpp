#include <QTest>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTextBrowser>
#include <QSvgRenderer>
#include <QToolButton>
#include <QWindow>

#include "app/About.h"
#include "app/HelpWindow.h"
#include "app/FormPlacement.h"
#include "app/Main.h"
#include "app/SettingsStore.h"
#include "app/VorlGlobal.h"
#include "controls/Guarded.h"
#include "controls/Image.h"
#include "controls/PageControl.h"
#include "controls/SuperStringGrid.h"
#include "ipsubnet/IPSubnetArea.h"
#include "latency/LatencyArea.h"
#include "latency/LatencySettings.h"
#include "latency/LatencyStatsPage.h"
#include "latency/NetworkButton.h"
#include "latency/NetworkButtonForm.h"
#include "latency/NetworkSetupPage.h"
#include "prefix/PrefixArea.h"
#include "radix/RadixelArea.h"
#include "tests/common/TestEnvironment.h"
#include "tests/common/WidgetChecks.h"

using namespace Qt::StringLiterals;

namespace {

QByteArray RootKeyFile(const QByteArray &values)
{
    return "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_CURRENT_USER\\Software\\Vorl Group\\Tarvelo Calculator\\2.20]\r\n"
           + values;
}

// The calculators shown; looking does not build the ones not built yet.
QString Shown(const TMainForm &form)
{
    const auto visible = [&form](const QWidget *area) { return area && area->isVisibleTo(&form); };
    QStringList shown;
    if (visible(form.findChild<TRadixelArea *>()))
        shown << QStringLiteral("Radixel");
    if (visible(form.findChild<TIPSubnetArea *>()))
        shown << QStringLiteral("IPSubnet");
    if (visible(form.findChild<TLatencyArea *>()))
        shown << QStringLiteral("Latency");
    if (visible(form.findChild<TPrefixArea *>()))
        shown << QStringLiteral("Prefix");
    return shown.join(u',');
}

QString Checked(const TMainForm &form)
{
    QStringList checked;
    if (form.RadixelCalculatorMenuItem->isChecked())
        checked << QStringLiteral("Radixel");
    if (form.IPSubnetCalculatorMenuItem->isChecked())
        checked << QStringLiteral("IPSubnet");
    if (form.LatencyCalculatorMenuItem->isChecked())
        checked << QStringLiteral("Latency");
    if (form.PrefixCalculatorMenuItem->isChecked())
        checked << QStringLiteral("Prefix");
    return checked.join(u',');
}

QStringList GridColumn(const TSuperStringGrid *grid, int col)
{
    QStringList cells;
    for (int row = 0; row < grid->RowCount(); ++row)
        cells << grid->Cells(col, row);
    return cells;
}

// A left click on a page control's tab, where the user clicks.
void ClickTab(TPageControl *pages, int index)
{
    QTabBar *tabs = pages->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

// Shortcuts need the window active; offscreen platforms may refuse that.
bool ShowActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace

class tst_MainForm : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstRunShowsTheIPSubnetCalculator();
    void menuItems_data();
    void menuItems();
    void menuBarHoldsEachItemOnceInOrder();
    void logoClicksCycleAndReturn();
    void logoDoubleClickIsOneStep_data();
    void logoDoubleClickIsOneStep();
    void shortcutsSwitchCalculators_data();
    void shortcutsSwitchCalculators();
    void calculatorShortcutsReachTheWindowFromEveryControl();
    void copyFollowsTheTargetAndIsDisabledBySwitching();
    void menuShortcutsWinOverALineEdit();
    void restartRestoresCalculatorAndPlacement();
    void storedCalculator_data();
    void storedCalculator();
    void calculatorShownAtExitIsStored_data();
    void calculatorShownAtExitIsStored();
    void storedPlacementRoundTrip_data();
    void storedPlacementRoundTrip();
    void hiddenCalculatorsAreBuiltAfterTheFirstFrame();
    void calculatorNeverBuiltKeepsItsStoredSettings();
    void anotherInstancesSaveSurvivesThisExit_data();
    void anotherInstancesSaveSurvivesThisExit();
    void settingsFileDamagedWhileRunningIsReportedAtExit();
    void buildingHiddenCalculatorsKeepsTheFocus();
    void exceptionInAHandlerIsShownAndTheProgramCarriesOn();
    void lastResortShowsWhatEscapes();
    void errorThroughATabClick_data();
    void errorThroughATabClick();
    void errorThroughAButtonClick_data();
    void errorThroughAButtonClick();
    void aboutWindowHidesAndKeepsItsPicture();
    void helpTopicsOpenTheContentsWithOneTopicPerCalculator();

private:
    std::unique_ptr<TMainForm> StartWithEthernetAtZeroMbps();

    std::unique_ptr<TTestEnvironment> FEnv;
};

void tst_MainForm::init()
{
    FEnv = std::make_unique<TTestEnvironment>();
    TakeErrorMessages();
}

void tst_MainForm::cleanup()
{
    FEnv.reset();
}

void tst_MainForm::firstRunShowsTheIPSubnetCalculator()
{
    TMainForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Tarvelo Calculator"));
    QCOMPARE(Shown(form), QStringLiteral("IPSubnet"));
    QCOMPARE(Checked(form), QStringLiteral("IPSubnet"));
    QVERIFY(form.CalcImage->Picture() && form.CalcImage->Picture()->isValid());
    QVERIFY(!form.CopyMenuItem->isEnabled());
    QCOMPARE(form.centralWidget()->minimumSize(), QSize(292, 409));
    QCOMPARE(form.CalcArea<TIPSubnetArea>()->geometry(), QRect(8, 88, 276, 313));
    QVERIFY(TakeErrorMessages().isEmpty());

    // Nothing is written until the window closes; then the root key exists.
    QVERIFY(!TSettingsStore::Instance().KeyExists(MainSettingsKey));
    form.close();
    TRegKey key;
    QVERIFY(key.OpenKey(MainSettingsKey, false));
    QCOMPARE(key.ReadInteger(QStringLiteral("Calculator")), 1);
    QCOMPARE(key.ReadBinaryData(QStringLiteral("Position"), 20).size(), 20);
}

void tst_MainForm::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");

    QTest::newRow("exit") << "ExitMenuItem" << "E&xit" << QKeySequence(QStringLiteral("Ctrl+X"));
    QTest::newRow("copy") << "CopyMenuItem" << "&Copy" << QKeySequence(QStringLiteral("Ctrl+C"));
    QTest::newRow("radixel") << "RadixelCalculatorMenuItem" << "&Radixel Calculator" << QKeySequence(QStringLiteral("Ctrl+H"));
    QTest::newRow("ip subnet") << "IPSubnetCalculatorMenuItem" << "&IP Subnet Calculator"
                               << QKeySequence(QStringLiteral("Ctrl+I"));
    QTest::newRow("latency") << "LatencyCalculatorMenuItem" << "&Latency Calculator" << QKeySequence(QStringLiteral("Ctrl+L"));
    QTest::newRow("prefix") << "PrefixCalculatorMenuItem" << "&Prefix Calculator" << QKeySequence(QStringLiteral("Ctrl+R"));
    QTest::newRow("subnet bits") << "SubnetBitsMenuItem" << "Specify &Subnet Bits" << QKeySequence();
    QTest::newRow("network bits") << "NetworkBitsMenuItem" << "Specify &Network Bits" << QKeySequence();
    QTest::newRow("rfc 1878") << "RFC1878MenuItem" << "Allow &1 Subnet Bit (RFC 1878)" << QKeySequence();
    QTest::newRow("help topics") << "HelpTopicsMenuItem" << "&Help Topics" << QKeySequence(Qt::Key_F1);
    QTest::newRow("web") << "WebMenuItem" << "Visit Vorl Group's &Web Site" << QKeySequence();
    QTest::newRow("about") << "AboutMenuItem" << "&About..." << QKeySequence();
}

void tst_MainForm::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    TMainForm form;
    QAction *item = form.findChild<QAction *>(name);
    QVERIFY2(item, qPrintable(name));
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), shortcut);
    // Every item is reachable from the menu bar.
    bool inMenu = false;
    for (QMenu *menu : form.findChildren<QMenu *>())
        inMenu = inMenu || menu->actions().contains(item);
    QVERIFY(inMenu);
}

void tst_MainForm::menuBarHoldsEachItemOnceInOrder()
{
    TMainForm form;
    form.show();
    // Every calculator built: each adds its Options items once.
    QTRY_VERIFY(form.findChild<TRadixelArea *>() && form.findChild<TLatencyArea *>());
    QStringList menus;
    for (QAction *menu : form.menuBar()->actions()) {
        QStringList items;
        for (QAction *item : menu->menu()->actions())
            items << item->objectName();
        menus << menu->menu()->objectName() + u": " + items.join(u' ');
    }
    QCOMPARE(menus, (QStringList{
                        u"FileMenuItem: ExitMenuItem"_s,
                        u"EditMenuItem: CopyMenuItem"_s,
                        u"CalculatorMenuItem: RadixelCalculatorMenuItem IPSubnetCalculatorMenuItem "
                        "LatencyCalculatorMenuItem PrefixCalculatorMenuItem"_s,
                        u"OptionsMenuItem: SubnetBitsMenuItem NetworkBitsMenuItem N1 RFC1878MenuItem"_s,
                        u"HelpMenuItem: HelpTopicsMenuItem SeparatorMenuItem1 WebMenuItem SeparatorMenuItem2 "
                        "AboutMenuItem"_s,
                    }));
    QCOMPARE(form.menuBar()->actions().at(2)->menu()->title(), QStringLiteral("Ca&lculator"));
    QCOMPARE(form.menuBar()->actions().at(3)->menu()->title(), QStringLiteral("&Options"));
    // The calculator items are one radio group.
    form.LatencyCalculatorMenuItem->trigger();
    QCOMPARE(Checked(form), QStringLiteral("Latency"));
    QCOMPARE(Shown(form), QStringLiteral("Latency"));
}

void tst_MainForm::logoClicksCycleAndReturn()
{
    TMainForm form;
    form.show();
    QStringList order;
    for (int i = 0; i < 4; ++i) {
        QTest::mouseClick(form.CalcImage, Qt::LeftButton);
        order << Shown(form);
        QCOMPARE(Checked(form), Shown(form));
    }
    QCOMPARE(order, (QStringList{u"Latency"_s, u"Radixel"_s, u"Prefix"_s, u"IPSubnet"_s}));
}

void tst_MainForm::logoDoubleClickIsOneStep_data()
{
    QTest::addColumn<QString>("clicks"); // d: a double-click, c: a click
    QTest::addColumn<QString>("shown");
    QTest::newRow("double-click") << "d" << "Latency";
    QTest::newRow("double-click, then a click") << "dc" << "Radixel";
    QTest::newRow("two double-clicks") << "dd" << "Radixel";
    QTest::newRow("a click, then a double-click") << "cd" << "Radixel";
}

void tst_MainForm::logoDoubleClickIsOneStep()
{
    QFETCH(QString, clicks);
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // Through the window, so that Qt itself turns the second press into a
    // double-click: press, release, press, double-click, release.
    QWindow *window = form.windowHandle();
    const QPoint logo = form.CalcImage->mapTo(&form, form.CalcImage->rect().center());
    for (const QChar c : clicks) {
        if (c == u'd')
            QTest::mouseDClick(window, Qt::LeftButton, {}, logo);
        else
            QTest::mouseClick(window, Qt::LeftButton, {}, logo);
    }
    QTEST(Shown(form), "shown");
    QCOMPARE(Checked(form), Shown(form));
}

void tst_MainForm::shortcutsSwitchCalculators_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Ctrl+H") << int(Qt::Key_H) << "Radixel";
    QTest::newRow("Ctrl+L") << int(Qt::Key_L) << "Latency";
    QTest::newRow("Ctrl+I") << int(Qt::Key_I) << "IPSubnet";
    QTest::newRow("Ctrl+R") << int(Qt::Key_R) << "Prefix";
}

void tst_MainForm::shortcutsSwitchCalculators()
{
    QFETCH(int, key);
    QFETCH(QString, shown);
    TMainForm form;
    if (!ShowActive(form))
        QSKIP("The platform does not activate windows");
    if (shown == QLatin1String("IPSubnet"))
        form.LatencyCalculatorMenuItemClick();
    QTest::keyClick(&form, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(Shown(form), shown);
    QCOMPARE(Checked(form), shown);
}

void tst_MainForm::calculatorShortcutsReachTheWindowFromEveryControl()
{
    // From every focusable control of every page of every calculator, each
    // other calculator's shortcut switches to it.
    TMainForm form;
    if (!ShowActive(form))
        QSKIP("The platform does not activate windows");
    const QList<QAction *> items{form.RadixelCalculatorMenuItem, form.IPSubnetCalculatorMenuItem,
                                 form.LatencyCalculatorMenuItem, form.PrefixCalculatorMenuItem};
    int tried = 0;
    QStringList missed;
    for (QAction *from : items) {
        from->trigger();
        const QList<TCalcArea *> areas = form.findChildren<TCalcArea *>();
        TCalcArea *area = *std::find_if(areas.begin(), areas.end(),
                                        [&form](TCalcArea *a) { return a->isVisibleTo(&form); });
        TPageControl *pages = area->PageControl();
        for (int page = 0; page < pages->count(); ++page) {
            from->trigger();
            pages->SetActivePage(pages->widget(page));
            for (QAction *to : items)
                if (to != from)
                    missed << ShortcutClaimants(area, to->shortcut()[0]);
            for (QWidget *control : FocusableControls(area)) {
                for (QAction *to : items) {
                    if (to == from)
                        continue;
                    from->trigger();
                    pages->SetActivePage(pages->widget(page));
                    control->setFocus(Qt::TabFocusReason);
                    QTest::keyClick(control, to->shortcut()[0].key(), Qt::ControlModifier);
                    ++tried;
                    if (!to->isChecked())
                        missed << Describe(control) + u" \u2192 "_s + to->shortcut().toString();
                }
            }
        }
    }
    QVERIFY2(missed.isEmpty(), qPrintable(missed.join(u'\n')));
    QVERIFY2(tried > 100, qPrintable(QString::number(tried)));
}

void tst_MainForm::copyFollowsTheTargetAndIsDisabledBySwitching()
{
    TMainForm form;
    auto *button = new QToolButton(form.CalcArea<TRadixelArea>());
    QSignalSpy clicks(button, &QToolButton::clicked);
    form.RadixelCalculatorMenuItemClick();

    emit form.CalcArea<TRadixelArea>()->CopyTargetChanged(button);
    QVERIFY(form.CopyMenuItem->isEnabled());
    form.CopyMenuItem->trigger();
    QCOMPARE(clicks.size(), 1);

    emit form.CalcArea<TRadixelArea>()->CopyEnabledChanged(false);
    QVERIFY(!form.CopyMenuItem->isEnabled());
    QCOMPARE(form.CopyButton(), button);  // the target stays
    form.CopyMenuItemClick();
    QCOMPARE(clicks.size(), 1);

    emit form.CalcArea<TRadixelArea>()->CopyEnabledChanged(true);
    QVERIFY(form.CopyMenuItem->isEnabled());
    form.LatencyCalculatorMenuItemClick();
    form.IPSubnetCalculatorMenuItemClick();
    QVERIFY(!form.CopyMenuItem->isEnabled());

    emit form.CalcArea<TRadixelArea>()->CopyTargetChanged(nullptr);
    QVERIFY(!form.CopyMenuItem->isEnabled());
}

void tst_MainForm::menuShortcutsWinOverALineEdit()
{
    TMainForm form;
    auto *edit = new QLineEdit(form.CalcArea<TIPSubnetArea>());
    auto *button = new QToolButton(form.CalcArea<TIPSubnetArea>());
    QSignalSpy clicks(button, &QToolButton::clicked);
    if (!ShowActive(form))
        QSKIP("The platform does not activate windows");
    edit->show();
    edit->setFocus();
    edit->setText(QStringLiteral("1234"));
    edit->selectAll();

    // Without a copy target the line edit keeps Ctrl+C for itself.
    ClearClipboard();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(ClipboardText(), QStringLiteral("1234"));
    QCOMPARE(clicks.size(), 0);

    emit form.CalcArea<TIPSubnetArea>()->CopyTargetChanged(button);
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clicks.size(), 1);

    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    QVERIFY(!form.isVisible());
    QCOMPARE(edit->text(), QStringLiteral("1234"));  // not cut
    TRegKey key;
    QVERIFY(key.OpenKey(MainSettingsKey, false));  // closing saved
}

void tst_MainForm::restartRestoresCalculatorAndPlacement()
{
    QRect frame;
    {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.move(120, 90);
        form.LatencyCalculatorMenuItemClick();
        frame = form.frameGeometry();
        form.close();
    }
    TMainForm form;
    QCOMPARE(Shown(form), QStringLiteral("Latency"));
    QCOMPARE(Checked(form), QStringLiteral("Latency"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.frameGeometry().topLeft(), frame.topLeft());
    QCOMPARE(form.frameGeometry().size(), frame.size());
    QVERIFY(TakeErrorMessages().isEmpty());
}

void tst_MainForm::storedCalculator_data()
{
    QTest::addColumn<QByteArray>("values");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("errors");

    const QByteArray position = "\"Position\"=hex:0a,00,00,00,14,00,00,00,40,01,00,00,c2,01,00,00,00,00,00,00\r\n";
    QTest::newRow("0 radixel") << position + "\"Calculator\"=dword:00000000\r\n" << "Radixel" << QStringList();
    QTest::newRow("1 ip subnet") << position + "\"Calculator\"=dword:00000001\r\n" << "IPSubnet" << QStringList();
    QTest::newRow("2 latency") << position + "\"Calculator\"=dword:00000002\r\n" << "Latency" << QStringList();
    QTest::newRow("3 prefix") << position + "\"Calculator\"=dword:00000003\r\n" << "Prefix" << QStringList();
    QTest::newRow("4 unknown") << position + "\"Calculator\"=dword:00000004\r\n" << "IPSubnet" << QStringList();
    QTest::newRow("7 unknown") << position + "\"Calculator\"=dword:00000007\r\n" << "IPSubnet" << QStringList();
    QTest::newRow("text type") << position + "\"Calculator\"=\"2\"\r\n" << "IPSubnet"
                               << QStringList{u"Invalid data type for 'Calculator'"_s};
    QTest::newRow("missing") << position << "IPSubnet" << QStringList{u"Failed to get data for 'Calculator'"_s};
    QTest::newRow("truncated position is absent")
        << QByteArray("\"Position\"=hex:0a,00,00\r\n\"Calculator\"=dword:00000002\r\n") << "Latency" << QStringList();
    QTest::newRow("reversed position is absent")
        << QByteArray("\"Position\"=hex:88,13,00,00,14,00,00,00,a0,0f,00,00,c2,01,00,00,00,00,00,00\r\n"
                      "\"Calculator\"=dword:00000000\r\n")
        << "Radixel" << QStringList();
    QTest::newRow("position of text type")
        << QByteArray("\"Position\"=\"10,20\"\r\n\"Calculator\"=dword:00000002\r\n") << "IPSubnet"
        << QStringList{u"Invalid data type for 'Position'"_s};
    QTest::newRow("position too long")
        << QByteArray("\"Position\"=hex:") + QByteArray("00,").repeated(20) + "00\r\n\"Calculator\"=dword:00000000\r\n"
        << "IPSubnet" << QStringList{u"Invalid data type for 'Position'"_s};
}

void tst_MainForm::storedCalculator()
{
    QFETCH(QByteArray, values);
    QFETCH(QString, shown);
    QFETCH(QStringList, errors);
    FEnv->WriteSettingsFile(RootKeyFile(values));
    TMainForm form;
    QCOMPARE(Shown(form), shown);
    // Whatever was stored, the window stays on the screen.
    QVERIFY(form.x() >= 0 && form.x() < PrimaryScreenSize().width());
    QCOMPARE(Checked(form), shown);
    QCOMPARE(TakeErrorMessages(), errors);
}

void tst_MainForm::calculatorShownAtExitIsStored_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("stored");
    QTest::newRow("radixel") << "RadixelCalculatorMenuItem" << 0;
    QTest::newRow("ip subnet") << "IPSubnetCalculatorMenuItem" << 1;
    QTest::newRow("latency") << "LatencyCalculatorMenuItem" << 2;
    QTest::newRow("prefix") << "PrefixCalculatorMenuItem" << 3;
}

void tst_MainForm::calculatorShownAtExitIsStored()
{
    QFETCH(QString, item);
    QFETCH(int, stored);
    {
        TMainForm form;
        form.show();
        form.findChild<QAction *>(item)->trigger();
        form.close();
    }
    TRegKey key;
    QVERIFY(key.OpenKey(MainSettingsKey, false));
    QCOMPARE(key.ReadInteger(QStringLiteral("Calculator")), stored);
    QVERIFY(TakeErrorMessages().isEmpty());
}

void tst_MainForm::hiddenCalculatorsAreBuiltAfterTheFirstFrame()
{
    // A bad node value makes the latency calculator's load report, so the
    // test sees when its settings are read.
    FEnv->WriteSettingsFile(RootKeyFile("\"Calculator\"=dword:00000001\r\n\r\n"
                                        "[HKEY_CURRENT_USER\\Software\\Vorl Group\\Tarvelo Calculator\\2.20\\LatencyCalc]\r\n"
                                        "\"NodeA\"=\"sixty-four\"\r\n"));
    TMainForm form;
    QVERIFY(!form.findChild<TRadixelArea *>());
    QVERIFY(!form.findChild<TLatencyArea *>());
    QVERIFY(TakeErrorMessages().isEmpty());
    TIPSubnetArea *subnet = form.CalcArea<TIPSubnetArea>();
    subnet->PageControl()->setCurrentWidget(subnet->SubnetHostTab);
    QAbstractButton *copyTarget = form.CopyButton();
    QVERIFY(copyTarget && form.CopyMenuItem->isEnabled());

    form.show();
    QTRY_VERIFY(form.findChild<TRadixelArea *>() && form.findChild<TLatencyArea *>());
    QCOMPARE(TakeErrorMessages(), QStringList{u"Invalid data type for 'NodeA'"_s});
    // Built hidden: the calculator shown and its Copy target stay.
    QCOMPARE(Shown(form), QStringLiteral("IPSubnet"));
    QCOMPARE(form.CopyButton(), copyTarget);
    QVERIFY(form.CopyMenuItem->isEnabled());
    QCOMPARE(form.findChild<TLatencyArea *>()->geometry(), QRect(8, 88, 276, 313));

    form.LatencyCalculatorMenuItemClick();
    QCOMPARE(Shown(form), QStringLiteral("Latency"));
    QCOMPARE(form.findChildren<TLatencyArea *>().size(), 1);
    QVERIFY(TakeErrorMessages().isEmpty());
}

void tst_MainForm::calculatorNeverBuiltKeepsItsStoredSettings()
{
    const QByteArray latency = "[HKEY_CURRENT_USER\\Software\\Vorl Group\\Tarvelo Calculator\\2.20\\LatencyCalc]\r\n"
                               "\"NodeA\"=hex:00,10,00,00,05,00,00,00\r\n"
                               "\"NumNetworks\"=dword:00000001\r\n";
    FEnv->WriteSettingsFile(RootKeyFile("\"Calculator\"=dword:00000001\r\n\r\n" + latency));
    {
        TMainForm form;
        QVERIFY(!form.findChild<TLatencyArea *>());
        form.close();  // before the first frame
    }
    // The main window's own values were saved; the latency values are as
    // they were, not the defaults of a calculator that was never loaded.
    TSettingsStore saved(TSettingsStore::DefaultFileName());
    QVERIFY(saved.ReadValue(MainSettingsKey, QStringLiteral("Position")));
    QCOMPARE(saved.ValueNames(LatencySettingsKey), (QStringList{u"NodeA"_s, u"NumNetworks"_s}));
    QCOMPARE(*saved.ReadValue(LatencySettingsKey, QStringLiteral("NodeA")),
             TStoreValue::FromBinary(QByteArray::fromHex("0010000005000000")));
    QCOMPARE(*saved.ReadValue(LatencySettingsKey, QStringLiteral("NumNetworks")), TStoreValue::FromInteger(1));
    QVERIFY(TakeErrorMessages().isEmpty());
}

void tst_MainForm::anotherInstancesSaveSurvivesThisExit_data()
{
    QTest::addColumn<bool>("stored");  // every value stored, as the program loads it
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");

    const QString dravok = MainSettingsKey + QStringLiteral("\\Dravok");
    // A first run shows the defaults of values missing from the store.
    QTest::newRow("first run, IP subnet") << false << dravok << "SubnetAddress";
    QTest::newRow("stored, IP subnet") << true << dravok << "SubnetAddress";
    QTest::newRow("first run, latency") << false << LatencySettingsKey << "NumNetworks";
    QTest::newRow("stored, latency") << true << LatencySettingsKey << "NumNetworks";
}

// This window changes nothing; another instance saves a value meanwhile.
void tst_MainForm::anotherInstancesSaveSurvivesThisExit()
{
    QFETCH(bool, stored);
    QFETCH(QString, key);
    QFETCH(QString, name);
    if (stored)
        FEnv->WriteSettingsFile(RootKeyFile(
            "\"Calculator\"=dword:00000001\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Vorl Group\\Tarvelo Calculator\\2.20\\Dravok]\r\n"
            "\"UseSubnetBits\"=dword:00000001\r\n\"UseRFC1878\"=dword:00000000\r\n\"AddressType\"=\"B\"\r\n"
            "\"SubnetBits\"=dword:00000008\r\n\"SubnetAddress\"=dword:80000101\r\n"
            "\"SupernetAddress\"=dword:c0000001\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Vorl Group\\Tarvelo Calculator\\2.20\\LatencyCalc]\r\n"
            "\"NodeA\"=hex:40,00,00,00,00,00,00,00\r\n\"NodeB\"=hex:00,04,00,00,00,00,00,00\r\n"
            "\"NumNetworks\"=dword:00000001\r\n"
            "\"Network1\"=hex:00,00,00,00,00,00,00,00,4b,00,00,00,0e,00,00,00,00,00,00,00,08,00,00,00\r\n"
            "\"Network1Name\"=\"<Unknown Topology>\"\r\n"));
    TMainForm form;
    form.CalcArea<TLatencyArea>();  // as right after the first frame
    {
        TSettingsStore other(TSettingsStore::DefaultFileName());
        QVERIFY(other.WriteValue(key, name, TStoreValue::FromInteger(12345)));
        QVERIFY(other.Save());
    }
    form.close();
    TSettingsStore saved(TSettingsStore::DefaultFileName());
    QCOMPARE(saved.ReadValue(key, name), TStoreValue::FromInteger(12345));
    QVERIFY(saved.ReadValue(MainSettingsKey, QStringLiteral("Position")));  // this window's own
    QVERIFY(TakeErrorMessages().isEmpty());
}

void tst_MainForm::settingsFileDamagedWhileRunningIsReportedAtExit()
{
    FEnv->WriteSettingsFile(RootKeyFile("\"Calculator\"=dword:00000000\r\n"));
    TMainForm form;
    QFile file(FEnv->SettingsFileName());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("damaged by something else");
    file.close();
    form.close();
    const QStringList errors = TakeErrorMessages();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(QLatin1String("could not be read when the settings were saved")),
             qPrintable(errors.first()));
    TSettingsStore saved(TSettingsStore::DefaultFileName());
    QCOMPARE(saved.ReadValue(MainSettingsKey, QStringLiteral("Calculator")), TStoreValue::FromInteger(0));
}

void tst_MainForm::buildingHiddenCalculatorsKeepsTheFocus()
{
    TMainForm form;
    if (!ShowActive(form))
        QSKIP("The platform does not activate windows");
    form.CalcArea<TIPSubnetArea>()->MaskEdit1->setFocus();
    QTRY_VERIFY(form.findChild<TRadixelArea *>() && form.findChild<TLatencyArea *>());
    QCOMPARE(QApplication::focusWidget(), form.CalcArea<TIPSubnetArea>()->MaskEdit1);
}

void tst_MainForm::storedPlacementRoundTrip_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QRect>("normal");
    QTest::addColumn<Qt::WindowState>("state");
    QTest::addColumn<QPoint>("moveTo");
    QTest::addColumn<QByteArray>("saved");

    const QByteArray bounds = "0a,00,00,00,14,00,00,00,54,01,00,00,f4,01,00,00";
    const QRect normal(10, 20, 330, 480);
    QTest::newRow("normal") << bounds + ",00,00,00,00" << normal << Qt::WindowNoState << QPoint()
                            << bounds + ",00,00,00,00";
    QTest::newRow("normal, moved") << bounds + ",00,00,00,00" << normal << Qt::WindowNoState << QPoint(40, 30)
                                   << QByteArray("28,00,00,00,1e,00,00,00,72,01,00,00,fe,01,00,00,00,00,00,00");
    // Maximised, the bounds are the normal ones the window returns to.
    QTest::newRow("maximised") << bounds + ",02,00,00,00" << normal << Qt::WindowMaximized << QPoint()
                               << bounds + ",02,00,00,00";
    // Left -50 shifted right by 50.
    QTest::newRow("minimised, off the screen")
        << QByteArray("ce,ff,ff,ff,14,00,00,00,54,01,00,00,f4,01,00,00,01,00,00,00") << QRect(0, 20, 390, 480)
        << Qt::WindowMinimized << QPoint() << QByteArray("00,00,00,00,14,00,00,00,86,01,00,00,f4,01,00,00,01,00,00,00");
}

void tst_MainForm::storedPlacementRoundTrip()
{
    QFETCH(QByteArray, stored);
    QFETCH(QRect, normal);
    QFETCH(Qt::WindowState, state);
    QFETCH(QPoint, moveTo);
    QFETCH(QByteArray, saved);
    const QByteArray calculator = "\"Calculator\"=dword:00000001\r\n";
    FEnv->WriteSettingsFile(RootKeyFile("\"Position\"=hex:" + stored + "\r\n" + calculator));
    {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form) || state == Qt::WindowMinimized);
        QTRY_COMPARE(form.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized), state);
        // The offscreen platform draws a frame too; the stored bounds are
        // the frame's. A minimised window is placed when it is shown again.
        if (state != Qt::WindowMinimized)
            QCOMPARE(form.normalGeometry().marginsAdded(form.windowHandle()->frameMargins()), normal);
        if (!moveTo.isNull())
            form.move(moveTo);
        form.close();
    }
    TRegKey key;
    QVERIFY(key.OpenKey(MainSettingsKey, false));
    QCOMPARE(key.ReadBinaryData(QStringLiteral("Position"), 20).toHex(','), saved);
    QVERIFY(TakeErrorMessages().isEmpty());
}

void tst_MainForm::exceptionInAHandlerIsShownAndTheProgramCarriesOn()
{
    QPushButton button(QStringLiteral("Fail"));
    int runs = 0;
    GuardedConnect(&button, &QPushButton::clicked, &button, [&runs] {
        ++runs;
        RaiseError(QStringLiteral("'abc' is not a valid integer value"));
    });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(runs, 2);
    QCOMPARE(TakeErrorMessages(), QStringList(2, QStringLiteral("'abc' is not a valid integer value")));
    QCOMPARE(TApplication::TakeEscapedErrorCount(), 0);
}

void tst_MainForm::lastResortShowsWhatEscapes()
{
    // Not a handler of ours: an object whose event handling lets an error
    // out. The application object still shows it, and counts it.
    struct TLeaky : QObject
    {
        bool event(QEvent *) override { RaiseError(QStringLiteral("Range check error")); }
    } leaky;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&leaky, &event);
    QCoreApplication::sendEvent(&leaky, &event);
    QCOMPARE(TakeErrorMessages(), QStringList(2, QStringLiteral("Range check error")));
    QCOMPARE(TApplication::TakeEscapedErrorCount(), 2);
}

// The window at its start, shown, with the latency calculator and the
// chain Node A - Ethernet at 0 Mbps - Node B: entering a results page fails
// with "Floating point division by zero". None when it cannot be shown.
std::unique_ptr<TMainForm> tst_MainForm::StartWithEthernetAtZeroMbps()
{
    FEnv->WriteSettingsFile(RootKeyFile("\"Calculator\"=dword:00000002\r\n"));
    TLatencySettings settings;
    settings.NodeA = {64, 0};
    settings.NodeB = {1024, 0};
    settings.Networks = {TStoredNetwork{TNetworkRecord{0.0, 75, quint8(TNetworkButtonKind::nbEthernet), 0, 8},
                                        TNetworkButtonKind::nbEthernet, QStringLiteral("Ethernet")}};
    WriteLatencySettings(settings);
    auto form = std::make_unique<TMainForm>();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return nullptr;
    return form;
}

void tst_MainForm::errorThroughATabClick_data()
{
    QTest::addColumn<int>("tab");
    QTest::newRow("Latency Statistics") << 1;
    QTest::newRow("Latency Graphs") << 2;
}

void tst_MainForm::errorThroughATabClick()
{
    QFETCH(int, tab);
    const std::unique_ptr<TMainForm> form = StartWithEthernetAtZeroMbps();
    QVERIFY(form);
    TLatencyArea *latency = form->findChild<TLatencyArea *>();
    QVERIFY(latency && latency->isVisible());
    TNetworkSetupPage *setup = latency->NetworkSetupTabSheet;
    const QList<TNetworkElement *> chain = latency->Chain().Elements();
    QCOMPARE(chain.at(1)->DisplayName(), QStringLiteral("Ethernet (0 Mbps)"));
    const TSuperStringGrid *grid = latency->LatencyStatsPage->LatencyStatsStringGrid;
    const QStringList table = GridColumn(grid, 1);
    QVERIFY(TakeErrorMessages().isEmpty());

    for (int attempt = 0; attempt < 2; ++attempt) {
        ClickTab(latency->PageControl(), tab);
        QCOMPARE(TakeErrorMessages(), QStringList{u"Floating point division by zero"_s});
        QCOMPARE(TApplication::TakeEscapedErrorCount(), 0);
        // The tab had switched before the page's enter handler failed; the
        // results stay out of date (the next entry tries again), the old
        // table stays, the chain is as it was.
        QCOMPARE(latency->PageControl()->currentIndex(), tab);
        QVERIFY(latency->Chain().LatencyDirty());
        QCOMPARE(GridColumn(grid, 1), table);
        QCOMPARE(latency->Chain().Elements(), chain);
        QCOMPARE(chain.at(1)->DisplayName(), QStringLiteral("Ethernet (0 Mbps)"));

        // The program goes on: back to the setup page without an error.
        ClickTab(latency->PageControl(), 0);
        QCOMPARE(latency->PageControl()->currentIndex(), 0);
        QVERIFY(TakeErrorMessages().isEmpty());
    }
    QVERIFY(form->CopyMenuItem->isEnabled());
    QCOMPARE(form->CopyButton(), setup->CopyNetworkSetupButton);
}

void tst_MainForm::errorThroughAButtonClick_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("packet direction item") << "PacketDirRadioGroup" << "Floating point division by zero";
    QTest::newRow("properties OK with an unreadable bandwidth")
        << "OKButton" << "'ten' is not a valid floating point value";
}

void tst_MainForm::errorThroughAButtonClick()
{
    QFETCH(QString, button);
    QFETCH(QString, message);
    const std::unique_ptr<TMainForm> form = StartWithEthernetAtZeroMbps();
    QVERIFY(form);
    TLatencyArea *latency = form->findChild<TLatencyArea *>();
    QVERIFY(latency);
    TNetworkButton *ethernet = latency->NetworkSetupTabSheet->NetworkButton(latency->Chain().Element(1));
    TNetworkButtonForm *dialog = latency->NetworkButtonForm;

    QAbstractButton *target = nullptr;
    if (button == u"PacketDirRadioGroup") {
        ClickTab(latency->PageControl(), 1);
        QCOMPARE(TakeErrorMessages(), QStringList{message});
        QCOMPARE(TApplication::TakeEscapedErrorCount(), 0);
        target = latency->LatencyStatsPage->PacketDirRadioGroup->findChildren<QRadioButton *>().at(1);
    } else {
        ethernet->PropertiesItem()->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        dialog->BandwidthComboBox->setEditText(QStringLiteral("ten"));
        target = dialog->OKButton;
    }
    QVERIFY(target && target->isVisible());

    for (int attempt = 0; attempt < 2; ++attempt) {
        QTest::mouseClick(target, Qt::LeftButton);
        QCOMPARE(TakeErrorMessages(), QStringList{message});
        QCOMPARE(TApplication::TakeEscapedErrorCount(), 0);
    }
    // Nothing was stored on the way to the error; the dialog stays open.
    QCOMPARE(ethernet->Element()->DisplayName(), QStringLiteral("Ethernet (0 Mbps)"));
    QCOMPARE(ethernet->toolTip(), QStringLiteral("Ethernet (0 Mbps)"));
    QCOMPARE(dialog->isVisible(), button == u"OKButton");
}

void tst_MainForm::aboutWindowHidesAndKeepsItsPicture()
{
    TMainForm form;
    auto *about = new TAboutCalc(&form);
    form.SetAboutWindow(about);
    QCOMPARE(about->windowTitle(), QStringLiteral("About the Tarvelo Calculator"));
    QCOMPARE(about->size(), QSize(313, 282));
    QCOMPARE(about->InfoMemo->toPlainText().split(u'\n').mid(0, 2),
             (QStringList{u"Tarvelo Calculator"_s, u"Release 2.20"_s}));
    QVERIFY(about->windowFlags() & Qt::WindowStaysOnTopHint);

    form.AboutMenuItemClick();
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal());
    QTest::keyClick(about, Qt::Key_Escape);
    QVERIFY(!about->isVisible());

    form.AboutMenuItemClick();
    QTest::mouseDClick(about->AboutImage, Qt::LeftButton);
    QVERIFY(about->CreditMemo->isVisible());
    QVERIFY(!about->AboutImage->isVisible());
    QTest::keyClick(about, Qt::Key_Return);
    QVERIFY(!about->isVisible());

    form.AboutMenuItemClick();
    QVERIFY(about->CreditMemo->isVisible());  // the swap survives hiding
    QTest::mouseClick(about->CreditMemo, Qt::LeftButton);
    QVERIFY(about->AboutImage->isVisible());
    QVERIFY(!about->CreditMemo->isVisible());
}

void tst_MainForm::helpTopicsOpenTheContentsWithOneTopicPerCalculator()
{
    TMainForm form;
    form.HelpTopicsMenuItemClick();
    auto *help = form.findChild<THelpWindow *>();
    QVERIFY(help && help->isVisible());
    QTextBrowser *browser = help->Browser();
    QCOMPARE(browser->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
    const QString contents = browser->toHtml();
    for (const char *topic : {"radixel.html", "ipsubnet.html", "latency.html", "prefix.html"}) {
        QVERIFY2(contents.contains(QLatin1String(topic)), topic);
        browser->setSource(QUrl(QStringLiteral("qrc:/help/") + QLatin1String(topic)));
        QVERIFY2(browser->document()->toPlainText().contains(QLatin1String("Calculator")), topic);
    }
    // The same window comes back at its contents.
    form.HelpTopicsMenuItemClick();
    QCOMPARE(form.findChildren<THelpWindow *>().size(), 1);
    QCOMPARE(browser->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
}

TARVELO_TEST_MAIN(tst_MainForm)
#include "tst_mainform.moc"
