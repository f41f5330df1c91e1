#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "controls/Beep.h"
#include "controls/PageControl.h"
#include "controls/SuperStringGrid.h"
#include "radix/RadixelArea.h"
#include "tests/common/TestEnvironment.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TGridRect)

class tst_TRadixelArea : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsAt16BitsWithZero();
    void controlsAsDesigned();
    void typingDecimalConvertsLive();
    void fullDecimalDisplayRefusesADigit();
    void hexShiftRegister();
    void binaryShiftRegister();
    void overflowAt8BitsBeepsAndKeepsValue();
    void backspaceInHexDisplay();
    void backspaceAtZeroDoesNothing();
    void leadingZerosCollapse();
    void wholeUnsignedRangeByDecimal();
    void refusedAndDiscardedKeys_data();
    void refusedAndDiscardedKeys();
    void minusAndPlusInDecimal();
    void lowerCaseHexAppearsUpperCase();
    void deleteAndClear_data();
    void deleteAndClear();
    void invert_data();
    void invert();
    void wideningRewritesDisplays();
    void narrowingKeepsLowBits();
    void copyButtonsCopyShownText_data();
    void copyButtonsCopyShownText();
    void focusSetsCopyTarget();
    void ctrlCCopiesThroughWindowCommand();
    void caretStaysAtEnd();
    void tabMovesFocusCtrlTabIsSwallowed();
    void labelsAreBuddies();
    void lookupTableAsDesigned();
    void lookupRows_data();
    void lookupRows();
    void lookupCopy_data();
    void lookupCopy();
    void lookupCopyThroughWindowCommand();
    void lookupIgnoresConversionPage();

private:
    QLineEdit *Memo(const char *name) const;
    // Gives the display focus the way a click would; typing reaches the
    // value model only while a display has focus.
    void FocusMemo(QLineEdit *memo);
    void SelectWidth(int item);
    void ShowLookupTable();
    TSuperStringGrid *Grid() const;
    // The whole table as the clipboard text of a full selection.
    static QString WholeTableText();

    std::unique_ptr<TTestEnvironment> FEnvironment;
    std::unique_ptr<QWidget> FWindow;
    TRadixelArea *FArea = nullptr;
    QLineEdit *FDec = nullptr;
    QLineEdit *FHex = nullptr;
    QLineEdit *FBin = nullptr;
};

void tst_TRadixelArea::initTestCase()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
    qRegisterMetaType<QAbstractButton *>();
}

void tst_TRadixelArea::init()
{
    ResetBeepCount();
    FWindow = std::make_unique<QWidget>();
    FWindow->resize(292, 409);
    FArea = new TRadixelArea(FWindow.get());
    FArea->move(8, 88);
    // The main window's page bookkeeping.
    connect(FArea->RadixelCalcPageControl, &TPageControl::Changing, FArea,
            [this](TPageControl *, QWidget *leaving) { FArea->PageLeaving(leaving); });
    connect(FArea->RadixelCalcPageControl, &TPageControl::Change, FArea,
            [this](TPageControl *sender) { FArea->PageEntered(sender->ActivePage()); });
    FWindow->show();
    FWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
    FDec = Memo("DecMemo");
    FHex = Memo("HexMemo");
    FBin = Memo("BinMemo");
}

void tst_TRadixelArea::cleanup()
{
    FWindow.reset();
    FArea = nullptr;
}

QLineEdit *tst_TRadixelArea::Memo(const char *name) const
{
    auto *memo = FArea->findChild<QLineEdit *>(QLatin1String(name));
    Q_ASSERT(memo);
    return memo;
}

void tst_TRadixelArea::FocusMemo(QLineEdit *memo)
{
    QTest::mouseClick(memo, Qt::LeftButton, {}, QPoint(10, 10));
    if (!memo->hasFocus()) {
        // The window never became active: deliver the focus change itself.
        QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
        QCoreApplication::sendEvent(memo, &focusIn);
    }
}

void tst_TRadixelArea::SelectWidth(int item)
{
    auto *group = FArea->findChild<QGroupBox *>(u"NumberWidthGroup"_s);
    const QList<QRadioButton *> items = group->findChildren<QRadioButton *>();
    QCOMPARE(items.size(), 3);
    QTest::mouseClick(items.at(item), Qt::LeftButton);
    QVERIFY(items.at(item)->isChecked());
}

void tst_TRadixelArea::startsAt16BitsWithZero()
{
    QCOMPARE(FDec->text(), u"0"_s);
    QCOMPARE(FHex->text(), u"00 00"_s);
    QCOMPARE(FBin->text(), u"00000000 00000000"_s);
    QVERIFY(FArea->NumberWidthItems[1]->isChecked());
    QCOMPARE(FArea->RadixelCalcPageControl->currentWidget(), FArea->ConversionTabSheet);
    QVERIFY(!FArea->CopyLookupTableButton->isEnabled());
}

void tst_TRadixelArea::controlsAsDesigned()
{
    QCOMPARE(FArea->objectName(), u"RadixelCalcPanel"_s);
    QCOMPARE(FArea->NumberWidthGroup->title(), u"Number Width"_s);
    QCOMPARE(FArea->NumberWidthItems[0]->text(), u"8 bits   (b&yte)"_s);
    QCOMPARE(FArea->NumberWidthItems[2]->text(), u"32 bits (d&ouble word)"_s);
    QCOMPARE(FArea->RadixelCalcPageControl->tabText(0), u"Base Conversion"_s);
    QCOMPARE(FArea->RadixelCalcPageControl->tabText(1), u"Lookup Table"_s);
    QCOMPARE(FDec->geometry(), QRect(8, 24, 225, 21));
    QCOMPARE(FBin->geometry(), QRect(8, 120, 225, 21));
    QCOMPARE(FArea->findChild<QToolButton *>(u"HexClipboardButton"_s)->toolTip(),
             u"Copy hexadecimal number to clipboard"_s);
    QCOMPARE(FArea->findChild<QToolButton *>(u"HexClipboardButton"_s)->accessibleName(),
             u"Copy hexadecimal number to clipboard"_s);
    QCOMPARE(FArea->CopyLookupTableButton->toolTip(), u"Copy lookup table to clipboard"_s);
    QCOMPARE(FArea->InvertButton->toolTip(), u"Perform a \"not\" operation on all numbers"_s);
    QCOMPARE(FArea->ClearButton->text(), u"&Clear"_s);
    QVERIFY(!FArea->findChild<QToolButton *>(u"DecClipboardButton"_s)->icon().isNull());
    // Nothing clipped at the design font: captions fit their controls.
    for (QWidget *w : FArea->findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<QLabel *>(w))
            QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->objectName()));
        if (auto *button = qobject_cast<QAbstractButton *>(w); button && !button->text().isEmpty()) {
            const QString caption = QString(button->text()).remove(u'&');
            QVERIFY2(button->fontMetrics().horizontalAdvance(caption) + 8 <= button->width(), qPrintable(caption));
        }
    }
    const QString widest = u"00000000 00000000 00000000 00000000"_s;
    QVERIFY(FBin->fontMetrics().horizontalAdvance(widest) + 8 <= FBin->width());
}

void tst_TRadixelArea::typingDecimalConvertsLive()
{
    FocusMemo(FDec);
    const QStringList dec = {u"1"_s, u"12"_s, u"123"_s, u"1,234"_s};
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(FDec, char('1' + i));
        QCOMPARE(FDec->text(), dec.at(i));
    }
    QCOMPARE(FHex->text(), u"04 D2"_s);
    QCOMPARE(FBin->text(), u"00000100 11010010"_s);
    QCOMPARE(BeepCount(), 0);
}

void tst_TRadixelArea::fullDecimalDisplayRefusesADigit()
{
    FocusMemo(FDec);
    QTest::keyClicks(FDec, u"12345"_s);
    QCOMPARE(FDec->text(), u"12,345"_s);
    QTest::keyClick(FDec, '6');
    QCOMPARE(FDec->text(), u"12,345"_s);
    QCOMPARE(BeepCount(), 1);
}

void tst_TRadixelArea::hexShiftRegister()
{
    FocusMemo(FHex);
    QTest::keyClick(FHex, 'F');
    QCOMPARE(FHex->text(), u"00 0F"_s);
    QTest::keyClick(FHex, 'A');
    QCOMPARE(FDec->text(), u"250"_s);
    QCOMPARE(FHex->text(), u"00 FA"_s);
    QCOMPARE(FBin->text(), u"00000000 11111010"_s);
    QTest::keyClicks(FHex, u"BC"_s);
    QCOMPARE(FHex->text(), u"FA BC"_s);
    // Full and no leading "0" left to shift out.
    QTest::keyClick(FHex, 'D');
    QCOMPARE(FHex->text(), u"FA BC"_s);
    QCOMPARE(BeepCount(), 1);
}

void tst_TRadixelArea::binaryShiftRegister()
{
    FocusMemo(FBin);
    QTest::keyClicks(FBin, u"101"_s);
    QCOMPARE(FBin->text(), u"00000000 00000101"_s);
    QCOMPARE(FDec->text(), u"5"_s);
    QCOMPARE(BeepCount(), 0);
}

void tst_TRadixelArea::overflowAt8BitsBeepsAndKeepsValue()
{
    SelectWidth(0);
    FocusMemo(FDec);
    QTest::keyClicks(FDec, u"25"_s);
    QCOMPARE(FDec->text(), u"25"_s);
    QTest::keyClick(FDec, '6');
    QCOMPARE(BeepCount(), 1);
    QCOMPARE(FDec->text(), u"25"_s);
    QCOMPARE(FHex->text(), u"19"_s);
    QCOMPARE(FBin->text(), u"00011001"_s);
}

void tst_TRadixelArea::backspaceInHexDisplay()
{
    FocusMemo(FHex);
    QTest::keyClicks(FHex, u"FA"_s);
    QCOMPARE(FHex->text(), u"00 FA"_s);
    QTest::keyClick(FHex, Qt::Key_Backspace);
    QCOMPARE(FHex->text(), u"00 0F"_s);
    QCOMPARE(FDec->text(), u"15"_s);
    QTest::keyClick(FHex, Qt::Key_Backspace);
    QCOMPARE(FHex->text(), u"00 00"_s);
    QCOMPARE(BeepCount(), 0);
}

void tst_TRadixelArea::backspaceAtZeroDoesNothing()
{
    for (QLineEdit *memo : {FDec, FHex, FBin}) {
        FocusMemo(memo);
        const QString before = memo->text();
        QTest::keyClick(memo, Qt::Key_Backspace);
        QCOMPARE(memo->text(), before);
    }
    QCOMPARE(BeepCount(), 0);
}

void tst_TRadixelArea::leadingZerosCollapse()
{
    FocusMemo(FDec);
    QTest::keyClicks(FDec, u"007"_s);
    QCOMPARE(FDec->text(), u"7"_s);
    FocusMemo(FHex);
    QTest::keyClick(FHex, Qt::Key_Delete);
    QTest::keyClicks(FHex, u"00"_s);
    QCOMPARE(FHex->text(), u"00 00"_s);
    QCOMPARE(BeepCount(), 0);
}

void tst_TRadixelArea::wholeUnsignedRangeByDecimal()
{
    SelectWidth(2);
    FocusMemo(FDec);
    QTest::keyClicks(FDec, u"4294967295"_s);
    QCOMPARE(FDec->text(), u"4,294,967,295"_s);
    QCOMPARE(FHex->text(), u"FF FF FF FF"_s);
    QCOMPARE(BeepCount(), 0);

    QTest::keyClick(FDec, Qt::Key_Delete);
    QTest::keyClicks(FDec, u"4294967296"_s);
    QCOMPARE(BeepCount(), 1);
    QCOMPARE(FDec->text(), u"429,496,729"_s);
}

void tst_TRadixelArea::refusedAndDiscardedKeys_data()
{
    QTest::addColumn<QString>("memo");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("beeps");
    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("G in hexadecimal") << u"HexMemo"_s << int(Qt::Key_G) << none << 1;
    QTest::newRow("minus in hexadecimal") << u"HexMemo"_s << int(Qt::Key_Minus) << none << 1;
    QTest::newRow("2 in binary") << u"BinMemo"_s << int(Qt::Key_2) << none << 1;
    QTest::newRow("A in decimal") << u"DecMemo"_s << int(Qt::Key_A) << none << 1;
    QTest::newRow("space in decimal") << u"DecMemo"_s << int(Qt::Key_Space) << none << 1;
    QTest::newRow("Escape in decimal") << u"DecMemo"_s << int(Qt::Key_Escape) << none << 1;
    QTest::newRow("Escape in hexadecimal") << u"HexMemo"_s << int(Qt::Key_Escape) << none << 1;
    QTest::newRow("Escape in binary") << u"BinMemo"_s << int(Qt::Key_Escape) << none << 1;
    QTest::newRow("Ctrl+Enter is a line feed") << u"HexMemo"_s << int(Qt::Key_Return) << ctrl << 1;
    QTest::newRow("Enter in decimal") << u"DecMemo"_s << int(Qt::Key_Return) << none << 0;
    QTest::newRow("Enter in hexadecimal") << u"HexMemo"_s << int(Qt::Key_Return) << none << 0;
    QTest::newRow("keypad Enter in binary") << u"BinMemo"_s << int(Qt::Key_Enter) << none << 0;
    QTest::newRow("Ctrl+A in hexadecimal") << u"HexMemo"_s << int(Qt::Key_A) << ctrl << 0;
    QTest::newRow("Ctrl+V in decimal") << u"DecMemo"_s << int(Qt::Key_V) << ctrl << 0;
    QTest::newRow("Ctrl+Z in binary") << u"BinMemo"_s << int(Qt::Key_Z) << ctrl << 0;
    QTest::newRow("Home in decimal") << u"DecMemo"_s << int(Qt::Key_Home) << none << 0;
}

void tst_TRadixelArea::refusedAndDiscardedKeys()
{
    QFETCH(QString, memo);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QLineEdit *edit = FArea->findChild<QLineEdit *>(memo);
    FocusMemo(edit);
    QTest::keyClick(edit, '1');
    const QStringList before = {FDec->text(), FHex->text(), FBin->text()};
    QApplication::clipboard()->setText(u"untouched"_s);
    QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTEST(BeepCount(), "beeps");
    QCOMPARE((QStringList{FDec->text(), FHex->text(), FBin->text()}), before);
    QCOMPARE(edit->cursorPosition(), edit->text().size());
    QCOMPARE(ClipboardText(), u"untouched"_s);
}

void tst_TRadixelArea::minusAndPlusInDecimal()
{
    FocusMemo(FDec);
    QTest::keyClick(FDec, '-');
    QCOMPARE(FDec->text(), u"0"_s);
    QCOMPARE(BeepCount(), 0); // nothing to negate at 0
    QTest::keyClick(FDec, '5');
    QTest::keyClick(FDec, '-');
    QCOMPARE(BeepCount(), 1); // a negative number is refused
    QCOMPARE(FDec->text(), u"5"_s);
    QTest::keyClick(FDec, '+');
    QCOMPARE(FDec->text(), u"5"_s);
    QCOMPARE(BeepCount(), 1);
}

void tst_TRadixelArea::lowerCaseHexAppearsUpperCase()
{
    FocusMemo(FHex);
    QTest::keyClicks(FHex, u"af"_s);
    QCOMPARE(FHex->text(), u"00 AF"_s);
    QCOMPARE(FDec->text(), u"175"_s);
}

void tst_TRadixelArea::deleteAndClear_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Delete in decimal") << u"DecMemo"_s;
    QTest::newRow("Delete in hexadecimal") << u"HexMemo"_s;
    QTest::newRow("Delete in binary") << u"BinMemo"_s;
    QTest::newRow("Clear button") << u"ClearButton"_s;
}

void tst_TRadixelArea::deleteAndClear()
{
    QFETCH(QString, how);
    FocusMemo(FDec);
    QTest::keyClicks(FDec, u"999"_s);
    if (auto *memo = FArea->findChild<QLineEdit *>(how)) {
        FocusMemo(memo);
        QTest::keyClick(memo, Qt::Key_Delete);
    } else {
        QTest::mouseClick(FArea->ClearButton, Qt::LeftButton);
    }
    QCOMPARE(FDec->text(), u"0"_s);
    QCOMPARE(FHex->text(), u"00 00"_s);
    QCOMPARE(FBin->text(), u"00000000 00000000"_s);
    QCOMPARE(BeepCount(), 0);
}

void tst_TRadixelArea::invert_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("dec");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("bin");
    const QString ones8(8, u'1');
    QTest::newRow("0 at 32 bits") << 2 << QString() << u"4,294,967,295"_s << u"FF FF FF FF"_s
                                  << ones8 + u' ' + ones8 + u' ' + ones8 + u' ' + ones8;
    QTest::newRow("5 at 32 bits") << 2 << u"5"_s << u"4,294,967,290"_s << u"FF FF FF FA"_s
                                  << ones8 + u' ' + ones8 + u' ' + ones8 + u" 11111010"_s;
    QTest::newRow("5 at 8 bits") << 0 << u"5"_s << u"250"_s << u"FA"_s << u"11111010"_s;
    QTest::newRow("5 at 16 bits") << 1 << u"5"_s << u"65,530"_s << u"FF FA"_s << u"11111111 11111010"_s;
}

void tst_TRadixelArea::invert()
{
    QFETCH(int, width);
    QFETCH(QString, typed);
    SelectWidth(width);
    FocusMemo(FDec);
    QTest::keyClicks(FDec, typed);
    const QString start = FDec->text();
    QTest::mouseClick(FArea->InvertButton, Qt::LeftButton);
    QTEST(FDec->text(), "dec");
    QTEST(FHex->text(), "hex");
    QTEST(FBin->text(), "bin");
    QTest::mouseClick(FArea->InvertButton, Qt::LeftButton);
    QCOMPARE(FDec->text(), start);
    QCOMPARE(BeepCount(), 0);
}

void tst_TRadixelArea::wideningRewritesDisplays()
{
    FocusMemo(FDec);
    QTest::keyClick(FDec, '5');
    SelectWidth(2);
    QCOMPARE(FDec->text(), u"5"_s);
    QCOMPARE(FHex->text(), u"00 00 00 05"_s);
    QCOMPARE(FBin->text(), u"00000000 00000000 00000000 00000101"_s);
    // The longer limits apply: eight hexadecimal digits fit now.
    FocusMemo(FHex);
    QTest::keyClicks(FHex, u"1234567"_s);
    QCOMPARE(FHex->text(), u"51 23 45 67"_s);
    QCOMPARE(BeepCount(), 0);
}

void tst_TRadixelArea::narrowingKeepsLowBits()
{
    FocusMemo(FDec);
    QTest::keyClicks(FDec, u"1000"_s);
    QCOMPARE(FDec->text(), u"1,000"_s);
    SelectWidth(0);
    QCOMPARE(FDec->text(), u"232"_s);
    QCOMPARE(FHex->text(), u"E8"_s);
    QCOMPARE(FBin->text(), u"11101000"_s);
    // And the 8-bit limits apply at once.
    FocusMemo(FDec);
    QTest::keyClick(FDec, '1');
    QCOMPARE(FDec->text(), u"232"_s);
    QCOMPARE(BeepCount(), 1);
}

void tst_TRadixelArea::copyButtonsCopyShownText_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("decimal") << u"DecClipboardButton"_s << u"1,234"_s;
    QTest::newRow("hexadecimal") << u"HexClipboardButton"_s << u"04 D2"_s;
    QTest::newRow("binary") << u"BinClipboardButton"_s << u"00000100 11010010"_s;
}

void tst_TRadixelArea::copyButtonsCopyShownText()
{
    QFETCH(QString, button);
    FocusMemo(FDec);
    QTest::keyClicks(FDec, u"1234"_s);
    ClearClipboard();
    QTest::mouseClick(FArea->findChild<QToolButton *>(button), Qt::LeftButton);
    QTEST(ClipboardText(), "text");
    QVERIFY(FDec->hasFocus() || !QApplication::activeWindow()); // the copy button took no focus
}

void tst_TRadixelArea::focusSetsCopyTarget()
{
    QSignalSpy targets(FArea, &TCalcArea::CopyTargetChanged);
    FocusMemo(FHex);
    QCOMPARE(targets.size(), 1);
    QCOMPARE(targets.takeFirst().at(0).value<QAbstractButton *>(),
             FArea->findChild<QAbstractButton *>(u"HexClipboardButton"_s));
    if (!FHex->hasFocus())
        QSKIP("Focus changes need an active window");
    FocusMemo(FBin);
    QCOMPARE(targets.size(), 2);
    QCOMPARE(targets.at(0).at(0).value<QAbstractButton *>(), nullptr);
    QCOMPARE(targets.at(1).at(0).value<QAbstractButton *>(),
             FArea->findChild<QAbstractButton *>(u"BinClipboardButton"_s));
    targets.clear();
    FArea->ClearButton->setFocus(Qt::TabFocusReason);
    QCOMPARE(targets.size(), 1);
    QCOMPARE(targets.at(0).at(0).value<QAbstractButton *>(), nullptr);

    // The Lookup Table page makes its own button the target.
    QSignalSpy enabled(FArea, &TCalcArea::CopyEnabledChanged);
    targets.clear();
    FArea->RadixelCalcPageControl->setCurrentWidget(FArea->LookupTableTabSheet);
    QCOMPARE(targets.size(), 1);
    QCOMPARE(targets.at(0).at(0).value<QAbstractButton *>(), FArea->CopyLookupTableButton);
    QVERIFY(FArea->CopyLookupTableButton->isEnabled());
    FArea->RadixelCalcPageControl->setCurrentWidget(FArea->ConversionTabSheet);
    QVERIFY(!FArea->CopyLookupTableButton->isEnabled());
    QCOMPARE(enabled.size(), 1);
    QCOMPARE(enabled.at(0).at(0).toBool(), false);
}

void tst_TRadixelArea::ctrlCCopiesThroughWindowCommand()
{
    // The main window's Copy command, in miniature: a Ctrl+C action that
    // clicks the current copy target.
    QAbstractButton *target = nullptr;
    connect(FArea, &TCalcArea::CopyTargetChanged, FWindow.get(), [&target](QAbstractButton *b) { target = b; });
    auto *copy = new QAction(FWindow.get());
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    FWindow->addAction(copy);
    connect(copy, &QAction::triggered, FWindow.get(), [&target] {
        if (target)
            target->click();
    });
    if (!QTest::qWaitForWindowActive(FWindow.get()))
        QSKIP("Shortcuts need an active window");
    FocusMemo(FHex);
    QTest::keyClicks(FHex, u"4D2"_s);
    ClearClipboard();
    QTest::keyClick(FHex, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(ClipboardText(), u"04 D2"_s);
    QCOMPARE(FHex->text(), u"04 D2"_s);

    // A shortcut override is left unaccepted, so the window's shortcut wins.
    QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_C, Qt::ControlModifier, u"\x03"_s);
    override.ignore();
    QCoreApplication::sendEvent(FHex, &override);
    QVERIFY(!override.isAccepted());
}

void tst_TRadixelArea::caretStaysAtEnd()
{
    FocusMemo(FDec);
    QTest::keyClicks(FDec, u"1234"_s);
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Home, Qt::Key_Right, Qt::Key_Down}) {
        QTest::keyClick(FDec, key);
        QCOMPARE(FDec->cursorPosition(), FDec->text().size());
    }
    QTest::keyClick(FDec, Qt::Key_Left, Qt::ShiftModifier);
    QVERIFY(!FDec->hasSelectedText());
    QTest::mouseClick(FDec, Qt::LeftButton, {}, QPoint(FDec->width() - 20, 10));
    QCOMPARE(FDec->cursorPosition(), FDec->text().size());
    QTest::mouseDClick(FDec, Qt::LeftButton, {}, QPoint(FDec->width() - 20, 10));
    QVERIFY(!FDec->hasSelectedText());
    QTest::keyClick(FDec, '5');
    QCOMPARE(FDec->text(), u"12,345"_s);
    QCOMPARE(BeepCount(), 0);
}

void tst_TRadixelArea::tabMovesFocusCtrlTabIsSwallowed()
{
    FocusMemo(FDec);
    if (!FDec->hasFocus())
        QSKIP("Focus changes need an active window");
    QTest::keyClick(FDec, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(FArea->RadixelCalcPageControl->currentWidget(), FArea->ConversionTabSheet);
    QVERIFY(FDec->hasFocus());
    QTest::keyClick(FDec, Qt::Key_Tab);
    QVERIFY(!FDec->hasFocus());
}

void tst_TRadixelArea::labelsAreBuddies()
{
    QCOMPARE(FArea->DecLabel->text(), u"&Decimal"_s);
    QCOMPARE(FArea->HexLabel->text(), u"He&xadecimal"_s);
    QCOMPARE(FArea->BinLabel->text(), u"&Binary"_s);
    QCOMPARE(FArea->DecLabel->buddy(), FDec);
    QCOMPARE(FArea->HexLabel->buddy(), FHex);
    QCOMPARE(FArea->BinLabel->buddy(), FBin);
}

void tst_TRadixelArea::ShowLookupTable()
{
    QTest::mouseClick(FArea->RadixelCalcPageControl->tabBar(), Qt::LeftButton, {},
                      FArea->RadixelCalcPageControl->tabBar()->tabRect(1).center());
    QCOMPARE(FArea->RadixelCalcPageControl->currentWidget(), FArea->LookupTableTabSheet);
}

TSuperStringGrid *tst_TRadixelArea::Grid() const
{
    return FArea->findChild<TSuperStringGrid *>(u"LookupStringGrid"_s);
}

QString tst_TRadixelArea::WholeTableText()
{
    QString text = u"Decimal\tHexadecimal\tBinary\r\n"_s;
    for (int v = 0; v < 256; ++v) {
        QString bin = QString::number(v, 2).rightJustified(v < 16 ? 4 : 8, u'0');
        if (v >= 16)
            bin.insert(4, u' ');
        text += QString::number(v) + u'\t' + QString::number(v, 16).toUpper() + u'\t' + bin + u"\r\n"_s;
    }
    return text;
}

void tst_TRadixelArea::lookupTableAsDesigned()
{
    TSuperStringGrid *grid = Grid();
    QVERIFY(grid);
    QCOMPARE(grid->parentWidget(), FArea->LookupTableTabSheet);
    QCOMPARE(grid->ColCount(), 3);
    QCOMPARE(grid->RowCount(), 257);
    QCOMPARE(grid->FixedRows(), 1);
    QCOMPARE(grid->FixedCols(), 0);
    QCOMPARE(grid->DefaultColWidth(), 82);
    QVERIFY(QFontInfo(grid->font()).fixedPitch());
    for (int col = 0; col < 3; ++col)
        QCOMPARE(grid->ColAlignments(col), TAlignment::taRightJustify);
    QVERIFY(grid->Options().Contains(TGridOption::goColSizing));
    QVERIFY(grid->Options().Contains(TGridOption::goRangeSelect));
    QVERIFY(!grid->Options().Contains(TGridOption::goEditing));
    QCOMPARE(grid->EditModes(), TEditModes{TEditMode::emCopy});
    ShowLookupTable();
    QCOMPARE(grid->geometry(), FArea->LookupTableTabSheet->rect());
}

void tst_TRadixelArea::lookupRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("dec");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("bin");
    QTest::newRow("header") << 0 << u"Decimal"_s << u"Hexadecimal"_s << u"Binary"_s;
    QTest::newRow("row 1, value 0") << 1 << u"0"_s << u"0"_s << u"0000"_s;
    QTest::newRow("row 11, value 10") << 11 << u"10"_s << u"A"_s << u"1010"_s;
    QTest::newRow("row 16, value 15") << 16 << u"15"_s << u"F"_s << u"1111"_s;
    QTest::newRow("row 17, value 16") << 17 << u"16"_s << u"10"_s << u"0001 0000"_s;
    QTest::newRow("row 171, value 170") << 171 << u"170"_s << u"AA"_s << u"1010 1010"_s;
    QTest::newRow("row 256, value 255") << 256 << u"255"_s << u"FF"_s << u"1111 1111"_s;
}

void tst_TRadixelArea::lookupRows()
{
    QFETCH(int, row);
    QTEST(Grid()->Cells(0, row), "dec");
    QTEST(Grid()->Cells(1, row), "hex");
    QTEST(Grid()->Cells(2, row), "bin");
}

void tst_TRadixelArea::lookupCopy_data()
{
    QTest::addColumn<TGridRect>("selection");
    QTest::addColumn<QString>("text");
    QTest::newRow("first value cell") << TGridRect{0, 1, 0, 1} << u"Decimal\r\n0\r\n"_s;
    QTest::newRow("rows 11 and 12") << TGridRect{0, 11, 2, 12}
                                    << u"Decimal\tHexadecimal\tBinary\r\n10\tA\t1010\r\n11\tB\t1011\r\n"_s;
    QTest::newRow("whole table") << TGridRect{0, 1, 2, 256} << WholeTableText();
}

void tst_TRadixelArea::lookupCopy()
{
    QFETCH(TGridRect, selection);
    ShowLookupTable();
    QVERIFY(FArea->CopyLookupTableButton->isEnabled());
    if (selection.Bottom > 1)
        Grid()->SetSelection(selection);
    else
        QCOMPARE(Grid()->Selection(), selection); // where the selection starts
    ClearClipboard();
    QTest::mouseClick(FArea->CopyLookupTableButton, Qt::LeftButton);
    QTEST(ClipboardText(), "text");
    if (selection.Bottom == 256)
        QCOMPARE(ClipboardText().count(u"\r\n"_s), 257);
}

void tst_TRadixelArea::lookupCopyThroughWindowCommand()
{
    QAbstractButton *target = nullptr;
    connect(FArea, &TCalcArea::CopyTargetChanged, FWindow.get(), [&target](QAbstractButton *b) { target = b; });
    auto *copy = new QAction(FWindow.get());
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    FWindow->addAction(copy);
    connect(copy, &QAction::triggered, FWindow.get(), [&target] {
        if (target)
            target->click();
    });
    if (!QTest::qWaitForWindowActive(FWindow.get()))
        QSKIP("Shortcuts need an active window");
    ShowLookupTable();
    QCOMPARE(target, FArea->CopyLookupTableButton);
    Grid()->setFocus();
    Grid()->selectAll();
    ClearClipboard();
    QTest::keyClick(Grid(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(ClipboardText(), WholeTableText());
}

void tst_TRadixelArea::lookupIgnoresConversionPage()
{
    const QString before = WholeTableText();
    SelectWidth(0);
    FocusMemo(FDec);
    QTest::keyClicks(FDec, u"77"_s);
    QTest::mouseClick(FArea->InvertButton, Qt::LeftButton);
    SelectWidth(2);
    ShowLookupTable();
    Grid()->SetSelection(TGridRect{0, 1, 2, 256});
    Grid()->CopyToClipboard();
    QCOMPARE(ClipboardText(), before);
}

QTEST_MAIN(tst_TRadixelArea)
#include "tst_radixelarea.moc"
