#include <QTest>

#include <chrono>
#include <random>
#include <thread>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>

#include "app/SettingsStore.h"
#include "tests/common/TestEnvironment.h"

// The two value sets and HoldsSet(), shared with the writer process.
#define TARVELO_SETTINGS_WRITER_NO_MAIN
#include "tests/app/settings_writer.cpp"

using namespace SettingsCrash;

namespace {

// A kill between creating the lock file beside the settings and writing its
// owner into it leaves a lock that no one can tell is abandoned, and the
// next save waits the stale time for it. That is right, but it would stop
// the next writers from saving at all; such a lock is removed here, as that
// wait would. A lock naming the killed writer is left for the next one.
int RemoveCutShortLocks(const QString &file)
{
    int removed = 0;
    for (const QString &name : QStringList{file + QStringLiteral(".lock"), file + QStringLiteral(".lock.rmlock")}) {
        QFile lock(name);
        if (lock.open(QIODevice::ReadOnly) && lock.readAll().count('\n') < 3) {
            lock.close();
            removed += QFile::remove(name);
        }
    }
    return removed;
}

QByteArray ReadLine(QProcess &process)
{
    while (!process.canReadLine())
        if (!process.waitForReadyRead(30000))
            return {};
    return process.readLine().trimmed();
}

// Starts a writer; what it found in the file ("old", "new", "none" ...)
// once it starts saving, empty when it did not start.
QByteArray StartWriter(QProcess &writer)
{
    writer.setProgram(QStringLiteral(TARVELO_SETTINGS_WRITER));
    writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    writer.start();
    if (!writer.waitForStarted(5000))
        return {};
    const QByteArray found = ReadLine(writer);
    return ReadLine(writer) == "saving" ? found : QByteArray();
}

} // namespace

// A process killed at any moment of saving the settings leaves a file that
// reads completely and holds exactly the values before or after that save.
class tst_SettingsCrash : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void setsAreDistinguishable();
    void killedWriterLeavesOldOrNewSet();

private:
    std::unique_ptr<TTestEnvironment> FEnv;
};

void tst_SettingsCrash::initTestCase()
{
    FEnv = std::make_unique<TTestEnvironment>();
    QVERIFY(QFileInfo(QStringLiteral(TARVELO_SETTINGS_WRITER)).isExecutable());
}

// The check below means something only if the sets differ in every value
// and each is recognised after a save and a fresh load.
void tst_SettingsCrash::setsAreDistinguishable()
{
    const std::vector<TRow> oldSet = SettingsSet(false);
    const std::vector<TRow> newSet = SettingsSet(true);
    QCOMPARE(oldSet.size(), newSet.size());
    QVERIFY(oldSet.size() >= 12);
    for (std::size_t i = 0; i < oldSet.size(); ++i) {
        QCOMPARE(oldSet[i].Name, newSet[i].Name);
        QVERIFY2(!(oldSet[i].Value == newSet[i].Value), qPrintable(oldSet[i].Name));
    }
    QCOMPARE(oldSet[0].Value.Bytes.size(), 20);  // Position

    const QString file = FEnv->SettingsFileName();
    for (const bool which : {false, true}) {
        {
            TSettingsStore store(file);
            WriteSet(store, which);
        }
        TSettingsStore loaded(file);
        QVERIFY(loaded.TakeLoadProblem().isEmpty());
        QCOMPARE(HoldsSet(loaded, which), true);
        QCOMPARE(HoldsSet(loaded, !which), false);
    }
    FEnv->ClearSettings();
}

void tst_SettingsCrash::killedWriterLeavesOldOrNewSet()
{
#ifdef TARVELO_SETTINGS_KILLS
    constexpr int Kills = TARVELO_SETTINGS_KILLS;
#else
    constexpr int Kills = 1000;
#endif
    const QString file = FEnv->SettingsFileName();
    const QDir folder = QFileInfo(file).absoluteDir();
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("random seed %u", seed);
    std::mt19937 random(seed);
    // The kills land within a writer's first four sets, measured from the
    // moment it has read the file and starts saving. A set takes a few
    // milliseconds here, many more in a sanitizer build, and a writer's
    // first set also clears the lock that the writer killed before it left:
    // three writers, each killed after its second set, time both.
    int firstSet = 0, nextSet = 0;
    for (int run = 0; run < 3; ++run) {
        QProcess writer;
        QVERIFY(!StartWriter(writer).isEmpty());
        QList<int> saved;  // microseconds after starting to save
        while (saved.size() < 2) {
            const QByteArray line = ReadLine(writer);
            QVERIFY2(line.startsWith("saved "), line.constData());
            saved << line.mid(6).toInt();
        }
        writer.kill();
        QVERIFY(writer.waitForFinished(5000));
        RemoveCutShortLocks(file);
        firstSet = std::max(firstSet, saved[0]);
        nextSet = std::max(nextSet, saved[1] - saved[0]);
    }
    std::uniform_int_distribution<int> delayMicroseconds(0, std::max(15000, firstSet + 3 * nextSet));
    qInfo("a writer's first set takes %d us to save, the next %d us", firstSet, nextSet);

    int oldSeen = 0, newSeen = 0, changed = 0, cutLocks = 0;
    QByteArray previous = [&file] {
        const TSettingsStore store(file);
        return HoldsSet(store, false) ? "old" : HoldsSet(store, true) ? "new" : "none";
    }();
    for (int kill = 0; kill < Kills; ++kill) {
        QProcess writer;
        // What the writer found is what the previous kill left.
        QCOMPARE(StartWriter(writer), previous);

        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        writer.kill();
        QVERIFY(writer.waitForFinished(5000));
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
        cutLocks += RemoveCutShortLocks(file);

        TSettingsStore store(file);
        const QString problem = store.TakeLoadProblem();
        QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("kill %1: %2").arg(kill).arg(problem)));
        if (!QFile::exists(file)) {
            // Killed before its first save ever finished.
            QCOMPARE(oldSeen + newSeen, 0);
            continue;
        }
        const bool isOld = HoldsSet(store, false);
        const bool isNew = HoldsSet(store, true);
        QVERIFY2(isOld != isNew, qPrintable(QStringLiteral("kill %1 left neither set complete:\n%2")
                                                .arg(kill)
                                                .arg(QString::fromUtf8(store.Serialize().left(2000)))));
        const QByteArray now = isOld ? "old" : "new";
        (isOld ? oldSeen : newSeen) += 1;
        changed += now != previous;
        previous = now;
    }

    const QStringList others = folder.entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("unreadable"));
    QVERIFY2(others.isEmpty(), qPrintable(others.join(u' ')));
    qInfo("%d kills: old set %d times, new set %d times, changed by the kill's run %d times; "
          "%d lock files cut short; %lld other files left in the folder",
          Kills, oldSeen, newSeen, changed, cutLocks,
          qlonglong(folder.entryList(QDir::Files | QDir::Hidden).size() - 1));
    // The kills landed among the saves: both sets were left many times.
    QVERIFY(oldSeen > Kills / 10);
    QVERIFY(newSeen > Kills / 10);
}

QTEST_GUILESS_MAIN(tst_SettingsCrash)
#include "tst_settingscrash.moc"
