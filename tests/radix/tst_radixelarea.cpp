#include <QAction>
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

    void controlsAsDesigned();
    void typing_data();
    void typing();
    void widthChange_data();
    void widthChange();
    void copyButtonsCopyShownText_data();
    void copyButtonsCopyShownText();
    void focusAndPagesSetCopyTarget();
    void ctrlCCopiesThroughWindowCommand_data();
    void ctrlCCopiesThroughWindowCommand();
    void ctrlCCopiesTheDisplayFocusedOnReturnFromTheTable();
    void shortcutOverride_data();
    void shortcutOverride();
    void mouseLeavesCaretAtEnd();
    void tabMovesFocusCtrlTabIsSwallowed();
    void lookupRows_data();
    void lookupRows();
    void lookupCopy_data();
    void lookupCopy();
    void lookupIgnoresConversionPage();
    void lookupFontFitsTheTable();

private:
    QLineEdit *Memo(const QString &name) const { return FArea->findChild<QLineEdit *>(name); }
    QStringList Displays() const { return {FDec->text(), FHex->text(), FBin->text()}; }
    // Gives the display focus with a click; typing converts only while a
    // display has focus.
    void FocusMemo(QLineEdit *memo);
    void SelectWidth(int item);
    // Types `keys` into `memo`: printable characters as keys, "\b" Backspace,
    // "\x7f" Delete, "\x1b" Escape, "\r" Enter, "\n" Ctrl+Enter, other
    // codes below 32 Ctrl with that letter, arrows as arrow keys; "¬" clicks
    // Invert and "∅" Clear.
    void Type(QLineEdit *memo, const QString &keys);
    void ShowLookupTable();
    TSuperStringGrid *Grid() const { return FArea->LookupStringGrid; }
    static QString WholeTableText();

    std::unique_ptr<TTestEnvironment> FEnvironment;
    std::unique_ptr<QWidget> FWindow;
    TRadixelArea *FArea = nullptr;
    QLineEdit *FDec = nullptr;
    QLineEdit *FHex = nullptr;
    QLineEdit *FBin = nullptr;
    TCopyCommand FCopy;
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
    // The main window's part in miniature: page bookkeeping, and a Ctrl+C
    // Copy command that clicks the current copy target.
    ConnectPageSwitches(FArea);
    FCopy.Connect(FArea, FWindow.get());
    FWindow->show();
    FWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
    FDec = Memo(u"DecMemo"_s);
    FHex = Memo(u"HexMemo"_s);
    FBin = Memo(u"BinMemo"_s);
}

void tst_TRadixelArea::cleanup()
{
    FWindow.reset();
    FArea = nullptr;
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
    QRadioButton *button = FArea->NumberWidthGroup->findChildren<QRadioButton *>().value(item);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(button->isChecked());
}

void tst_TRadixelArea::Type(QLineEdit *memo, const QString &keys)
{
    for (const QChar c : keys) {
        const char16_t code = c.unicode();
        if (c == u'¬' || c == u'∅')
            QTest::mouseClick(c == u'¬' ? FArea->InvertButton : FArea->ClearButton, Qt::LeftButton);
        else if (code >= u'←' && code <= u'↓')
            QTest::keyClick(memo, Qt::Key(Qt::Key_Left + (code - u'←')));
        else if (code == 8 || code == 27 || code == 127 || code == 13)
            QTest::keyClick(memo, code == 8 ? Qt::Key_Backspace : code == 27 ? Qt::Key_Escape
                                  : code == 127 ? Qt::Key_Delete : Qt::Key_Return);
        else if (code == 10)
            QTest::keyClick(memo, Qt::Key_Return, Qt::ControlModifier);
        else if (code < 32)
            QTest::keyClick(memo, Qt::Key(Qt::Key_A + code - 1), Qt::ControlModifier);
        else
            QTest::keyClick(memo, char(code));
    }
}

void tst_TRadixelArea::controlsAsDesigned()
{
    QCOMPARE(Displays(), (QStringList{u"0"_s, u"00 00"_s, u"00000000 00000000"_s}));
    QVERIFY(FArea->NumberWidthItems[1]->isChecked());
    QCOMPARE(FArea->RadixelCalcPageControl->currentWidget(), FArea->ConversionTabSheet);
    QVERIFY(!FArea->CopyLookupTableButton->isEnabled());
    QCOMPARE(FArea->HexLabel->buddy(), FHex);
    QVERIFY(!FArea->HexClipboardButton->icon().isNull());
    // The lookup table: a header and 256 values, right-aligned in a fixed-pitch font.
    QCOMPARE(Grid()->RowCount(), 257);
    QVERIFY(QFontInfo(Grid()->font()).fixedPitch());
    QCOMPARE(Grid()->ColAlignments(2), TAlignment::taRightJustify);
    // Nothing clipped at the design font.
    for (QWidget *w : FArea->findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<QLabel *>(w))
            QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->text()));
        if (auto *button = qobject_cast<QAbstractButton *>(w); button && !button->text().isEmpty())
            QVERIFY2(button->fontMetrics().horizontalAdvance(QString(button->text()).remove(u'&')) + 8 <= button->width(),
                     qPrintable(button->text()));
    }
    QVERIFY(FBin->fontMetrics().horizontalAdvance(u"00000000 00000000 00000000 00000000"_s) + 8 <= FBin->width());
}

// Keys typed into a display reach the edit step and the number model: the
// edit step's own cases are in tst_nummemoedit.
void tst_TRadixelArea::typing_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("beeps");
    const QString dec = u"DecMemo"_s, hex = u"HexMemo"_s, bin = u"BinMemo"_s;
    const auto at16 = [](const QString &d, const QString &h, const QString &b) { return QStringList{d, h, b}; };
    const QString ones8(8, u'1');
    const QStringList five16 = at16(u"5"_s, u"00 05"_s, u"00000000 00000101"_s);
    const QStringList one16 = at16(u"1"_s, u"00 01"_s, u"00000000 00000001"_s);
    const QStringList zero16 = at16(u"0"_s, u"00 00"_s, u"00000000 00000000"_s);

    QTest::newRow("1234 converts live") << 1 << dec << u"1234"_s << at16(u"1,234"_s, u"04 D2"_s, u"00000100 11010010"_s) << 0;
    QTest::newRow("6th decimal digit refused") << 1 << dec << u"123456"_s
                                               << at16(u"12,345"_s, u"30 39"_s, u"00110000 00111001"_s) << 1;
    QTest::newRow("hex shift register") << 1 << hex << u"FA"_s << at16(u"250"_s, u"00 FA"_s, u"00000000 11111010"_s) << 0;
    QTest::newRow("8-bit overflow") << 0 << dec << u"256"_s << QStringList{u"25"_s, u"19"_s, u"00011001"_s} << 1;
    QTest::newRow("backspace in hex") << 1 << hex << u"FA\b"_s << at16(u"15"_s, u"00 0F"_s, u"00000000 00001111"_s) << 0;
    QTest::newRow("decimal zeros collapse") << 1 << dec << u"0005"_s << five16 << 0;
    QTest::newRow("hex zeros keep grouping") << 1 << hex << u"000"_s << zero16 << 0;
    QTest::newRow("32-bit top by decimal") << 2 << dec << u"4294967295"_s
                                           << QStringList{u"4,294,967,295"_s, u"FF FF FF FF"_s,
                                                          ones8 + u' ' + ones8 + u' ' + ones8 + u' ' + ones8} << 0;
    QTest::newRow("one above 32-bit top") << 2 << dec << u"4294967296"_s
                                          << QStringList{u"429,496,729"_s, u"19 99 99 99"_s,
                                                         u"00011001 10011001 10011001 10011001"_s} << 1;
    for (const auto &[name, memo] : {std::pair{"decimal", dec}, {"hex", hex}, {"binary", bin}}) {
        QTest::addRow("Escape in %s", name) << 1 << memo << u"1\x1b"_s << one16 << 1;
        QTest::addRow("Enter in %s", name) << 1 << memo << u"1\r"_s << one16 << 0;
        QTest::addRow("Delete in %s", name) << 1 << memo << u"1\x7f"_s << zero16 << 0;
    }
    QTest::newRow("Ctrl+Enter in hex") << 1 << hex << u"1\n"_s << one16 << 1;
    QTest::newRow("Ctrl+A in hex") << 1 << hex << u"1\x01"_s << one16 << 0;
    QTest::newRow("Ctrl+V in decimal") << 1 << dec << u"1\x16"_s << one16 << 0;
    QTest::newRow("minus refused") << 1 << dec << u"5-"_s << five16 << 1;
    QTest::newRow("arrows keep the caret at the end") << 1 << dec << u"1←↑→↓2"_s
                                                      << at16(u"12"_s, u"00 0C"_s, u"00000000 00001100"_s) << 0;
    QTest::newRow("Clear") << 1 << dec << u"99∅"_s << zero16 << 0;
    QTest::newRow("Invert 0 at 32 bits") << 2 << dec << u"¬"_s
                                         << QStringList{u"4,294,967,295"_s, u"FF FF FF FF"_s,
                                                        ones8 + u' ' + ones8 + u' ' + ones8 + u' ' + ones8} << 0;
    QTest::newRow("Invert 5 at 32 bits") << 2 << dec << u"5¬"_s
                                         << QStringList{u"4,294,967,290"_s, u"FF FF FF FA"_s,
                                                        ones8 + u' ' + ones8 + u' ' + ones8 + u" 11111010"_s} << 0;
    QTest::newRow("Invert 5 at 8 bits") << 0 << dec << u"5¬"_s << QStringList{u"250"_s, u"FA"_s, u"11111010"_s} << 0;
    QTest::newRow("Invert 5 at 16 bits") << 1 << dec << u"5¬"_s << at16(u"65,530"_s, u"FF FA"_s, u"11111111 11111010"_s) << 0;
    QTest::newRow("Invert twice") << 1 << dec << u"5¬¬"_s << five16 << 0;
}

void tst_TRadixelArea::typing()
{
    QFETCH(int, width);
    QFETCH(QString, memo);
    QFETCH(QString, keys);
    QLineEdit *edit = Memo(memo);
    SelectWidth(width);
    FocusMemo(edit);
    Type(edit, keys);
    QTEST(Displays(), "shown");
    QTEST(BeepCount(), "beeps");
    QCOMPARE(edit->cursorPosition(), edit->text().size());
}

void tst_TRadixelArea::widthChange_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("memoAfter");
    QTest::addColumn<QString>("typedAfter");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("beeps");
    QTest::newRow("widening shows more digits and allows them") << u"5"_s << 2 << u"HexMemo"_s << u"1234567"_s
        << QStringList{u"1,361,266,023"_s, u"51 23 45 67"_s, u"01010001 00100011 01000101 01100111"_s} << 0;
    QTest::newRow("widening keeps the decimal text") << u"5"_s << 2 << u"DecMemo"_s << QString()
        << QStringList{u"5"_s, u"00 00 00 05"_s, u"00000000 00000000 00000000 00000101"_s} << 0;
    QTest::newRow("narrowing keeps the low bits and the new limits") << u"1000"_s << 0 << u"DecMemo"_s << u"1"_s
        << QStringList{u"232"_s, u"E8"_s, u"11101000"_s} << 1;
}

void tst_TRadixelArea::widthChange()
{
    QFETCH(QString, typed);
    QFETCH(int, width);
    QFETCH(QString, memoAfter);
    QFETCH(QString, typedAfter);
    FocusMemo(FDec);
    Type(FDec, typed);
    SelectWidth(width);
    QLineEdit *after = Memo(memoAfter);
    FocusMemo(after);
    Type(after, typedAfter);
    QTEST(Displays(), "shown");
    QTEST(BeepCount(), "beeps");
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
    Type(FDec, u"1234"_s);
    ClearClipboard();
    QTest::mouseClick(FArea->findChild<QToolButton *>(button), Qt::LeftButton);
    QTEST(ClipboardText(), "text");
}

void tst_TRadixelArea::focusAndPagesSetCopyTarget()
{
    QSignalSpy targets(FArea, &TCalcArea::CopyTargetChanged);
    QSignalSpy enabled(FArea, &TCalcArea::CopyEnabledChanged);
    const auto target = [&targets](int i) { return targets.at(i).at(0).value<QAbstractButton *>(); };
    FocusMemo(FHex);
    QCOMPARE(targets.size(), 1);
    QCOMPARE(target(0), FArea->findChild<QAbstractButton *>(u"HexClipboardButton"_s));
    if (!FHex->hasFocus())
        QSKIP("Focus changes need an active window");
    FocusMemo(FBin);
    QCOMPARE(targets.size(), 3);
    QCOMPARE(target(1), nullptr);
    QCOMPARE(target(2), FArea->findChild<QAbstractButton *>(u"BinClipboardButton"_s));
    FArea->ClearButton->setFocus(Qt::TabFocusReason);
    QCOMPARE(targets.size(), 4);
    QCOMPARE(target(3), nullptr);

    ShowLookupTable();
    QCOMPARE(targets.size(), 5);
    QCOMPARE(target(4), FArea->CopyLookupTableButton);
    QVERIFY(FArea->CopyLookupTableButton->isEnabled());
    FArea->RadixelCalcPageControl->setCurrentWidget(FArea->ConversionTabSheet);
    QVERIFY(!FArea->CopyLookupTableButton->isEnabled());
    QCOMPARE(enabled.size(), 1);
    QCOMPARE(enabled.at(0).at(0).toBool(), false);
}

void tst_TRadixelArea::ctrlCCopiesThroughWindowCommand_data()
{
    QTest::addColumn<bool>("lookup");
    QTest::newRow("hexadecimal display") << false;
    QTest::newRow("lookup table") << true;
}

void tst_TRadixelArea::ctrlCCopiesThroughWindowCommand()
{
    QFETCH(bool, lookup);
    if (!QTest::qWaitForWindowActive(FWindow.get()))
        QSKIP("Shortcuts need an active window");
    QWidget *focus = FHex;
    if (lookup) {
        ShowLookupTable();
        Grid()->setFocus();
        Grid()->selectAll();
        focus = Grid();
    } else {
        FocusMemo(FHex);
        Type(FHex, u"4D2"_s);
    }
    ClearClipboard();
    QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(ClipboardText(), lookup ? WholeTableText() : u"04 D2"_s);
    QCOMPARE(FHex->text(), lookup ? u"00 00"_s : u"04 D2"_s);
}

void tst_TRadixelArea::ctrlCCopiesTheDisplayFocusedOnReturnFromTheTable()
{
    if (!QTest::qWaitForWindowActive(FWindow.get()))
        QSKIP("Shortcuts need an active window");
    FocusMemo(FHex);
    Type(FHex, u"4D2"_s);
    ShowLookupTable();
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, Grid()->visualRect(Grid()->Model()->index(1, 0)).center());
    QTRY_VERIFY(Grid()->hasFocus());
    // Switching pages from the keyboard while the table has the focus hands
    // the focus back to the display that had it on the first page.
    FArea->RadixelCalcPageControl->setCurrentIndex(0);
    QTRY_VERIFY(FHex->hasFocus());
    QVERIFY(FCopy.Enabled);
    QCOMPARE(FCopy.Target, FArea->HexClipboardButton);
    ClearClipboard();
    QTest::keyClick(FHex, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(ClipboardText(), u"04 D2"_s);
}

void tst_TRadixelArea::shortcutOverride_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("claimed");
    QTest::newRow("Ctrl+C is the window's") << int(Qt::Key_C) << int(Qt::ControlModifier) << u"\x03"_s << false;
    QTest::newRow("Ctrl+X is the window's") << int(Qt::Key_X) << int(Qt::ControlModifier) << u"\x18"_s << false;
    QTest::newRow("F1 is the window's") << int(Qt::Key_F1) << int(Qt::NoModifier) << QString() << false;
    QTest::newRow("a digit is typing") << int(Qt::Key_5) << int(Qt::NoModifier) << u"5"_s << true;
    QTest::newRow("Delete is typing") << int(Qt::Key_Delete) << int(Qt::NoModifier) << QString() << true;
    QTest::newRow("Backspace is typing") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << u"\b"_s << true;
}

void tst_TRadixelArea::shortcutOverride()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QKeyEvent event(QEvent::ShortcutOverride, key, Qt::KeyboardModifiers(modifiers), text);
    event.ignore();
    QCoreApplication::sendEvent(FHex, &event);
    QTEST(event.isAccepted(), "claimed");
}

void tst_TRadixelArea::mouseLeavesCaretAtEnd()
{
    FocusMemo(FDec);
    Type(FDec, u"1234"_s);
    QTest::mouseClick(FDec, Qt::LeftButton, {}, QPoint(FDec->width() - 20, 10));
    QCOMPARE(FDec->cursorPosition(), FDec->text().size());
    QTest::mouseDClick(FDec, Qt::LeftButton, {}, QPoint(FDec->width() - 20, 10));
    QVERIFY(!FDec->hasSelectedText());
    Type(FDec, u"5"_s);
    QCOMPARE(FDec->text(), u"12,345"_s);
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

void tst_TRadixelArea::ShowLookupTable()
{
    QTabBar *tabs = FArea->RadixelCalcPageControl->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QCOMPARE(FArea->RadixelCalcPageControl->currentWidget(), FArea->LookupTableTabSheet);
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

void tst_TRadixelArea::lookupRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("header") << 0 << QStringList{u"Decimal"_s, u"Hexadecimal"_s, u"Binary"_s};
    QTest::newRow("row 1, value 0") << 1 << QStringList{u"0"_s, u"0"_s, u"0000"_s};
    QTest::newRow("row 16, value 15") << 16 << QStringList{u"15"_s, u"F"_s, u"1111"_s};
    QTest::newRow("row 17, value 16") << 17 << QStringList{u"16"_s, u"10"_s, u"0001 0000"_s};
    QTest::newRow("row 256, value 255") << 256 << QStringList{u"255"_s, u"FF"_s, u"1111 1111"_s};
}

void tst_TRadixelArea::lookupRows()
{
    QFETCH(int, row);
    QTEST((QStringList{Grid()->Cells(0, row), Grid()->Cells(1, row), Grid()->Cells(2, row)}), "cells");
}

void tst_TRadixelArea::lookupCopy_data()
{
    QTest::addColumn<TGridRect>("selection");
    QTest::addColumn<QString>("text");
    QTest::newRow("first value cell, where it starts") << TGridRect{0, 1, 0, 1} << u"Decimal\r\n0\r\n"_s;
    QTest::newRow("rows 11 and 12") << TGridRect{0, 11, 2, 12}
                                    << u"Decimal\tHexadecimal\tBinary\r\n10\tA\t1010\r\n11\tB\t1011\r\n"_s;
    QTest::newRow("whole table, 257 lines") << TGridRect{0, 1, 2, 256} << WholeTableText();
}

void tst_TRadixelArea::lookupCopy()
{
    QFETCH(TGridRect, selection);
    ShowLookupTable();
    QCOMPARE(Grid()->geometry(), FArea->LookupTableTabSheet->rect());
    if (selection.Bottom > 1)
        Grid()->SetSelection(selection);
    QCOMPARE(Grid()->Selection(), selection);
    ClearClipboard();
    QTest::mouseClick(FArea->CopyLookupTableButton, Qt::LeftButton);
    QTEST(ClipboardText(), "text");
}

void tst_TRadixelArea::lookupIgnoresConversionPage()
{
    SelectWidth(0);
    FocusMemo(FDec);
    Type(FDec, u"77¬"_s);
    SelectWidth(2);
    ShowLookupTable();
    Grid()->SetSelection(TGridRect{0, 1, 2, 256});
    Grid()->CopyToClipboard();
    QCOMPARE(ClipboardText(), WholeTableText());
}

void tst_TRadixelArea::lookupFontFitsTheTable()
{
    const QFont font = Grid()->font();
    const QFontInfo info(font);
    QVERIFY(info.fixedPitch());
    // 13 pixels of character height, the em without internal leading: a
    // line of the font is taller than that.
    QCOMPARE(info.pixelSize(), 13);
    const QFontMetrics metrics(font);
    QVERIFY2(metrics.height() > 13, qPrintable(QString::number(metrics.height())));

    // The last rows hold the widest texts ("1111 1111"). Painted, they fit
    // the design's column widths, so no column grows past the page.
    ShowLookupTable();
    Grid()->scrollToBottom();
    Grid()->grab();
    int widths = 0;
    for (int col = 0; col < 3; ++col) {
        QCOMPARE(Grid()->ColWidths(col), 82);
        widths += Grid()->ColWidths(col) + 1;
    }
    QVERIFY(metrics.horizontalAdvance(Grid()->Cells(2, 256)) + 4 <= 82);
    QVERIFY2(widths <= Grid()->viewport()->width(), qPrintable(QString::number(widths)));
    // Every painted row holds a line of the font with a pixel above and below.
    for (int row : {250, 256})
        QVERIFY2(Grid()->RowHeights(row) >= metrics.height() + 2, qPrintable(QString::number(row)));
}

QTEST_MAIN(tst_TRadixelArea)
#include "tst_radixelarea.moc"
