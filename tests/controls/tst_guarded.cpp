// The error boundary of our handlers: what each kind of failure shows.

#include <new>
#include <stdexcept>

#include <QTest>

#include "app/VorlGlobal.h"
#include "controls/Guarded.h"
#include "tests/common/TestEnvironment.h"

class tst_Guarded : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void failureIsShownOnce_data();
    void failureIsShownOnce();
};

void tst_Guarded::init()
{
    TakeErrorMessages();
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

TARVELO_TEST_MAIN(tst_Guarded)
#include "tst_guarded.moc"
