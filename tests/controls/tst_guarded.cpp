// The error boundary of our handlers: what each kind of failure shows, and
// that a guarded slot gets the signal's arguments it asks for.

#include <new>
#include <stdexcept>

#include <QButtonGroup>
#include <QPushButton>
#include <QTest>

#include "app/VorlGlobal.h"
#include "controls/Application.h"
#include "controls/Guarded.h"
#include "tests/common/TestEnvironment.h"

class tst_Guarded : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void failureIsShownOnce_data();
    void failureIsShownOnce();
    void slotTakesTheArgumentsItNames();

public:
    // A handler with fewer parameters than the signal it is connected to.
    void IdToggled(int id)
    {
        FIds << id;
        if (id == 2)
            RaiseError(QStringLiteral("Range check error"));
    }

private:
    QList<int> FIds;
};

void tst_Guarded::init()
{
    TakeErrorMessages();
    FIds.clear();
}

void tst_Guarded::failureIsShownOnce_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("program error") << 0 << "Invalid TIPAddress Byte Index";
    QTest::newRow("out of memory") << 1 << "Out of memory";
    QTest::newRow("library error") << 2 << "vector::_M_range_check";
    QTest::newRow("none") << 3 << QString();
}

void tst_Guarded::failureIsShownOnce()
{
    QFETCH(int, kind);
    QFETCH(QString, message);
    bool after = false;
    const bool completed = Guarded([&] {
        if (kind == 0)
            RaiseError(QStringLiteral("Invalid TIPAddress Byte Index"));
        if (kind == 1)
            throw std::bad_alloc();
        if (kind == 2)
            throw std::out_of_range("vector::_M_range_check");
        after = true;
    });
    QCOMPARE(completed, message.isEmpty());
    QCOMPARE(after, message.isEmpty()); // a failure ends the step where it happens
    QCOMPARE(TakeErrorMessages(), message.isEmpty() ? QStringList() : QStringList{message});
}

void tst_Guarded::slotTakesTheArgumentsItNames()
{
    QWidget window;
    QButtonGroup group;
    for (int id = 0; id < 3; ++id)
        group.addButton(new QPushButton(QString::number(id), &window), id);
    for (QAbstractButton *button : group.buttons())
        button->setCheckable(true);
    // idToggled(int, bool) to a member taking the id only.
    GuardedConnect(&group, &QButtonGroup::idToggled, this, &tst_Guarded::IdToggled);
    window.show();
    QTest::mouseClick(group.button(2), Qt::LeftButton);
    QCOMPARE(FIds, QList<int>{2});
    QCOMPARE(TakeErrorMessages(), QStringList{"Range check error"});
    // Checking 1 unchecks 2: two toggles, one of them fails.
    QTest::mouseClick(group.button(1), Qt::LeftButton);
    QCOMPARE(FIds.count(1), 1);
    QCOMPARE(FIds.count(2), 2);
    QCOMPARE(TakeErrorMessages(), QStringList{"Range check error"});
    QCOMPARE(group.checkedId(), 1);
    QCOMPARE(TApplication::TakeEscapedErrorCount(), 0);
}

TARVELO_TEST_MAIN(tst_Guarded)
#include "tst_guarded.moc"
