#include <QTest>

#include "app/SettingsStore.h"
#include "app/VorlGlobal.h"
#include "tests/common/TestEnvironment.h"

class tst_SettingsStore : public QObject
{
    Q_OBJECT
private slots:
    void typesSurviveARestart();
private:
};

void tst_SettingsStore::typesSurviveARestart()
{
    TTestEnvironment env;
    {
        TRegKey key;
        QVERIFY(key.OpenKey(MainSettingsKey, true));
        key.WriteInteger(QStringLiteral("Calculator"), 2);
        key.WriteString(QStringLiteral("Name"), QStringLiteral("a \"quoted\" \\ name"));
        key.WriteBinaryData(QStringLiteral("Position"), QByteArray("\x01\x02\xff", 3));
    }
    TSettingsStore::ResetInstance();
    TRegKey key;
    QVERIFY(key.OpenKey(MainSettingsKey, false));
    QCOMPARE(key.ReadInteger(QStringLiteral("Calculator")), 2);
    QCOMPARE(key.ReadString(QStringLiteral("Name")), QStringLiteral("a \"quoted\" \\ name"));
    QCOMPARE(key.ReadBinaryData(QStringLiteral("Position"), 20), QByteArray("\x01\x02\xff", 3));
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
