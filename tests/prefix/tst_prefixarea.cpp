#include <QAbstractItemModelTester>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "app/SettingsStore.h"
#include "controls/Beep.h"
#include "controls/BetterSpinEdit.h"
#include "controls/PageControl.h"
#include "controls/SuperStringGrid.h"
#include "controls/VorlPanels.h"
#include "prefix/PrefixArea.h"
#include "prefix/PrefixInfoPage.h"
#include "prefix/PrefixSettings.h"
#include "prefix/PrefixSplitPage.h"
#include "prefix/PrefixTextPages.h"
#include "tests/common/TestEnvironment.h"
#include "tests/common/WidgetChecks.h"

using namespace Qt::StringLiterals;

namespace {

enum TPage { pgPrefix, pgSplit, pgPlan, pgSummarize };

// "caption=value" per row of a caption/value grid.
QStringList ResultRows(const TSuperStringGrid *grid)
{
    QStringList rows;
    for (int row = 0; row < grid->RowCount(); ++row)
        rows << grid->Cells(0, row) + u'=' + grid->Cells(1, row);
    return rows;
}

// The cells of a table's rows below its header, joined by '|'.
QStringList TableRows(const TSuperStringGrid *grid)
{
    QStringList rows;
    for (int row = grid->FixedRows(); row < grid->RowCount(); ++row) {
        QStringList cells;
        for (int col = 0; col < grid->ColCount(); ++col)
            cells << grid->Cells(col, row);
        rows << cells.join(u'|');
    }
    return rows;
}

} // namespace

// The Prefix calculator's area, used as the main window uses it: in its
// place in a window of the main window's size, with a Copy command on
// Ctrl+C that clicks the area's copy target, and the calculator's own
// shortcut, Ctrl+R, on the window.
class tst_TPrefixArea : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void controlsAsDesigned();
    void typingShowsResults_data();
    void typingShowsResults();
    void resultsFollowEachKeystroke();
    void unreadableTextKeepsResults_data();
    void unreadableTextKeepsResults();
    void nothingIsClipped_data();
    void nothingIsClipped();
    void splitCountAndLengths_data();
    void splitCountAndLengths();
    void splitLengthTyped();
    void goToReachesRowsBeyondTheViewLimit();
    void goToThatCannotBeReadSaysWhy_data();
    void goToThatCannotBeReadSaysWhy();
    void scrollBarMovesTheTable();
    void copyOfSelectedSubnets();
    void copyOfTooManyRowsIsRefused();
    void splitModelPassesTheTester();
    void planThroughTheBox();
    void planThatDoesNotFit();
    void summarizeThroughTheBox();
    void copyTextsOfEveryPage_data();
    void copyTextsOfEveryPage();
    void copyCommandFollowsThePage();
    void settingsLoad();
    void settingsLoadKeepsGoodValuesBesideBadOnes_data();
    void settingsLoadKeepsGoodValuesBesideBadOnes();
    void settingsSave();
    void everyValueAndInputIsReadable();
    void noControlClaimsTheCalculatorShortcut();
    void calculatorShortcutReachesTheWindowFromEveryControl();

private:
    void CreateArea();
    void TypeEntry(const QString &text);
    void ShowPage(int page);
    void TypeSplitLength(int length);
    void GoTo(const QString &text);
    void TypeLines(QPlainTextEdit *memo, const QStringList &lines);
    QString Value(const QString &caption) const;
    TSuperStringGrid *SplitGrid() const { return FArea->SplitTabSheet->SplitStringGrid; }
    QPoint SplitCell(int col, int windowRow) const
    {
        return SplitGrid()->CellRect(col, 1 + windowRow).center();
    }

    std::unique_ptr<TTestEnvironment> FEnvironment;
    std::unique_ptr<QWidget> FWindow;
    TPrefixArea *FArea = nullptr;
    QAction *FCalculatorAction = nullptr;
    TCopyCommand FCopy;
};

void tst_TPrefixArea::initTestCase()
{
    qRegisterMetaType<QAbstractButton *>();
}

void tst_TPrefixArea::init()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
    ResetBeepCount();
    TakeErrorMessages();
    ClearClipboard();
    CreateArea();
}

void tst_TPrefixArea::CreateArea()
{
    FWindow = std::make_unique<QWidget>();
    FWindow->resize(292, 409);
    FArea = new TPrefixArea(FWindow.get());
    FArea->move(8, 88);
    ConnectPageSwitches(FArea);
    FCopy.Connect(FArea, FWindow.get());
    FCalculatorAction = new QAction(FWindow.get());
    FCalculatorAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    FWindow->addAction(FCalculatorAction);
    FWindow->show();
    FWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
    // As the main window does when it shows the calculator.
    FArea->PageEntered(FArea->PrefixPageControl->currentWidget());
}

void tst_TPrefixArea::cleanup()
{
    FWindow.reset();
    FArea = nullptr;
    FEnvironment.reset();
}

void tst_TPrefixArea::TypeEntry(const QString &text)
{
    FArea->PrefixEdit->setFocus();
    FArea->PrefixEdit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(FArea->PrefixEdit, Qt::Key_Delete);
    else
        QTest::keyClicks(FArea->PrefixEdit, text);
}

void tst_TPrefixArea::ShowPage(int page)
{
    QTabBar *tabs = FArea->PrefixPageControl->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
    QCOMPARE(FArea->PrefixPageControl->currentIndex(), page);
    // The page is laid out for its size; its tables then count their rows.
    QCoreApplication::processEvents();
}

void tst_TPrefixArea::TypeSplitLength(int length)
{
    TBetterSpinEdit *spin = FArea->SplitTabSheet->NewLengthSpinEdit;
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QString::number(length));
    QTest::keyClick(spin, Qt::Key_Return);
    QCoreApplication::processEvents();
}

void tst_TPrefixArea::GoTo(const QString &text)
{
    QLineEdit *edit = FArea->SplitTabSheet->GoToEdit;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

void tst_TPrefixArea::TypeLines(QPlainTextEdit *memo, const QStringList &lines)
{
    memo->setFocus();
    memo->selectAll();
    QTest::keyClick(memo, Qt::Key_Delete);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, lines[i]);
    }
}

QString tst_TPrefixArea::Value(const QString &caption) const
{
    const TSuperStringGrid *grid = FArea->PrefixTabSheet->PrefixStringGrid;
    for (int row = 0; row < grid->RowCount(); ++row)
        if (grid->Cells(0, row) == caption)
            return grid->Cells(1, row);
    return u"<no %1>"_s.arg(caption);
}

void tst_TPrefixArea::controlsAsDesigned()
{
    QCOMPARE(FArea->size(), QSize(276, 313));
    QCOMPARE(FArea->PrefixPageControl->geometry(), QRect(0, 88, 276, 225));
    QCOMPARE(FArea->CopyPrefixButton->geometry(), QRect(232, 54, 25, 25));
    QStringList tabs;
    for (int i = 0; i < FArea->PrefixPageControl->count(); ++i)
        tabs << FArea->PrefixPageControl->tabText(i);
    QCOMPARE(tabs, (QStringList{u"Prefix"_s, u"Split"_s, u"Plan"_s, u"Summarize"_s}));
    QCOMPARE(FArea->PrefixLabel->buddy(), FArea->PrefixEdit);
    QCOMPARE(FArea->PrefixEdit->text(), u"192.168.1.0/24"_s);
    QCOMPARE(Value(u"Network"_s), u"192.168.1.0/24"_s);
    QVERIFY(!FArea->PrefixMessageLabel->isVisible());
    // After the entry, Tab goes to the pages.
    QWidget *next = FArea->PrefixEdit->nextInFocusChain();
    while (!(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    QVERIFY(next == FArea->PrefixPageControl || next == FArea->PrefixPageControl->tabBar());
}

void tst_TPrefixArea::typingShowsResults_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("CIDR") << u"10.1.2.3/19"_s
        << QStringList{u"Network=10.1.0.0/19"_s, u"Host Range=10.1.0.1 - 10.1.31.254"_s, u"Broadcast=10.1.31.255"_s,
                       u"Netmask=255.255.224.0"_s, u"Wildcard=0.0.31.255"_s, u"Addresses=8192 (2^13)"_s,
                       u"Usable Hosts=8190"_s, u"Address Type=Private-Use (RFC 1918)"_s};
    QTest::newRow("netmask after a blank") << u"10.1.2.3 255.255.224.0"_s << QStringList{u"Network=10.1.0.0/19"_s};
    QTest::newRow("netmask after a slash") << u"10.1.2.3/255.255.224.0"_s << QStringList{u"Network=10.1.0.0/19"_s};
    QTest::newRow("RFC 3021 /31") << u"192.0.2.6/31"_s
        << QStringList{u"Host Range=192.0.2.6 - 192.0.2.7"_s, u"Broadcast=none"_s, u"Usable Hosts=2"_s};
    QTest::newRow("IPv6") << u"2001:db8::1/48"_s
        << QStringList{u"Network=2001:db8::/48"_s, u"First Address=2001:db8::"_s,
                       u"Compressed=2001:db8::1"_s, u"Expanded=2001:0db8:0000:0000:0000:0000:0000:0001"_s,
                       u"/64 Networks=65536 (2^16)"_s, u"Address Type=Documentation (RFC 3849)"_s};
    QTest::newRow("IPv4-mapped") << u"::ffff:10.1.2.3/120"_s << QStringList{u"Network=::ffff:10.1.2.0/120"_s};
    QTest::newRow("a bare address") << u"192.0.2.7"_s
        << QStringList{u"Network=192.0.2.7/32"_s, u"Host Range=192.0.2.7"_s};
    QTest::newRow("the whole IPv6 space") << u"::/0"_s
        << QStringList{u"Addresses=340282366920938463463374607431768211456 (2^128)"_s};
}

void tst_TPrefixArea::typingShowsResults()
{
    QFETCH(QString, entry);
    QFETCH(QStringList, rows);
    TypeEntry(entry);
    const QStringList shown = ResultRows(FArea->PrefixTabSheet->PrefixStringGrid);
    for (const QString &row : rows)
        QVERIFY2(shown.contains(row), qPrintable(row + u" not in "_s + shown.join(u"; ")));
    QVERIFY(!FArea->PrefixMessageLabel->isVisible());
    QCOMPARE(BeepCount(), 0);
}

void tst_TPrefixArea::resultsFollowEachKeystroke()
{
    FArea->PrefixEdit->setFocus();
    FArea->PrefixEdit->selectAll();
    QTest::keyClicks(FArea->PrefixEdit, u"10.1.2.3"_s);
    QCOMPARE(Value(u"Network"_s), u"10.1.2.3/32"_s);
    QTest::keyClicks(FArea->PrefixEdit, u"/1"_s);
    QCOMPARE(Value(u"Network"_s), u"0.0.0.0/1"_s);
    QTest::keyClicks(FArea->PrefixEdit, u"9"_s);
    QCOMPARE(Value(u"Network"_s), u"10.1.0.0/19"_s);
    QTest::keyClick(FArea->PrefixEdit, Qt::Key_Backspace);
    QTest::keyClick(FArea->PrefixEdit, Qt::Key_Backspace);
    // "10.1.2.3/" is on its way: the last results stay, with what is missing.
    QCOMPARE(Value(u"Network"_s), u"0.0.0.0/1"_s);
    QCOMPARE(FArea->PrefixMessageLabel->text(), u"prefix length is missing after '/'"_s);
    QCOMPARE(BeepCount(), 0);
    // Enter says it is not done.
    QTest::keyClick(FArea->PrefixEdit, Qt::Key_Return);
    QCOMPARE(BeepCount(), 1);
}

void tst_TPrefixArea::unreadableTextKeepsResults_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");
    QTest::newRow("IPv4 length") << u"10.1.2.3/33"_s << u"prefix length 33 is out of range 0–32"_s;
    QTest::newRow("IPv6 length") << u"2001:db8::/129"_s << u"prefix length 129 is out of range 0–128"_s;
    QTest::newRow("gaps in a netmask") << u"10.1.2.3 255.0.255.0"_s << u"netmask 255.0.255.0 is not contiguous"_s;
    QTest::newRow("nothing") << QString() << u"enter an address, like 10.1.2.3/19 or 2001:db8::1/48"_s;
}

void tst_TPrefixArea::unreadableTextKeepsResults()
{
    QFETCH(QString, entry);
    QFETCH(QString, message);
    TypeEntry(u"172.16.5.4/22"_s);
    const QStringList before = ResultRows(FArea->PrefixTabSheet->PrefixStringGrid);
    // Put in whole, as a paste does (typing passes through texts that read).
    FArea->PrefixEdit->selectAll();
    if (entry.isEmpty()) {
        QTest::keyClick(FArea->PrefixEdit, Qt::Key_Delete);
    } else {
        QGuiApplication::clipboard()->setText(entry);
        QTest::keyClick(FArea->PrefixEdit, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(FArea->PrefixEdit->text(), entry);
    QCOMPARE(ResultRows(FArea->PrefixTabSheet->PrefixStringGrid), before);
    QVERIFY(FArea->PrefixMessageLabel->isVisible());
    QCOMPARE(FArea->PrefixMessageLabel->text(), message);
    QCOMPARE(AccessibleName(FArea->PrefixMessageLabel), message);
    // A text put in whole beeps at once (deleting one does not), Enter again.
    QCOMPARE(BeepCount(), entry.isEmpty() ? 0 : 1);
    QTest::keyClick(FArea->PrefixEdit, Qt::Key_Return);
    QCOMPARE(BeepCount(), entry.isEmpty() ? 1 : 2);
    // The split and the plan stay with the prefix last read.
    ShowPage(pgSplit);
    QCOMPARE(FArea->SplitTabSheet->SubnetCountPanel->Caption(), u"4"_s);
    QCOMPARE(SplitGrid()->Cells(1, 1), u"172.16.4.0/24"_s);
    TypeEntry(u"172.16.5.4/23"_s);
    QVERIFY(!FArea->PrefixMessageLabel->isVisible());
}

void tst_TPrefixArea::nothingIsClipped_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("page");
    for (const int page : {pgPrefix, pgSplit, pgPlan, pgSummarize}) {
        const QString name = QStringList{u"Prefix"_s, u"Split"_s, u"Plan"_s, u"Summarize"_s}.at(page);
        QTest::addRow("IPv4 on %s", qPrintable(name)) << u"192.168.100.100/24"_s << 0 << page;
        QTest::addRow("the full IPv6 form on %s", qPrintable(name))
            << u"2001:0db8:0000:0000:0000:0000:0000:0001/128"_s << 0 << page;
        QTest::addRow("::/0 into /128 on %s", qPrintable(name)) << u"::/0"_s << 128 << page;
        QTest::addRow("a long message on %s", qPrintable(name)) << u"2001:db8::/64 255.255.255.0"_s << 0 << page;
        QTest::addRow("a long word in the message on %s", qPrintable(name))
            << u"dddd:dddd:dddd:dddd:dddd:dddd:dddd:dddd:dddd/4"_s << 0 << page;
    }
}

void tst_TPrefixArea::nothingIsClipped()
{
    QFETCH(QString, entry);
    QFETCH(int, length);
    QFETCH(int, page);
    TypeEntry(entry);
    if (length > 0) {
        ShowPage(pgSplit);
        TypeSplitLength(length);
    }
    ShowPage(page);
    const QStringList clipped = ClippedTexts(FWindow.get());
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
    // The check itself sees a text cut short.
    FArea->PrefixEdit->resize(12, 21);
    QVERIFY(ClippedTexts(FWindow.get()).join(u'\n').contains(u"PrefixEdit: \""_s + entry));
}

void tst_TPrefixArea::splitCountAndLengths_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("count");
    QTest::newRow("IPv4: prefix + 2") << u"10.0.0.0/24"_s << 25 << 32 << 26 << u"Subnets (2^2)"_s << u"4"_s;
    QTest::newRow("IPv4 /31") << u"10.0.0.0/31"_s << 32 << 32 << 32 << u"Subnets (2^1)"_s << u"2"_s;
    QTest::newRow("IPv6 shorter than /64: /64s") << u"2001:db8::/32"_s << 33 << 128 << 64 << u"Subnets (2^32)"_s
                                                 << u"4294967296"_s;
    QTest::newRow("IPv6 from /64: prefix + 2") << u"2001:db8::/96"_s << 97 << 128 << 98 << u"Subnets (2^2)"_s
                                               << u"4"_s;
}

void tst_TPrefixArea::splitCountAndLengths()
{
    QFETCH(QString, entry);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(QString, caption);
    QFETCH(QString, count);
    TypeEntry(entry);
    ShowPage(pgSplit);
    TPrefixSplitPage *page = FArea->SplitTabSheet;
    QCOMPARE(page->NewLengthSpinEdit->MinValue(), minimum);
    QCOMPARE(page->NewLengthSpinEdit->MaxValue(), maximum);
    QCOMPARE(page->NewLengthSpinEdit->Value(), value);
    QVERIFY(page->NewLengthSpinEdit->isEnabled());
    QCOMPARE(page->SubnetCountLabel->text(), caption);
    QCOMPARE(page->SubnetCountPanel->Caption(), count);
    QCOMPARE(AccessibleName(page->SubnetCountPanel), count);
    QCOMPARE(SplitGrid()->Cells(0, 1), u"1"_s);
}

void tst_TPrefixArea::splitLengthTyped()
{
    TypeEntry(u"10.0.0.0/8"_s);
    ShowPage(pgSplit);
    TypeSplitLength(12);
    QCOMPARE(FArea->SplitTabSheet->SubnetCountPanel->Caption(), u"16"_s);
    QCOMPARE(TableRows(SplitGrid()).value(1), u"2|10.16.0.0/12|10.16.0.1 - 10.31.255.254|10.31.255.255"_s);
    // Beyond the range: the field clamps, the split follows.
    TypeSplitLength(40);
    QCOMPARE(FArea->SplitTabSheet->NewLengthSpinEdit->Value(), 32);
    QCOMPARE(FArea->SplitTabSheet->SubnetCountLabel->text(), u"Subnets (2^24)"_s);
    QCOMPARE(SplitGrid()->Cells(1, 2), u"10.0.0.1/32"_s);
    QCOMPARE(SplitGrid()->Cells(3, 2), u"none"_s);
    // The length chosen stays for the next IPv4 prefix it fits.
    TypeEntry(u"10.0.0.0/16"_s);
    QCOMPARE(FArea->SplitTabSheet->NewLengthSpinEdit->Value(), 32);
    // A prefix that cannot be split leaves the field off.
    TypeEntry(u"10.0.0.1"_s);
    QVERIFY(!FArea->SplitTabSheet->NewLengthSpinEdit->isEnabled());
    QCOMPARE(FArea->SplitTabSheet->SubnetCountPanel->Caption(), u"none (a /32 cannot be split)"_s);
    QCOMPARE(SplitGrid()->RowCount(), 1);
}

void tst_TPrefixArea::goToReachesRowsBeyondTheViewLimit()
{
    TypeEntry(u"0.0.0.0/0"_s);
    ShowPage(pgSplit);
    TypeSplitLength(32);
    QCOMPARE(FArea->SplitTabSheet->SubnetCountPanel->Caption(), u"4294967296"_s);
    // The view holds 2^31 - 1 rows; the scroll bar reaches its end only.
    QCOMPARE(SplitGrid()->DataRowCount(), INT_MAX);
    GoTo(u"4,294,967,296"_s);
    QCOMPARE(BeepCount(), 0);
    const TGridRowSelection selection = SplitGrid()->RowSelection();
    QCOMPARE(selection.FirstRow, selection.LastRow);
    const int windowRow = selection.FirstRow - SplitGrid()->TopRow();
    QCOMPARE(SplitGrid()->Cells(0, 1 + windowRow), u"4294967296"_s);
    QCOMPARE(SplitGrid()->Cells(1, 1 + windowRow), u"255.255.255.255/32"_s);
    QCOMPARE(FArea->SplitTabSheet->SplitScrollBar->value(), SplitGrid()->TopRow());
    // Its neighbours are a scroll away.
    QTest::keyClick(SplitGrid(), Qt::Key_Up);
    QCOMPARE(SplitGrid()->Cells(0, 1 + SplitGrid()->RowSelection().FirstRow - SplitGrid()->TopRow()),
             u"4294967295"_s);
    FArea->CopyPrefixButton->click();
    QCOMPARE(ClipboardText(), u"#\tNetwork\tHost Range\tBroadcast\r\n"
                              "4294967295\t255.255.255.254/32\t255.255.255.254\tnone\r\n"_s);
    // A number inside the view again needs no move of it.
    GoTo(u"3000000000"_s);
    QCOMPARE(SplitGrid()->Cells(0, 1 + SplitGrid()->RowSelection().FirstRow - SplitGrid()->TopRow()),
             u"3000000000"_s);
    QVERIFY(!FArea->SplitTabSheet->SplitMessageLabel->isVisible());
}

void tst_TPrefixArea::goToThatCannotBeReadSaysWhy_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("letters") << u"12a"_s << u"'12a' is not a subnet number"_s;
    QTest::newRow("zero") << u"0"_s << u"subnets are numbered from 1"_s;
    QTest::newRow("past the last") << u"5"_s << u"subnet 5 is beyond the last one, 4"_s;
}

void tst_TPrefixArea::goToThatCannotBeReadSaysWhy()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    TypeEntry(u"10.0.0.0/24"_s);
    ShowPage(pgSplit);
    GoTo(u"3"_s);
    const int top = SplitGrid()->TopRow();
    const TGridRowSelection selection = SplitGrid()->RowSelection();
    GoTo(text);
    QCOMPARE(BeepCount(), 1);
    QVERIFY(FArea->SplitTabSheet->SplitMessageLabel->isVisible());
    QCOMPARE(FArea->SplitTabSheet->SplitMessageLabel->text(), message);
    QCOMPARE(SplitGrid()->TopRow(), top);
    QCOMPARE(SplitGrid()->RowSelection(), selection);
    // The table makes room for the message and gives it back.
    QVERIFY(FArea->SplitTabSheet->SplitTableFrame->y() > FArea->SplitTabSheet->SplitMessageLabel->geometry().bottom());
    TypeSplitLength(28);
    QVERIFY(!FArea->SplitTabSheet->SplitMessageLabel->isVisible());
    QCOMPARE(FArea->SplitTabSheet->GoToEdit->text(), text);
}

void tst_TPrefixArea::scrollBarMovesTheTable()
{
    TypeEntry(u"10.0.0.0/8"_s);
    ShowPage(pgSplit);
    TypeSplitLength(30);
    QScrollBar *bar = FArea->SplitTabSheet->SplitScrollBar;
    QCOMPARE(bar->maximum(), 4194304 - SplitGrid()->PageRowCount());
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(SplitGrid()->Cells(0, 1), QString::number(SplitGrid()->PageRowCount() + 1));
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(SplitGrid()->Cells(0, SplitGrid()->RowCount() - 1), u"4194304"_s);
    QCOMPARE(SplitGrid()->Cells(1, SplitGrid()->RowCount() - 1), u"10.255.255.252/30"_s);
    // Keys move the bar with the table.
    SplitGrid()->setFocus();
    QTest::keyClick(SplitGrid(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(SplitGrid()->Cells(0, 1), u"1"_s);
}

void tst_TPrefixArea::copyOfSelectedSubnets()
{
    TypeEntry(u"192.168.1.0/24"_s);
    ShowPage(pgSplit);
    TypeSplitLength(27);
    QTest::mouseClick(SplitGrid()->viewport(), Qt::LeftButton, {}, SplitCell(1, 1));
    QTest::mouseClick(SplitGrid()->viewport(), Qt::LeftButton, Qt::ShiftModifier, SplitCell(2, 3));
    QTest::keyClick(SplitGrid(), Qt::Key_C, Qt::ControlModifier);
    // Whole rows, whatever columns are selected.
    QCOMPARE(ClipboardText(), u"#\tNetwork\tHost Range\tBroadcast\r\n"
                              "2\t192.168.1.32/27\t192.168.1.33 - 192.168.1.62\t192.168.1.63\r\n"
                              "3\t192.168.1.64/27\t192.168.1.65 - 192.168.1.94\t192.168.1.95\r\n"
                              "4\t192.168.1.96/27\t192.168.1.97 - 192.168.1.126\t192.168.1.127\r\n"_s);
    TypeEntry(u"2001:db8::/126"_s);
    ShowPage(pgSplit);
    QTest::mouseClick(SplitGrid()->viewport(), Qt::LeftButton, {}, SplitCell(0, 0));
    FArea->CopyPrefixButton->click();
    QCOMPARE(ClipboardText(), u"#\tNetwork\tAddress Range\r\n1\t2001:db8::/128\t2001:db8::\r\n"_s);
}

void tst_TPrefixArea::copyOfTooManyRowsIsRefused()
{
    TypeEntry(u"10.0.0.0/8"_s);
    ShowPage(pgSplit);
    TypeSplitLength(30);
    QGuiApplication::clipboard()->setText(u"kept"_s);
    SplitGrid()->setFocus();
    QTest::keyClick(SplitGrid(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(SplitGrid(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(TakeErrorMessages(),
             QStringList{u"4194304 rows are too many to copy: at most 1048576 rows can be copied at once. "
                         "Select a smaller range."_s});
    QCOMPARE(ClipboardText(), u"kept"_s);
    // A smaller selection copies.
    QTest::keyClick(SplitGrid(), Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(SplitGrid(), Qt::Key_PageDown, Qt::ShiftModifier);
    QTest::keyClick(SplitGrid(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(ClipboardText().count(u"\r\n"_s), 1 + 3 * SplitGrid()->PageRowCount() + 1);
    QCOMPARE(TakeErrorMessages(), QStringList());
}

void tst_TPrefixArea::splitModelPassesTheTester()
{
    ShowPage(pgSplit);
    QAbstractItemModelTester tester(SplitGrid()->Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    TypeEntry(u"2001:db8::/32"_s);
    TypeSplitLength(128);
    GoTo(u"79228162514264337593543950336"_s);
    SplitGrid()->setFocus();
    QTest::keyClick(SplitGrid(), Qt::Key_PageUp);
    FArea->SplitTabSheet->SplitScrollBar->triggerAction(QAbstractSlider::SliderToMinimum);
    TypeEntry(u"10.0.0.0/30"_s);
    TypeEntry(u"10.0.0.1"_s);
    TypeEntry(u"10.0.0.0/24"_s);
    QCOMPARE(SplitGrid()->Model()->rowCount(), 4);
}

void tst_TPrefixArea::planThroughTheBox()
{
    TypeEntry(u"10.0.0.0/24"_s);
    ShowPage(pgPlan);
    TPrefixPlanPage *page = FArea->PlanTabSheet;
    QCOMPARE(page->TextLabel->buddy(), page->TextMemo);
    TypeLines(page->TextMemo, {u"Sales 120"_s, u"Printers"_s, u"Lab 50"_s, u"Links 2"_s});
    QCOMPARE(TableRows(page->StringGrid),
             (QStringList{u"Sales|120|/25|10.0.0.0|10.0.0.1 - 10.0.0.126|6"_s,
                          u"Lab|50|/26|10.0.0.128|10.0.0.129 - 10.0.0.190|12"_s,
                          u"Links|2|/30|10.0.0.192|10.0.0.193 - 10.0.0.194|0"_s,
                          u"Free||/30|10.0.0.196|10.0.0.197 - 10.0.0.198|2"_s,
                          u"Free||/29|10.0.0.200|10.0.0.201 - 10.0.0.206|6"_s,
                          u"Free||/28|10.0.0.208|10.0.0.209 - 10.0.0.222|14"_s,
                          u"Free||/27|10.0.0.224|10.0.0.225 - 10.0.0.254|30"_s}));
    QCOMPARE(page->MessageLabel->text(), u"line 2: 'Printers' does not end in a number of hosts"_s);
    QVERIFY(page->MessageLabel->isVisible());
    // The plan follows a new prefix, and an IPv6 one counts /64 networks.
    TypeEntry(u"2001:db8:0:100::/56"_s);
    QCOMPARE(page->StringGrid->Cells(1, 0), u"/64 Networks"_s);
    QCOMPARE(page->StringGrid->Cells(4, 0), u"Address Range"_s);
    QCOMPARE(page->TextLabel->text(), u"&Requirements: a name and its /64 networks a line"_s);
    QCOMPARE(page->StringGrid->Cells(2, 1), u"/57"_s);
    QCOMPARE(page->MessageLabel->text(), u"line 2: 'Printers' does not end in a number of /64 networks"_s);
}

void tst_TPrefixArea::planThatDoesNotFit()
{
    TypeEntry(u"10.0.0.0/25"_s);
    ShowPage(pgPlan);
    TPrefixPlanPage *page = FArea->PlanTabSheet;
    TypeLines(page->TextMemo, {u"Sales 120"_s, u"Lab 50"_s});
    QCOMPARE(TableRows(page->StringGrid), QStringList{u"Free||/25|10.0.0.0|10.0.0.1 - 10.0.0.126|126"_s});
    QCOMPARE(page->MessageLabel->text(),
             u"The plan does not fit: 64 addresses are missing. 'Lab' (line 2) is the first that fails."_s);
    // Many bad lines: those that fit are listed, the rest counted.
    QStringList lines;
    for (int i = 0; i < 30; ++i)
        lines << u"Bad"_s + QString::number(i) + u'x';
    TypeLines(page->TextMemo, lines);
    QVERIFY(page->MessageLabel->text().startsWith(u"line 1: 'Bad0x' does not end in a number of hosts\n"_s));
    QVERIFY(page->MessageLabel->text().endsWith(u" more)"_s));
    QVERIFY(page->StringGrid->height() >= 4 * 18);
    QCOMPARE(page->StringGrid->y(), page->MessageLabel->geometry().bottom() + 4);
}

void tst_TPrefixArea::summarizeThroughTheBox()
{
    ShowPage(pgSummarize);
    TPrefixSummaryPage *page = FArea->SummarizeTabSheet;
    TypeLines(page->TextMemo, {u"10.0.0.0/25  # office"_s, u"10.0.0.128 - 10.0.0.255"_s, u"nonsense"_s,
                               u"2001:db8::/48"_s, u"2001:db8:1::/48"_s, u"10.0.1.0 255.255.255.0"_s});
    QCOMPARE(ResultRows(page->StringGrid),
             (QStringList{u"Prefixes=2"_s, u"IPv4 Addresses=512 (2^9)"_s, u"IPv4 Summary=10.0.0.0/23"_s,
                          u"IPv6 Addresses=2417851639229258349412352 (2^81)"_s, u"IPv6 Summary=2001:db8::/47"_s,
                          u"Prefix=10.0.0.0/23"_s, u"Prefix=2001:db8::/47"_s}));
    QCOMPARE(page->MessageLabel->text(), u"line 3: 'nonsense' is not an IPv4 or IPv6 address"_s);
}

void tst_TPrefixArea::copyTextsOfEveryPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("text");
    QTest::newRow("Prefix") << int(pgPrefix)
        << u"Network\t192.168.1.0/24\r\nHost Range\t192.168.1.1 - 192.168.1.254\r\nBroadcast\t192.168.1.255\r\n"
           "Netmask\t255.255.255.0\r\nWildcard\t0.0.0.255\r\nAddresses\t256 (2^8)\r\nUsable Hosts\t254\r\n"
           "Address Type\tPrivate-Use (RFC 1918)\r\nReverse Zone\t1.168.192.in-addr.arpa\r\n"
           "Bit Map\t11000000.10101000.00000001|00000000\r\n"_s;
    QTest::newRow("Split") << int(pgSplit)
        << u"#\tNetwork\tHost Range\tBroadcast\r\n1\t192.168.1.0/26\t192.168.1.1 - 192.168.1.62\t192.168.1.63\r\n"_s;
    QTest::newRow("Plan") << int(pgPlan)
        << u"Name\tHosts\tPrefix\tNetwork\tHost Range\tSpare\r\n"
           "Sales\t120\t/25\t192.168.1.0\t192.168.1.1 - 192.168.1.126\t6\r\n"
           "Lab\t50\t/26\t192.168.1.128\t192.168.1.129 - 192.168.1.190\t12\r\n"
           "Links\t2\t/30\t192.168.1.192\t192.168.1.193 - 192.168.1.194\t0\r\n"
           "Free\t\t/30\t192.168.1.196\t192.168.1.197 - 192.168.1.198\t2\r\n"
           "Free\t\t/29\t192.168.1.200\t192.168.1.201 - 192.168.1.206\t6\r\n"
           "Free\t\t/28\t192.168.1.208\t192.168.1.209 - 192.168.1.222\t14\r\n"
           "Free\t\t/27\t192.168.1.224\t192.168.1.225 - 192.168.1.254\t30\r\n"_s;
    QTest::newRow("Summarize") << int(pgSummarize) << u"192.168.0.0/23\r\n192.168.2.0/25\r\n2001:db8::/48\r\n"_s;
}

void tst_TPrefixArea::copyTextsOfEveryPage()
{
    QFETCH(int, page);
    QFETCH(QString, text);
    ShowPage(page);
    // The first start's inputs; the copy button, then the Copy command.
    QTest::mouseClick(FArea->CopyPrefixButton, Qt::LeftButton);
    QCOMPARE(ClipboardText(), text);
    ClearClipboard();
    FArea->PrefixEdit->setFocus();
    QTest::keyClick(FWindow.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(ClipboardText(), text);
}

void tst_TPrefixArea::copyCommandFollowsThePage()
{
    QSignalSpy targets(FArea, &TCalcArea::CopyTargetChanged);
    QSignalSpy enabled(FArea, &TCalcArea::CopyEnabledChanged);
    for (const int page : {pgSplit, pgPlan, pgSummarize, pgPrefix}) {
        ShowPage(page);
        QCOMPARE(FCopy.Target, FArea->CopyPrefixButton);
        QVERIFY(FCopy.Enabled);
    }
    QCOMPARE(targets.count(), 4);
    QCOMPARE(FArea->CopyPrefixButton->toolTip(), u"Copy prefix results to clipboard"_s);
    ShowPage(pgSummarize);
    QCOMPARE(AccessibleName(FArea->CopyPrefixButton), u"Copy summary to clipboard"_s);
    // Nothing to summarize: nothing to copy.
    TypeLines(FArea->SummarizeTabSheet->TextMemo, {u"# none yet"_s});
    QVERIFY(!FCopy.Enabled);
    QVERIFY(!FArea->CopyPrefixButton->isEnabled());
    ShowPage(pgSplit);
    QVERIFY(FCopy.Enabled);
    TypeEntry(u"10.9.8.7/32"_s);
    QVERIFY(!FCopy.Enabled);
    QVERIFY(enabled.count() >= 3);
}

void tst_TPrefixArea::settingsLoad()
{
    TPrefixSettings stored;
    stored.Entry = u"10.20.0.0/16"_s;
    stored.SplitLength = 20;
    stored.GoTo = u"9"_s;
    stored.Plan = u"Core 1000"_s;
    stored.Summary = u"10.0.0.0/9\n10.128.0.0/9"_s;
    stored.Page = pgSplit;
    WritePrefixSettings(stored);
    CreateArea();
    FArea->LoadSettings();
    QCOMPARE(TakeErrorMessages(), QStringList());
    QCOMPARE(FArea->PrefixEdit->text(), u"10.20.0.0/16"_s);
    QCOMPARE(FArea->PrefixPageControl->currentIndex(), int(pgSplit));
    QCOMPARE(FArea->SplitTabSheet->NewLengthSpinEdit->Value(), 20);
    QCOMPARE(FArea->SplitTabSheet->GoToEdit->text(), u"9"_s);
    const TGridRowSelection selection = SplitGrid()->RowSelection();
    QCOMPARE(SplitGrid()->Cells(0, 1 + selection.FirstRow - SplitGrid()->TopRow()), u"9"_s);
    ShowPage(pgPlan);
    QCOMPARE(FArea->PlanTabSheet->TextMemo->toPlainText(), u"Core 1000"_s);
    QCOMPARE(FArea->PlanTabSheet->StringGrid->Cells(2, 1), u"/22"_s);
    ShowPage(pgSummarize);
    QCOMPARE(ResultRows(FArea->SummarizeTabSheet->StringGrid).last(), u"Prefix=10.0.0.0/8"_s);
    QCOMPARE(BeepCount(), 0);
}

void tst_TPrefixArea::settingsLoadKeepsGoodValuesBesideBadOnes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("integer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    // An integer of -1 writes the text instead.
    QTest::newRow("length as text") << u"SplitLength"_s << -1 << u"20"_s
                                    << u"Invalid data type for 'SplitLength'"_s;
    QTest::newRow("absurd length") << u"SplitLength"_s << 100000 << QString()
                                   << u"Invalid data type for 'SplitLength'"_s;
    QTest::newRow("absurd page") << u"Page"_s << 77 << QString() << u"Invalid data type for 'Page'"_s;
    QTest::newRow("entry as an integer") << u"Entry"_s << 5 << QString() << u"Invalid data type for 'Entry'"_s;
    QTest::newRow("an entry that cannot be read") << u"Entry"_s << -1 << u"10.0.0.0/99"_s << QString();
}

void tst_TPrefixArea::settingsLoadKeepsGoodValuesBesideBadOnes()
{
    QFETCH(QString, name);
    QFETCH(int, integer);
    QFETCH(QString, text);
    QFETCH(QString, message);
    TPrefixSettings stored;
    stored.Entry = u"10.20.0.0/16"_s;
    stored.SplitLength = 20;
    stored.Plan = u"Core 1000"_s;
    stored.Page = pgPlan;
    WritePrefixSettings(stored);
    {
        TRegKey key;
        QVERIFY(key.OpenKey(PrefixSettingsKey, false));
        if (integer == -1)
            key.WriteString(name, text);
        else
            key.WriteInteger(name, integer);
        key.CloseKey();
    }
    CreateArea();
    FArea->LoadSettings();
    // One box for the load.
    QCOMPARE(TakeErrorMessages(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(FArea->PrefixPageControl->currentIndex(), name == u"Page" ? int(pgPrefix) : int(pgPlan));
    ShowPage(pgPlan);
    QCOMPARE(FArea->PlanTabSheet->TextMemo->toPlainText(), u"Core 1000"_s);
    if (name == u"Entry" && message.isEmpty()) {
        // Shown as if typed, with what is wrong, without a beep.
        QCOMPARE(FArea->PrefixEdit->text(), u"10.0.0.0/99"_s);
        QCOMPARE(FArea->PrefixMessageLabel->text(), u"prefix length 99 is out of range 0–32"_s);
        QCOMPARE(BeepCount(), 0);
    } else {
        QCOMPARE(FArea->PrefixEdit->text(), name == u"Entry" ? TPrefixSettings().Entry : u"10.20.0.0/16"_s);
    }
    ShowPage(pgSplit);
    // The length chosen applies where it fits: not to the /24 shown when
    // the entry was lost.
    QCOMPARE(FArea->SplitTabSheet->NewLengthSpinEdit->Value(),
             name == u"SplitLength" ? 18 : name == u"Entry" ? 26 : 20);
}

void tst_TPrefixArea::settingsSave()
{
    TypeEntry(u"2001:db8::/40"_s);
    ShowPage(pgSplit);
    TypeSplitLength(44);
    GoTo(u"12"_s);
    ShowPage(pgPlan);
    TypeLines(FArea->PlanTabSheet->TextMemo, {u"A 1"_s, u"B 2"_s});
    ShowPage(pgSummarize);
    TypeLines(FArea->SummarizeTabSheet->TextMemo, {u"::1"_s});
    // An entry left unreadable is kept as the prefix the results are for.
    TypeEntry(u"2001:db8::/40/"_s);
    FArea->SaveSettings();
    const std::optional<TPrefixSettings> saved = ReadPrefixSettings();
    QVERIFY(saved);
    QCOMPARE(saved->Entry, u"2001:db8::/40"_s);
    QCOMPARE(saved->SplitLength, 44);
    QCOMPARE(saved->GoTo, u"12"_s);
    QCOMPARE(saved->Plan, u"A 1\nB 2"_s);
    QCOMPARE(saved->Summary, u"::1"_s);
    QCOMPARE(saved->Page, int(pgSummarize));
    QCOMPARE(saved->Problems, QStringList());
    // The choice stays for the prefixes it fits, after a start too.
    TypeEntry(u"10.0.0.0/8"_s);
    FArea->SaveSettings();
    QCOMPARE(ReadPrefixSettings()->SplitLength, 44);
    CreateArea();
    FArea->LoadSettings();
    ShowPage(pgSplit);
    QCOMPARE(FArea->SplitTabSheet->NewLengthSpinEdit->Value(), 10);
    TypeEntry(u"2001:db8:1::/40"_s);
    QCOMPARE(FArea->SplitTabSheet->NewLengthSpinEdit->Value(), 44);
    QVERIFY(FEnvironment->ReadSettingsFile().contains("[HKEY_CURRENT_USER\\Software\\Vorl Group\\Tarvelo "
                                                      "Calculator\\2.20\\Prefix]"));
}

void tst_TPrefixArea::everyValueAndInputIsReadable()
{
    TypeEntry(u"10.1.2.3/33"_s);
    for (const int page : {pgPrefix, pgSplit, pgPlan, pgSummarize}) {
        ShowPage(page);
        if (page == pgSplit)
            GoTo(u"x"_s);
        const QStringList unnamed = UnnamedControls(FArea);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u'\n')));
        int panels = 0;
        const QStringList unreadable = UnreadableDisplays(FArea, &panels);
        QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(u'\n')));
        QCOMPARE(panels, page == pgSplit ? 1 : 0);
    }
    QCOMPARE(AccessibleName(FArea->PrefixEdit), u"Address or prefix"_s);
    QCOMPARE(AccessibleName(FArea->SplitTabSheet->NewLengthSpinEdit), u"New length"_s);
    QCOMPARE(AccessibleName(FArea->SplitTabSheet->GoToEdit), u"Go to #"_s);
}

void tst_TPrefixArea::noControlClaimsTheCalculatorShortcut()
{
    const QKeyCombination key(Qt::ControlModifier, Qt::Key_R);
    for (const int page : {pgPrefix, pgSplit, pgPlan, pgSummarize}) {
        ShowPage(page);
        const QStringList claimants = ShortcutClaimants(FArea, key);
        QVERIFY2(claimants.isEmpty(), qPrintable(claimants.join(u'\n')));
    }
    // The check itself sees a claim: Ctrl+C is the line edit's.
    QVERIFY(ShortcutClaimants(FArea, QKeyCombination(Qt::ControlModifier, Qt::Key_C))
                .contains(Describe(FArea->PrefixEdit)));
}

void tst_TPrefixArea::calculatorShortcutReachesTheWindowFromEveryControl()
{
    if (!QTest::qWaitForWindowActive(FWindow.get()))
        QSKIP("The platform does not activate windows");
    int controls = 0;
    for (const int page : {pgPrefix, pgSplit, pgPlan, pgSummarize}) {
        ShowPage(page);
        const QStringList missed =
            ControlsNotReaching(FArea, FCalculatorAction, QKeyCombination(Qt::ControlModifier, Qt::Key_R), &controls);
        QVERIFY2(missed.isEmpty(), qPrintable(missed.join(u'\n')));
    }
    // The entry and the tab bar on every page, the result grid, the spin
    // edit, "Go to #" and the table, the box and grid of Plan and Summarize.
    QCOMPARE(controls, 4 * 2 + 1 + 3 + 2 + 2);
}

TARVELO_TEST_MAIN(tst_TPrefixArea)
#include "tst_prefixarea.moc"
