#include <limits>
#include <memory>

#include <QClipboard>
#include <QDialog>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTimer>

#include "controls/Beep.h"
#include "controls/BetterSpinEdit.h"
#include "controls/Spin.h"
#include "tests/common/TestEnvironment.h"

namespace {

constexpr qint32 IntMax = std::numeric_limits<qint32>::max();
constexpr qint32 IntMin = std::numeric_limits<qint32>::min();

enum class TStepVia { svKey, svButton };

void SendFocus(QWidget *widget, QEvent::Type type, Qt::FocusReason reason)
{
    QFocusEvent event(type, reason);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

Q_DECLARE_METATYPE(TStepVia)

class tst_TBetterSpinEdit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void readTextValue_data();
    void readTextValue();
    void isAcceptedChar_data();
    void isAcceptedChar();
    void boundsClampWrittenValue_data();
    void boundsClampWrittenValue();
    void writingABoundRecommits();
    void changeOnlyOnRealChange();
    void steps_data();
    void steps();
    void clickingHandlerShapesTheStep();
    void enterCommits_data();
    void enterCommits();
    void enterAndEscStayInTheField();
    void windowShortcutsComeFirst_data();
    void windowShortcutsComeFirst();
    void focusExitCommits();
    void autoSelectOnFocusEntry();
    void typedCharacters_data();
    void typedCharacters();
    void editorDisabledRefusesEditing();
    void contextMenuBarsCutAndPaste();
    void readOnlyStepsBeep();
    void infinityFreezesTheValue();
    void minimumSize();
    void buttonPairLayout();
    void buttonPressFocusesTheEdit();
    void errorStopsTheHeldButton_data();
    void errorStopsTheHeldButton();
    void glyphsAreDrawn();

private:
    // Bounds first (the maximum, then the minimum), then the committed value.
    void SetUp(qint32 minValue, qint32 maxValue, qint32 value);

    std::unique_ptr<TTestEnvironment> FEnvironment;
    std::unique_ptr<QWidget> FWindow;
    TBetterSpinEdit *FEdit = nullptr;
};

void tst_TBetterSpinEdit::initTestCase()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_TBetterSpinEdit::init()
{
    ResetBeepCount();
    FWindow = std::make_unique<QWidget>();
    FWindow->resize(200, 80);
    FEdit = new TBetterSpinEdit(FWindow.get());
    FEdit->setObjectName(QStringLiteral("BitsSpinEdit"));
    FEdit->setGeometry(10, 10, 69, 21);
    FWindow->show();
}

void tst_TBetterSpinEdit::cleanup()
{
    FWindow.reset();
    FEdit = nullptr;
}

void tst_TBetterSpinEdit::SetUp(qint32 minValue, qint32 maxValue, qint32 value)
{
    FEdit->SetMaxValue(maxValue);
    FEdit->SetMinValue(minValue);
    FEdit->SetValue(value);
}

void tst_TBetterSpinEdit::readTextValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("result");

    QTest::newRow("trailing minus") << "12-" << 12;
    QTest::newRow("double minus") << "--5" << -5;
    QTest::newRow("minus inside") << "5-3" << 53;
    QTest::newRow("lone minus") << "-" << 0;
    QTest::newRow("empty keeps committed") << "" << 42;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("letters") << "12a" << 0;
    QTest::newRow("blank") << " 5" << 0;
    QTest::newRow("largest") << "2147483647" << IntMax;
    QTest::newRow("smallest") << "-2147483648" << IntMin;
    QTest::newRow("above 32 bits") << "2147483648" << 0;
    QTest::newRow("below 32 bits") << "-2147483649" << 0;
    QTest::newRow("far above 32 bits") << "99999999999999999999" << 0;
    QTest::newRow("infinity sign") << QString(QChar(0x221E)) << 0;
}

void tst_TBetterSpinEdit::readTextValue()
{
    QFETCH(QString, text);
    QFETCH(qint32, result);
    QCOMPARE(TBetterSpinEdit::ReadTextValue(text, 42), result);
}

void tst_TBetterSpinEdit::isAcceptedChar_data()
{
    QTest::addColumn<QChar>("c");
    QTest::addColumn<bool>("withEditor");
    QTest::addColumn<bool>("withoutEditor");

    QTest::newRow("0") << QChar(u'0') << true << false;
    QTest::newRow("9") << QChar(u'9') << true << false;
    QTest::newRow("minus") << QChar(u'-') << true << false;
    QTest::newRow("backspace") << QChar(8) << true << false;
    QTest::newRow("carriage return") << QChar(13) << false << false;
    QTest::newRow("ctrl+C") << QChar(3) << true << true;
    QTest::newRow("ctrl+V") << QChar(22) << true << true;
    QTest::newRow("escape") << QChar(27) << true << true;
    QTest::newRow("space") << QChar(u' ') << false << false;
    QTest::newRow("plus") << QChar(u'+') << false << false;
    QTest::newRow("point") << QChar(u'.') << false << false;
    QTest::newRow("slash below 0") << QChar(u'/') << false << false;
    QTest::newRow("colon above 9") << QChar(u':') << false << false;
    QTest::newRow("letter") << QChar(u'a') << false << false;
    QTest::newRow("delete 127") << QChar(127) << false << false;
    QTest::newRow("e acute") << QChar(0xE9) << false << false;
    QTest::newRow("arabic-indic digit") << QChar(0x0663) << false << false;
}

void tst_TBetterSpinEdit::isAcceptedChar()
{
    QFETCH(QChar, c);
    QFETCH(bool, withEditor);
    QFETCH(bool, withoutEditor);
    QCOMPARE(TBetterSpinEdit::IsAcceptedChar(c, true), withEditor);
    QCOMPARE(TBetterSpinEdit::IsAcceptedChar(c, false), withoutEditor);
}

void tst_TBetterSpinEdit::boundsClampWrittenValue_data()
{
    QTest::addColumn<qint32>("minValue");
    QTest::addColumn<qint32>("maxValue");
    QTest::addColumn<qint32>("written");
    QTest::addColumn<qint32>("committed");

    QTest::newRow("inside") << 1 << 22 << 8 << 8;
    QTest::newRow("above") << 1 << 22 << 30 << 22;
    QTest::newRow("below") << 1 << 22 << -4 << 1;
    QTest::newRow("equal bounds, largest") << 0 << 0 << IntMax << IntMax;
    QTest::newRow("equal bounds, smallest") << 0 << 0 << IntMin << IntMin;
    QTest::newRow("equal nonzero bounds") << 5 << 5 << 99 << 99;
    QTest::newRow("full range top") << 0 << IntMax << IntMax << IntMax;
    QTest::newRow("crossed bounds, below min") << 10 << 5 << 3 << 10;
    QTest::newRow("crossed bounds, between") << 10 << 5 << 7 << 10;
    QTest::newRow("crossed bounds, above") << 10 << 5 << 20 << 5;
}

void tst_TBetterSpinEdit::boundsClampWrittenValue()
{
    QFETCH(qint32, minValue);
    QFETCH(qint32, maxValue);
    QFETCH(qint32, written);
    QFETCH(qint32, committed);

    SetUp(minValue, maxValue, written);
    QCOMPARE(FEdit->Value(), committed);
    QCOMPARE(FEdit->text(), QString::number(committed));
}

void tst_TBetterSpinEdit::writingABoundRecommits()
{
    FEdit->SetValue(3);
    QSignalSpy change(FEdit, &TBetterSpinEdit::Change);

    FEdit->SetMinValue(5); // 5..0 crossed: 3 is below the minimum
    QCOMPARE(FEdit->Value(), 5);
    QCOMPARE(change.count(), 1);
    QCOMPARE(change.at(0).at(0).value<TBetterSpinEdit *>(), FEdit);

    FEdit->SetMaxValue(40);
    QCOMPARE(FEdit->Value(), 5);
    QCOMPARE(change.count(), 1);

    FEdit->SetMaxValue(4); // crossed again: everything not below 5 becomes 4
    QCOMPARE(FEdit->Value(), 4);
    QCOMPARE(change.count(), 2);
}

void tst_TBetterSpinEdit::changeOnlyOnRealChange()
{
    SetUp(1, 22, 8);
    QSignalSpy change(FEdit, &TBetterSpinEdit::Change);

    FEdit->SetValue(8);
    QCOMPARE(change.count(), 0);

    FEdit->clear();
    QTest::keyClicks(FEdit, QStringLiteral("15"));
    QCOMPARE(FEdit->text(), QStringLiteral("15"));
    QCOMPARE(FEdit->Value(), 8); // typing alone commits nothing
    QCOMPARE(change.count(), 0);

    FEdit->SetValue(8); // code overwrites the typed text, the value stays
    QCOMPARE(FEdit->text(), QStringLiteral("8"));
    QCOMPARE(change.count(), 0);

    FEdit->SetValue(100);
    QCOMPARE(FEdit->Value(), 22);
    QCOMPARE(change.count(), 1);
    FEdit->SetValue(23);
    QCOMPARE(change.count(), 1);
}

void tst_TBetterSpinEdit::steps_data()
{
    QTest::addColumn<TStepVia>("via");
    QTest::addColumn<int>("key");
    QTest::addColumn<qint32>("minValue");
    QTest::addColumn<qint32>("maxValue");
    QTest::addColumn<qint32>("committed");
    QTest::addColumn<QString>("typed"); // replaces the text before the step
    QTest::addColumn<qint32>("result");
    QTest::addColumn<int>("changes");

    const QString none;
    for (const TStepVia via : {TStepVia::svKey, TStepVia::svButton}) {
        const QByteArray tag = via == TStepVia::svKey ? "key: " : "button: ";
        QTest::newRow(QByteArray(tag + "up").constData()) << via << int(Qt::Key_Up) << 0 << 0 << 0 << none << 1 << 1;
        QTest::newRow(QByteArray(tag + "down below zero").constData()) << via << int(Qt::Key_Down) << 0 << 0 << 0 << none << -1 << 1;
        QTest::newRow(QByteArray(tag + "up at the bound").constData()) << via << int(Qt::Key_Up) << 1 << 22 << 22 << none << 22 << 0;
        QTest::newRow(QByteArray(tag + "typed 10 then down").constData()) << via << int(Qt::Key_Down) << 1 << 22 << 8 << "10" << 9 << 1;
        QTest::newRow(QByteArray(tag + "typed 22 then up into the bound").constData())
            << via << int(Qt::Key_Up) << 1 << 22 << 8 << "22" << 22 << 1;
        QTest::newRow(QByteArray(tag + "typed 9 then down back to 8").constData()) << via << int(Qt::Key_Down) << 1 << 22 << 8 << "9" << 8 << 0;
        QTest::newRow(QByteArray(tag + "typed text out of range").constData()) << via << int(Qt::Key_Up) << 1 << 22 << 8 << "300" << 22 << 1;
        QTest::newRow(QByteArray(tag + "unreadable text reads 0").constData()) << via << int(Qt::Key_Up) << 0 << 100 << 8 << "-" << 1 << 1;
        QTest::newRow(QByteArray(tag + "up saturates at the largest").constData())
            << via << int(Qt::Key_Up) << 0 << 0 << IntMax << none << IntMax << 0;
        QTest::newRow(QByteArray(tag + "down saturates at the smallest").constData())
            << via << int(Qt::Key_Down) << 0 << 0 << IntMin << none << IntMin << 0;
        QTest::newRow(QByteArray(tag + "up saturates in the full positive range").constData())
            << via << int(Qt::Key_Up) << 0 << IntMax << 0 << "2147483647" << IntMax << 1;
    }
    QTest::newRow("page up clamps at 100") << TStepVia::svKey << int(Qt::Key_PageUp) << 0 << 100 << 95 << none << 100 << 1;
    QTest::newRow("page down by ten") << TStepVia::svKey << int(Qt::Key_PageDown) << 0 << 100 << 50 << none << 40 << 1;
    QTest::newRow("page up saturates") << TStepVia::svKey << int(Qt::Key_PageUp) << 0 << 0 << IntMax - 5 << none << IntMax << 1;
    QTest::newRow("page down saturates") << TStepVia::svKey << int(Qt::Key_PageDown) << 0 << 0 << IntMin + 3 << none << IntMin << 1;
}

void tst_TBetterSpinEdit::steps()
{
    QFETCH(TStepVia, via);
    QFETCH(int, key);
    QFETCH(qint32, minValue);
    QFETCH(qint32, maxValue);
    QFETCH(qint32, committed);
    QFETCH(QString, typed);
    QFETCH(qint32, result);
    QFETCH(int, changes);

    SetUp(minValue, maxValue, committed);
    if (!typed.isNull())
        FEdit->setText(typed);
    const bool up = key == Qt::Key_Up || key == Qt::Key_PageUp;

    QSignalSpy change(FEdit, &TBetterSpinEdit::Change);
    QSignalSpy clicking(FEdit, up ? &TBetterSpinEdit::UpClicking : &TBetterSpinEdit::DownClicking);
    QSignalSpy clicked(FEdit, up ? &TBetterSpinEdit::UpClick : &TBetterSpinEdit::DownClick);

    if (via == TStepVia::svKey) {
        QTest::keyClick(FEdit, Qt::Key(key));
    } else {
        QTest::mouseClick(up ? FEdit->SpinButtons()->UpButton() : FEdit->SpinButtons()->DownButton(),
                          Qt::LeftButton);
    }

    QCOMPARE(FEdit->Value(), result);
    QCOMPARE(FEdit->text(), QString::number(result));
    QCOMPARE(change.count(), changes);
    QCOMPARE(clicking.count(), 1);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(BeepCount(), 0);
}

void tst_TBetterSpinEdit::clickingHandlerShapesTheStep()
{
    connect(FEdit, &TBetterSpinEdit::UpClicking, this, [](TBetterSpinEdit *sender) {
        sender->SetIncrement(5);
        sender->SetMaxValue(12);
        sender->SetMinValue(-12);
    });
    QTest::keyClick(FEdit, Qt::Key_Up);
    QCOMPARE(FEdit->Value(), 5);
    QTest::keyClick(FEdit, Qt::Key_Up, Qt::ShiftModifier); // no modifier is examined
    QCOMPARE(FEdit->Value(), 10);
    QTest::keyClick(FEdit, Qt::Key_Up);
    QCOMPARE(FEdit->Value(), 12);
}

void tst_TBetterSpinEdit::enterCommits_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint32>("result");
    QTest::addColumn<int>("changes");

    QTest::newRow("above the bound") << "30" << 22 << 1;
    QTest::newRow("double minus") << "--7" << 1 << 1;
    QTest::newRow("trailing minus") << "7-" << 7 << 1;
    QTest::newRow("lone minus clamps") << "-" << 1 << 1;
    QTest::newRow("same value") << "08" << 8 << 0;
    QTest::newRow("empty keeps the value") << "" << 8 << 0;
}

void tst_TBetterSpinEdit::enterCommits()
{
    QFETCH(QString, typed);
    QFETCH(qint32, result);
    QFETCH(int, changes);

    SetUp(1, 22, 8);
    QSignalSpy change(FEdit, &TBetterSpinEdit::Change);

    FEdit->clear();
    QTest::keyClicks(FEdit, typed);
    QCOMPARE(FEdit->text(), typed);
    QTest::keyClick(FEdit, Qt::Key_Return);
    QCOMPARE(FEdit->Value(), result);
    QCOMPARE(FEdit->text(), QString::number(result));
    QCOMPARE(change.count(), changes);
    QCOMPARE(BeepCount(), 0);
}

void tst_TBetterSpinEdit::enterAndEscStayInTheField()
{
    // In a dialog, Enter and Esc belong to the field: neither the default
    // button nor the dialog's cancel sees them.
    QDialog dialog;
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    auto *edit = new TBetterSpinEdit(&dialog);
    edit->move(4, 40);
    QSignalSpy okClicked(ok, &QPushButton::clicked);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();

    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("12"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(edit->Value(), 12);
    QCOMPARE(edit->text(), QStringLiteral("12"));
    QCOMPARE(okClicked.count(), 0);
    QCOMPARE(finished.count(), 0);
    QVERIFY(dialog.isVisible());
}

void tst_TBetterSpinEdit::windowShortcutsComeFirst_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("windowShortcut");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("triggered");
    QTest::addColumn<QString>("text");

    // The main window's Ctrl+X is Exit and its Ctrl+C the Copy command.
    QTest::newRow("Ctrl+X of the window") << int(Qt::Key_X) << true << true << 1 << QStringLiteral("42");
    QTest::newRow("Ctrl+C of the window") << int(Qt::Key_C) << true << true << 1 << QStringLiteral("42");
    QTest::newRow("Ctrl+X without one cuts") << int(Qt::Key_X) << false << true << 0 << QString();
    QTest::newRow("Ctrl+X of a disabled command cuts") << int(Qt::Key_X) << true << false << 0 << QString();
}

void tst_TBetterSpinEdit::windowShortcutsComeFirst()
{
    QFETCH(int, key);
    QFETCH(bool, windowShortcut);
    QFETCH(bool, enabled);
    QFETCH(int, triggered);
    QFETCH(QString, text);

    auto *action = new QAction(FWindow.get());
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(key)));
    if (windowShortcut)
        FWindow->addAction(action);
    action->setEnabled(enabled);
    QSignalSpy spy(action, &QAction::triggered);
    FWindow->activateWindow();
    if (!QTest::qWaitForWindowActive(FWindow.get()))
        QSKIP("Shortcuts need an active window");
    FEdit->SetValue(42);
    FEdit->setFocus(Qt::TabFocusReason);
    FEdit->selectAll();
    QTest::keyClick(FEdit, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(spy.count(), triggered);
    QCOMPARE(FEdit->text(), text);
}

void tst_TBetterSpinEdit::focusExitCommits()
{
    SetUp(1, 22, 8);
    QSignalSpy change(FEdit, &TBetterSpinEdit::Change);

    FEdit->clear();
    SendFocus(FEdit, QEvent::FocusOut, Qt::TabFocusReason);
    QCOMPARE(FEdit->Value(), 8);
    QCOMPARE(FEdit->text(), QStringLiteral("8"));
    QCOMPARE(change.count(), 0);

    // A context menu taking the focus is not leaving the field.
    FEdit->setText(QStringLiteral("12"));
    SendFocus(FEdit, QEvent::FocusOut, Qt::PopupFocusReason);
    QCOMPARE(FEdit->Value(), 8);

    SendFocus(FEdit, QEvent::FocusOut, Qt::MouseFocusReason);
    QCOMPARE(FEdit->Value(), 12);
    QCOMPARE(change.count(), 1);
}

void tst_TBetterSpinEdit::autoSelectOnFocusEntry()
{
    FEdit->SetValue(1234);
    SendFocus(FEdit, QEvent::FocusIn, Qt::OtherFocusReason);
    QCOMPARE(FEdit->selectedText(), QStringLiteral("1234"));

    FEdit->deselect();
    SendFocus(FEdit, QEvent::FocusIn, Qt::MouseFocusReason);
    QVERIFY(!FEdit->hasSelectedText());

    FEdit->SetAutoSelect(false);
    SendFocus(FEdit, QEvent::FocusIn, Qt::TabFocusReason);
    QVERIFY(!FEdit->hasSelectedText());
}

void tst_TBetterSpinEdit::typedCharacters_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");

    QTest::newRow("digits") << "0123456789" << "0123456789" << 0;
    QTest::newRow("minus anywhere") << "1-2-" << "1-2-" << 0;
    QTest::newRow("letter") << "1a2" << "12" << 1;
    QTest::newRow("space") << "1 2" << "12" << 1;
    QTest::newRow("plus and point") << "+1.5" << "15" << 2;
}

void tst_TBetterSpinEdit::typedCharacters()
{
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(int, beeps);

    FEdit->clear();
    QTest::keyClicks(FEdit, typed);
    QCOMPARE(FEdit->text(), text);
    QCOMPARE(BeepCount(), beeps);
    QCOMPARE(FEdit->Value(), 0);
}

void tst_TBetterSpinEdit::editorDisabledRefusesEditing()
{
    FEdit->SetValue(45);
    FEdit->SetEditorEnabled(false);
    FEdit->end(false);

    QTest::keyClicks(FEdit, QStringLiteral("7-"));
    QTest::keyClick(FEdit, Qt::Key_Backspace);
    QCOMPARE(FEdit->text(), QStringLiteral("45"));
    QCOMPARE(BeepCount(), 3);

    // Cut and paste do nothing, silently; copy still works.
    QGuiApplication::clipboard()->setText(QStringLiteral("99"));
    FEdit->selectAll();
    QTest::keyClick(FEdit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(FEdit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(FEdit->text(), QStringLiteral("45"));
    QCOMPARE(BeepCount(), 3);
    QTest::keyClick(FEdit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("45"));

    QTest::keyClick(FEdit, Qt::Key_Up);
    QCOMPARE(FEdit->Value(), 46);
    QTest::mouseClick(FEdit->SpinButtons()->DownButton(), Qt::LeftButton);
    QCOMPARE(FEdit->Value(), 45);

    // With the editor back, paste works again.
    FEdit->SetEditorEnabled(true);
    FEdit->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("99"));
    QTest::keyClick(FEdit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(FEdit->text(), QStringLiteral("99"));
}

void tst_TBetterSpinEdit::contextMenuBarsCutAndPaste()
{
    // The enabled menu commands that would cut or paste, found by shortcut.
    const auto cutAndPaste = [this] {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), FEdit->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(FEdit, &event);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return -1;
        int count = 0;
        for (const QAction *action : menu->actions()) {
            const QString text = action->text();
            if (action->isEnabled() && (text.endsWith(u"Ctrl+X") || text.endsWith(u"Ctrl+V")))
                ++count;
        }
        menu->close();
        return count;
    };

    QGuiApplication::clipboard()->setText(QStringLiteral("99"));
    FEdit->selectAll();
    QCOMPARE(cutAndPaste(), 2);
    FEdit->SetEditorEnabled(false);
    QCOMPARE(cutAndPaste(), 0);
}

void tst_TBetterSpinEdit::readOnlyStepsBeep()
{
    FEdit->SetValue(5);
    FEdit->SetReadOnly(true);
    QSignalSpy upClicking(FEdit, &TBetterSpinEdit::UpClicking);
    QSignalSpy upClick(FEdit, &TBetterSpinEdit::UpClick);
    QSignalSpy downClicking(FEdit, &TBetterSpinEdit::DownClicking);
    QSignalSpy downClick(FEdit, &TBetterSpinEdit::DownClick);
    QSignalSpy change(FEdit, &TBetterSpinEdit::Change);

    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown})
        QTest::keyClick(FEdit, key);
    QTest::mouseClick(FEdit->SpinButtons()->UpButton(), Qt::LeftButton);
    QTest::mouseClick(FEdit->SpinButtons()->DownButton(), Qt::LeftButton);

    QCOMPARE(BeepCount(), 6);
    QCOMPARE(upClicking.count(), 3);
    QCOMPARE(upClick.count(), 3);
    QCOMPARE(downClicking.count(), 3);
    QCOMPARE(downClick.count(), 3);
    QCOMPARE(change.count(), 0);
    QCOMPARE(FEdit->Value(), 5);

    // Typing into a read-only field inserts nothing (and digits do not beep).
    QTest::keyClicks(FEdit, QStringLiteral("12"));
    QCOMPARE(FEdit->text(), QStringLiteral("5"));
}

void tst_TBetterSpinEdit::infinityFreezesTheValue()
{
    const QFont font = FEdit->font();
    FEdit->SetValue(7);
    QSignalSpy change(FEdit, &TBetterSpinEdit::Change);
    QSignalSpy upClick(FEdit, &TBetterSpinEdit::UpClick);
    const QString infinity(QChar(0x221E));

    FEdit->SetInfinity(true);
    QCOMPARE(FEdit->text(), infinity);
    QCOMPARE(FEdit->font(), font);
    QVERIFY(QFontMetrics(FEdit->font()).inFont(QChar(0x221E)));

    QTest::keyClick(FEdit, Qt::Key_Up);
    QTest::keyClick(FEdit, Qt::Key_PageDown);
    QTest::keyClick(FEdit, Qt::Key_Return);
    FEdit->SetValue(99);
    FEdit->SetMinValue(20);
    FEdit->SetMaxValue(30);
    QCOMPARE(FEdit->Value(), 7);
    QCOMPARE(FEdit->text(), infinity);
    QCOMPARE(FEdit->ReadTextValue(), 7);
    QCOMPARE(upClick.count(), 1);

    FEdit->SetInfinity(false);
    QCOMPARE(FEdit->text(), QStringLiteral("7"));
    QCOMPARE(FEdit->font(), font);
    QCOMPARE(change.count(), 0);

    // The bounds written meanwhile take effect on the next commit.
    QTest::keyClick(FEdit, Qt::Key_Return);
    QCOMPARE(FEdit->Value(), 20);
    QCOMPARE(change.count(), 1);
}

void tst_TBetterSpinEdit::minimumSize()
{
    // The default 21 pixels hold the design font (11-pixel sans serif).
    QVERIFY(FEdit->MinimumHeight() <= 21);
    QVERIFY(FEdit->MinimumHeight() >= QFontMetrics(FEdit->font()).height() + 4);
    TBetterSpinEdit fresh;
    QCOMPARE(fresh.size(), QSize(65, 21));
    QCOMPARE(fresh.text(), QStringLiteral("0"));

    FEdit->resize(20, 5);
    QCOMPARE(FEdit->size(), QSize(33, FEdit->MinimumHeight()));

    QFont large = FEdit->font();
    large.setPixelSize(24);
    FEdit->setFont(large);
    QVERIFY(FEdit->MinimumHeight() > 21);
    QCOMPARE(FEdit->height(), FEdit->MinimumHeight());
}

void tst_TBetterSpinEdit::buttonPairLayout()
{
    TSpinButton *pair = FEdit->SpinButtons();
    QCOMPARE(pair->width(), 15);
    QVERIFY(!pair->TabStop());
    // Qt's own click focus also reaches the edit, so only this shows the wiring.
    QCOMPARE(pair->FocusControl(), FEdit);
    // Held buttons repeat (400 ms, then every 100 ms) and never take the focus.
    for (TTimerSpeedButton *button : {pair->UpButton(), pair->DownButton()}) {
        QVERIFY(button->autoRepeat());
        QCOMPARE(button->autoRepeatDelay(), 400);
        QCOMPARE(button->autoRepeatInterval(), 100);
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    }

    // Inside the frame, flush with its right edge, full inner height.
    QStyleOptionFrame option;
    option.initFrom(FEdit);
    const int frame = FEdit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, FEdit);
    const QRect geometry = pair->geometry();
    QCOMPARE(geometry.right(), FEdit->width() - 1 - frame);
    QCOMPARE(geometry.top(), frame);
    QCOMPARE(geometry.height(), FEdit->height() - 2 * frame);

    // The two buttons fill the pair and share one pixel row.
    const QRect upper = pair->UpButton()->geometry();
    const QRect lower = pair->DownButton()->geometry();
    QCOMPARE(upper, QRect(0, 0, 15, geometry.height() / 2));
    QCOMPARE(lower.top(), upper.bottom());
    QCOMPARE(lower.bottom(), geometry.height() - 1);
    QCOMPARE(lower.width(), 15);

    // The text stays clear of the pair.
    QCOMPARE(FEdit->textMargins().right(), pair->width());
    FEdit->resize(120, 40);
    QCOMPARE(pair->geometry().right(), 120 - 1 - frame);
    QCOMPARE(pair->geometry().height(), 40 - 2 * frame);
}

void tst_TBetterSpinEdit::buttonPressFocusesTheEdit()
{
    auto *other = new QLineEdit(FWindow.get());
    other->move(10, 40);
    other->show();
    other->setFocus();
    QCOMPARE(FWindow->focusWidget(), other);

    QTest::mousePress(FEdit->SpinButtons()->DownButton(), Qt::LeftButton);
    QCOMPARE(FWindow->focusWidget(), FEdit);
    QTest::mouseRelease(FEdit->SpinButtons()->DownButton(), Qt::LeftButton);
    QCOMPARE(FEdit->Value(), -1);
}

void tst_TBetterSpinEdit::errorStopsTheHeldButton_data()
{
    QTest::addColumn<bool>("up");
    QTest::newRow("up button") << true;
    QTest::newRow("down button") << false;
}

void tst_TBetterSpinEdit::errorStopsTheHeldButton()
{
    QFETCH(bool, up);
    SetUp(-100, 100, 0);
    InstallErrorRecorder();
    TakeErrorMessages();
    // From the third step on, the handler fails and shows its error where it
    // catches it, as every handler of ours does.
    const qint32 failing = up ? 3 : -3;
    int errors = 0;
    connect(FEdit, &TBetterSpinEdit::Change, FWindow.get(), [this, &errors] {
        if (qAbs(FEdit->Value()) >= 3) {
            ++errors;
            ShowErrorMessage(QStringLiteral("Range check error"));
        }
    });
    TTimerSpeedButton *button = up ? FEdit->SpinButtons()->UpButton() : FEdit->SpinButtons()->DownButton();
    QTest::mousePress(button, Qt::LeftButton);
    QTRY_COMPARE(errors, 1);
    QCOMPARE(FEdit->Value(), failing);

    // Long enough for five more repeats, by a timer of the same interval
    // rather than by the clock: a repeat still running would step meanwhile.
    int intervals = 0;
    QTimer reference;
    connect(&reference, &QTimer::timeout, this, [&intervals] { ++intervals; });
    reference.start(TTimerSpeedButton::RepeatInterval);
    QTRY_VERIFY(intervals >= 5 || FEdit->Value() != failing);
    QCOMPARE(FEdit->Value(), failing);
    QVERIFY(!button->isDown());
    // Still held and moved over the button: it stays up.
    QTest::mouseMove(button, button->rect().center() + QPoint(1, 0));
    QVERIFY(!button->isDown());
    QTest::mouseRelease(button, Qt::LeftButton);
    QCOMPARE(FEdit->Value(), failing);
    QCOMPARE(errors, 1);
    QCOMPARE(TakeErrorMessages(), QStringList{QStringLiteral("Range check error")});

    // The next press is an ordinary click again.
    FEdit->SetValue(0);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(FEdit->Value(), up ? 1 : -1);
}

void tst_TBetterSpinEdit::glyphsAreDrawn()
{
    if (FEdit->devicePixelRatioF() != 1.0)
        QSKIP("the pixel rows are counted at a device pixel ratio of 1");
    // The built-in triangles: dark pixels on the button, the upper one widest
    // at its bottom, the lower one widest at its top.
    const auto darkRows = [](const QImage &image) {
        QList<int> widths;
        for (int y = 0; y < image.height(); ++y) {
            int count = 0;
            for (int x = 2; x < image.width() - 2; ++x)
                count += qGray(image.pixel(x, y)) < 60 ? 1 : 0;
            if (count > 0)
                widths.append(count);
        }
        return widths;
    };
    const QList<int> up = darkRows(FEdit->SpinButtons()->UpButton()->grab().toImage());
    const QList<int> down = darkRows(FEdit->SpinButtons()->DownButton()->grab().toImage());
    QCOMPARE(up, QList<int>({1, 3, 5, 7}));
    QCOMPARE(down, QList<int>({7, 5, 3, 1}));

    // A picture glyph shows its bottom-left colour as the button's own.
    const QColor olive(128, 128, 0);
    QPixmap picture(9, 6);
    picture.fill(olive);
    QPainter(&picture).fillRect(2, 2, 5, 2, Qt::black);
    TTimerSpeedButton *button = FEdit->SpinButtons()->UpButton();
    FEdit->SpinButtons()->SetUpGlyph(picture);
    const QImage shown = button->grab().toImage();
    QCOMPARE(darkRows(shown), QList<int>({5, 5}));
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            QVERIFY(shown.pixelColor(x, y) != olive);
    }
    FEdit->SpinButtons()->SetUpGlyph(QPixmap());
    QCOMPARE(darkRows(button->grab().toImage()), up);
}

QTEST_MAIN(tst_TBetterSpinEdit)
#include "tst_betterspinedit.moc"
