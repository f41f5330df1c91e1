#include <memory>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/Beep.h"
#include "controls/IPAddressEdit.h"
#include "tests/common/TestEnvironment.h"

using namespace Qt::StringLiterals;

// The dotted-octet entry on a window of its own, beside another field that
// can take the focus.
class tst_TIPAddressEdit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fieldsAndCaption();
    void showAddressWritesEveryOctet();
    void thirdCharacterMovesOn_data();
    void thirdCharacterMovesOn();
    void enterExitsWithoutLeaving_data();
    void enterExitsWithoutLeaving();
    void refusedKeysBeep_data();
    void refusedKeysBeep();
    void leavingForAnotherControlExits_data();
    void leavingForAnotherControlExits();
    void aPopupMenuIsNoExit();
    void ctrlKeysReachTheWindow();

private:
    // False where the platform does not activate windows; focus tests skip then.
    bool Activate();

    std::unique_ptr<TTestEnvironment> FEnvironment;
    std::unique_ptr<QWidget> FWindow;
    TIPAddressEdit *FEdit = nullptr;
    QLineEdit *FOther = nullptr;
};

void tst_TIPAddressEdit::init()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
    FWindow = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(FWindow.get());
    FEdit = new TIPAddressEdit({u"Octet1"_s, u"Octet2"_s, u"Octet3"_s, u"Octet4"_s});
    FEdit->setFixedSize(116, 21);
    FOther = new QLineEdit;
    FOther->setObjectName(u"Other"_s);
    layout->addWidget(FEdit);
    layout->addWidget(FOther);
    FWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
}

void tst_TIPAddressEdit::cleanup()
{
    FWindow.reset();
    FEnvironment.reset();
}

bool tst_TIPAddressEdit::Activate()
{
    FWindow->activateWindow();
    return QTest::qWaitForWindowActive(FWindow.get());
}

void tst_TIPAddressEdit::fieldsAndCaption()
{
    FEdit->SetCaption(u"&IP Address"_s);
    for (int i = 0; i < 4; ++i) {
        QLineEdit *field = FEdit->Field(i);
        QCOMPARE(field->objectName(), u"Octet%1"_s.arg(i + 1));
        QCOMPARE(field->maxLength(), 3);
        QCOMPARE(field->accessibleName(), u"IP Address, octet %1"_s.arg(i + 1));
        // Laid out left to right, inside the box.
        QVERIFY(FEdit->rect().contains(field->geometry()));
        if (i > 0)
            QVERIFY(field->x() > FEdit->Field(i - 1)->geometry().right());
    }
}

void tst_TIPAddressEdit::showAddressWritesEveryOctet()
{
    if (!Activate())
        QSKIP("The platform did not activate the window");
    FEdit->Field(1)->setFocus(Qt::TabFocusReason);
    QSignalSpy exits(FEdit, &TIPAddressEdit::OctetExit);
    // Three-digit octets written by the program move no focus.
    FEdit->ShowAddress(0xC0A8FE01);
    QCOMPARE(FEdit->Field(0)->text(), u"192"_s);
    QCOMPARE(FEdit->Field(1)->text(), u"168"_s);
    QCOMPARE(FEdit->Field(2)->text(), u"254"_s);
    QCOMPARE(FEdit->Field(3)->text(), u"1"_s);
    QVERIFY(FEdit->Field(1)->hasFocus());
    QCOMPARE(exits.count(), 0);
}

void tst_TIPAddressEdit::thirdCharacterMovesOn_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("focused");
    QTest::newRow("first, three digits") << 0 << u"172"_s << 1;
    QTest::newRow("second, three digits") << 1 << u"100"_s << 2;
    QTest::newRow("third, three digits") << 2 << u"255"_s << 3;
    QTest::newRow("last wraps to the first") << 3 << u"200"_s << 0;
    QTest::newRow("two digits stay") << 1 << u"16"_s << 1;
    QTest::newRow("one digit stays") << 3 << u"7"_s << 3;
}

void tst_TIPAddressEdit::thirdCharacterMovesOn()
{
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(int, focused);
    if (!Activate())
        QSKIP("The platform did not activate the window");
    FEdit->Field(field)->setFocus(Qt::TabFocusReason);
    QSignalSpy exits(FEdit, &TIPAddressEdit::OctetExit);
    QTest::keyClicks(FEdit->Field(field), typed);
    QTRY_VERIFY(FEdit->Field(focused)->hasFocus());
    QCOMPARE(FEdit->Field(field)->text(), typed);
    // Moving on leaves the field, which is then applied.
    const QList<QVariant> left = focused == field ? QList<QVariant>() : QList<QVariant>{field};
    QCOMPARE(exits.count(), left.isEmpty() ? 0 : 1);
    if (!left.isEmpty())
        QCOMPARE(exits.at(0), left);
    QCOMPARE(BeepCount(), 0);
}

void tst_TIPAddressEdit::enterExitsWithoutLeaving_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("key");
    for (int field = 0; field < 4; ++field) {
        QTest::addRow("Return in field %d", field + 1) << field << int(Qt::Key_Return);
        QTest::addRow("Enter in field %d", field + 1) << field << int(Qt::Key_Enter);
    }
}

void tst_TIPAddressEdit::enterExitsWithoutLeaving()
{
    QFETCH(int, field);
    QFETCH(int, key);
    if (!Activate())
        QSKIP("The platform did not activate the window");
    QLineEdit *edit = FEdit->Field(field);
    edit->setFocus(Qt::TabFocusReason);
    QSignalSpy exits(FEdit, &TIPAddressEdit::OctetExit);
    QTest::keyClicks(edit, u"5"_s);
    QTest::keyClick(edit, Qt::Key(key));
    QCOMPARE(exits.count(), 1);
    QCOMPARE(exits.at(0).at(0).toInt(), field);
    QVERIFY(edit->hasFocus());
    QCOMPARE(edit->text(), u"5"_s);
    // Swallowed: no beep, and no default button of a dialog would see it.
    QCOMPARE(BeepCount(), 0);
}

void tst_TIPAddressEdit::refusedKeysBeep_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");
    QTest::newRow("letters and signs") << QString() << u"4x.-"_s << u"4"_s << 3;
    QTest::newRow("a space") << u"1"_s << u" "_s << u"1"_s << 1;
    QTest::newRow("a fourth digit") << u"123"_s << u"4"_s << u"123"_s << 1;
    QTest::newRow("digits over a selection") << u"123"_s << QString() << u"9"_s << 0;
}

void tst_TIPAddressEdit::refusedKeysBeep()
{
    QFETCH(QString, start);
    QFETCH(QString, typed);
    QLineEdit *edit = FEdit->Field(1);
    edit->setText(start);
    edit->end(false);
    if (typed.isEmpty()) {
        // A full field whose text is selected takes a digit in its place.
        edit->selectAll();
        typed = u"9"_s;
    }
    QSignalSpy exits(FEdit, &TIPAddressEdit::OctetExit);
    QTest::keyClicks(edit, typed);
    QTEST(edit->text(), "text");
    QTEST(BeepCount(), "beeps");
    QCOMPARE(exits.count(), 0);
}

void tst_TIPAddressEdit::leavingForAnotherControlExits_data()
{
    QTest::addColumn<bool>("byMouse");
    QTest::newRow("Tab") << false;
    QTest::newRow("a click on another field") << true;
}

void tst_TIPAddressEdit::leavingForAnotherControlExits()
{
    QFETCH(bool, byMouse);
    if (!Activate())
        QSKIP("The platform did not activate the window");
    FEdit->Field(3)->setFocus(Qt::TabFocusReason);
    QSignalSpy exits(FEdit, &TIPAddressEdit::OctetExit);
    if (byMouse)
        QTest::mouseClick(FOther, Qt::LeftButton);
    else
        QTest::keyClick(FEdit->Field(3), Qt::Key_Tab);
    QTRY_VERIFY(FOther->hasFocus());
    QCOMPARE(exits.count(), 1);
    QCOMPARE(exits.at(0).at(0).toInt(), 3);
}

// A menu takes the focus only while it is open: the field is not left.
void tst_TIPAddressEdit::aPopupMenuIsNoExit()
{
    if (!Activate())
        QSKIP("The platform did not activate the window");
    QLineEdit *edit = FEdit->Field(2);
    edit->setFocus(Qt::TabFocusReason);
    QSignalSpy exits(FEdit, &TIPAddressEdit::OctetExit);
    QMenu menu;
    menu.addAction(u"Item"_s);
    menu.popup(FWindow->mapToGlobal(QPoint(10, 10)));
    QTRY_VERIFY(menu.isVisible());
    menu.close();
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(exits.count(), 0);
}

void tst_TIPAddressEdit::ctrlKeysReachTheWindow()
{
    if (!Activate())
        QSKIP("Shortcuts need an active window");
    auto *copy = new QAction(FWindow.get());
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    FWindow->addAction(copy);
    QSignalSpy copies(copy, &QAction::triggered);
    QLineEdit *edit = FEdit->Field(0);
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit, u"12"_s);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(copies.count(), 1);
    // A Ctrl key no shortcut takes is the field's own, and no beep.
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), u"12"_s);
    QCOMPARE(BeepCount(), 0);
}

QTEST_MAIN(tst_TIPAddressEdit)
#include "tst_ipaddressedit.moc"
