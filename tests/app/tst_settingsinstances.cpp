#include <QTest>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "app/SettingsStore.h"
#include "latency/LatencySettings.h"
#include "tests/common/TestEnvironment.h"

using namespace Qt::StringLiterals;

namespace QTest {
template <>
char *toString(const TStoreValue &v)
{
    return qstrdup(QStringLiteral("type %1 (%2): %3 \"%4\" %5")
                       .arg(int(v.Type))
                       .arg(v.OtherType)
                       .arg(v.Integer)
                       .arg(v.Text, QString::fromLatin1(v.Bytes.toHex()))
                       .toUtf8()
                       .constData());
}

template <>
char *toString(const std::optional<TStoreValue> &v)
{
    return v ? toString(*v) : qstrdup("missing");
}
} // namespace QTest

// Two instances of the program running at once share the settings file:
// each save keeps what the other one saved, whatever order they exit in.
class tst_SettingsInstances : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void eachInstanceKeepsTheOthersValues();
    void fileChangedMeanwhile_data();
    void fileChangedMeanwhile();
    void latencyChainOfTheLastWriterLoads_data();
    void latencyChainOfTheLastWriterLoads();
    void simultaneousSavesLoseNothing();
    void lastToExitKeepsWhatTheOtherChanged_data();
    void lastToExitKeepsWhatTheOtherChanged();

private:
    std::unique_ptr<TTestEnvironment> FEnv;
};

namespace {

const QString DravokKey = MainSettingsKey + QStringLiteral("\\Dravok");

// One running instance: a settings_writer process in its "instance" mode.
class TInstance
{
public:
    TInstance()
    {
        FProcess.setProgram(QStringLiteral(TARVELO_SETTINGS_WRITER));
        FProcess.setArguments({QStringLiteral("instance")});
        FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        FProcess.start();
        FReady = Answer() == "ready";
    }
    ~TInstance()
    {
        Send("quit");
        if (!FProcess.waitForFinished(10000))
            FProcess.kill();
        FProcess.waitForFinished();
    }
    bool Ready() const { return FReady; }
    void Send(const QByteArray &command)
    {
        FProcess.write(command + '\n');
        FProcess.waitForBytesWritten(10000);  // without an event loop, nothing else sends it
    }
    QByteArray Answer()
    {
        while (!FProcess.canReadLine() && FProcess.waitForReadyRead(60000)) {
        }
        return FProcess.readLine().trimmed();
    }
    QByteArray Ask(const QByteArray &command)
    {
        Send(command);
        return Answer();
    }

private:
    QProcess FProcess;
    bool FReady = false;
};

std::optional<TStoreValue> Stored(const QString &key, const QString &name)
{
    TSettingsStore store(TSettingsStore::DefaultFileName());
    return store.ReadValue(key, name);
}

TStoreValue Typed(TStoreType type, int otherType, const QByteArray &bytes)
{
    TStoreValue v;
    v.Type = type;
    v.OtherType = otherType;
    v.Bytes = bytes;
    return v;
}

// What both instances find at start; neither writes the "Kept" values.
const std::vector<std::tuple<QString, QString, TStoreValue>> &StartValues()
{
    static const std::vector<std::tuple<QString, QString, TStoreValue>> values{
        {MainSettingsKey, QStringLiteral("Calculator"), TStoreValue::FromInteger(1)},
        {MainSettingsKey, QStringLiteral("Position"), TStoreValue::FromBinary(QByteArray(20, '\x01'))},
        {DravokKey, QStringLiteral("SubnetBits"), TStoreValue::FromInteger(8)},
        {DravokKey, QStringLiteral("UseRFC1878"), TStoreValue::FromInteger(1)},
        {DravokKey, QStringLiteral("KeptText"), TStoreValue::FromText(QStringLiteral("two\r\nlines \u221e"))},
        {DravokKey, QStringLiteral("KeptUntyped"), Typed(TStoreType::stUntyped, 0, "\x01\x02")},
        {DravokKey, QStringLiteral("KeptOther"), Typed(TStoreType::stOther, 7, QByteArray("a\0b\0\0\0", 6))},
    };
    return values;
}

void WriteStartValues()
{
    TSettingsStore store(TSettingsStore::DefaultFileName());
    for (const auto &[key, name, value] : StartValues())
        store.WriteValue(key, name, value);
    store.Save();
}

} // namespace

void tst_SettingsInstances::init()
{
    FEnv = std::make_unique<TTestEnvironment>();
    QVERIFY(QFileInfo(QStringLiteral(TARVELO_SETTINGS_WRITER)).isExecutable());
    WriteStartValues();
}

void tst_SettingsInstances::cleanup()
{
    FEnv.reset();
}

void tst_SettingsInstances::eachInstanceKeepsTheOthersValues()
{
    TInstance a, b;
    QVERIFY(a.Ready() && b.Ready());
    QCOMPARE(a.Ask("write . Calculator int 2"), "ok");
    QCOMPARE(a.Ask("write Dravok SubnetBits int 22"), "ok");
    QCOMPARE(a.Ask("write Dravok UseRFC1878 int 0"), "ok");
    QCOMPARE(a.Ask("write LatencyCalc NumNetworks int 3"), "ok");  // a key only A has
    QCOMPARE(a.Ask("save"), "ok");
    QCOMPARE(b.Ask("write . Position binary 0202020202020202020202020202020202020202"), "ok");
    QCOMPARE(b.Ask("write Dravok UseRFC1878 int 1"), "ok");  // both wrote it: B saved last
    QCOMPARE(b.Ask("save"), "ok");

    QCOMPARE(Stored(MainSettingsKey, QStringLiteral("Calculator")), TStoreValue::FromInteger(2));
    QCOMPARE(Stored(DravokKey, QStringLiteral("SubnetBits")), TStoreValue::FromInteger(22));
    QCOMPARE(Stored(LatencySettingsKey, QStringLiteral("NumNetworks")), TStoreValue::FromInteger(3));
    QCOMPARE(Stored(MainSettingsKey, QStringLiteral("Position")), TStoreValue::FromBinary(QByteArray(20, '\x02')));
    QCOMPARE(Stored(DravokKey, QStringLiteral("UseRFC1878")), TStoreValue::FromInteger(1));
    for (const auto &[key, name, value] : StartValues())
        if (name.startsWith(QLatin1String("Kept")))
            QCOMPARE(Stored(key, name), value);

    // After its save, B reads what A saved; A reads B's values once it reloads.
    QCOMPARE(b.Ask("read LatencyCalc NumNetworks"), "int 3");
    QCOMPARE(a.Ask("read . Position"), "binary " + QByteArray(20, '\x01').toHex());
    QCOMPARE(a.Ask("reload"), "ok");
    QCOMPARE(a.Ask("read . Position"), "binary " + QByteArray(20, '\x02').toHex());
}

void tst_SettingsInstances::fileChangedMeanwhile_data()
{
    QTest::addColumn<QString>("change");     // done to the file between A's save and B's
    QTest::addColumn<int>("calculator");     // stored afterwards; -1: none
    QTest::addColumn<bool>("keptAside");
    QTest::addColumn<bool>("saved");

    // Deleting the file deletes what B did not write, as deleting registry keys would.
    QTest::newRow("deleted") << "delete" << -1 << false << true;
    // Nothing of A's save can be read: B's own knowledge stands in for it.
    QTest::newRow("overwritten with garbage") << "garbage" << 1 << true << true;
    // What can still be read of A's save is kept.
    QTest::newRow("cut short in a value") << "cut" << 2 << true << true;
    QTest::newRow("a folder in its place") << "folder" << -1 << false << false;
}

void tst_SettingsInstances::fileChangedMeanwhile()
{
    QFETCH(QString, change);
    QFETCH(int, calculator);
    QFETCH(bool, keptAside);
    QFETCH(bool, saved);

    const QString file = FEnv->SettingsFileName();
    TInstance a, b;
    QVERIFY(a.Ready() && b.Ready());
    QCOMPARE(a.Ask("write . Calculator int 2"), "ok");
    QCOMPARE(a.Ask("save"), "ok");

    QByteArray damaged = FEnv->ReadSettingsFile();
    if (change == QLatin1String("garbage"))
        damaged = QByteArrayLiteral("\x00\x01 not a settings file");
    else if (change == QLatin1String("cut"))
        damaged.truncate(damaged.indexOf("\"KeptText\"") + 5);
    QFile::remove(file);
    if (change == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(file));
    else if (change != QLatin1String("delete"))
        FEnv->WriteSettingsFile(damaged);

    QCOMPARE(b.Ask("write . Position binary 0202020202020202020202020202020202020202"), "ok");
    QCOMPARE(b.Ask("save"), saved ? QByteArray("ok") : QByteArray("error Failed to set data for 'Position'"));

    const QStringList aside = QFileInfo(file).dir().entryList({QStringLiteral("settings.reg.unreadable-*")});
    QCOMPARE(aside.size(), keptAside ? 1 : 0);
    if (keptAside) {
        QFile copy(QFileInfo(file).dir().filePath(aside.first()));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), damaged);
    }
    const QByteArray problem = b.Ask("problem");
    QCOMPARE(problem.contains("could not be read"), keptAside || !saved);
    QCOMPARE(problem.contains("will not be saved"), !saved);
    QCOMPARE(b.Ask("problem"), "none");  // told once
    if (!saved) {
        QVERIFY(QFileInfo(file).isDir());
        QCOMPARE(b.Ask("write . Calculator int 0"), "ok");
        QCOMPARE(b.Ask("save"), "error Failed to set data for 'Calculator'");
        return;
    }

    TSettingsStore after(file);
    QCOMPARE(after.TakeLoadProblem(), QString());
    QCOMPARE(after.ReadValue(MainSettingsKey, QStringLiteral("Position")),
             TStoreValue::FromBinary(QByteArray(20, '\x02')));
    QCOMPARE(after.ReadValue(MainSettingsKey, QStringLiteral("Calculator")),
             calculator < 0 ? std::nullopt : std::optional(TStoreValue::FromInteger(calculator)));
    // What B knew fills the rest, unless the file was deleted on purpose.
    QCOMPARE(after.ReadValue(DravokKey, QStringLiteral("KeptOther")).has_value(), change != QLatin1String("delete"));
}

void tst_SettingsInstances::latencyChainOfTheLastWriterLoads_data()
{
    QTest::addColumn<int>("aNetworks");
    QTest::addColumn<int>("bNetworks");  // 0: B never built the latency calculator
    QTest::addColumn<QStringList>("loaded");

    // The chain stored at start has five networks "Old 1" ... "Old 5".
    QTest::newRow("A removed two, B never built it") << 3 << 0 << QStringList{u"A 1"_s, u"A 2"_s, u"A 3"_s};
    QTest::newRow("B saved a shorter chain last") << 4 << 2 << QStringList{u"B 1"_s, u"B 2"_s};
    QTest::newRow("B saved a longer chain last") << 1 << 6 << QStringList{u"B 1"_s, u"B 2"_s, u"B 3"_s, u"B 4"_s, u"B 5"_s, u"B 6"_s};
}

void tst_SettingsInstances::latencyChainOfTheLastWriterLoads()
{
    QFETCH(int, aNetworks);
    QFETCH(int, bNetworks);
    QFETCH(QStringList, loaded);
    {
        TLatencySettings old;
        old.Networks.assign(5, TStoredNetwork{TNetworkRecord{10, 75, 0, 0, 8}, TNetworkButtonKind::nbEthernet, {}});
        for (int i = 0; i < 5; ++i)
            old.Networks[std::size_t(i)].Name = QStringLiteral("Old %1").arg(i + 1);
        TSettingsStore store(FEnv->SettingsFileName());
        WriteLatencySettings(old, store);
    }

    TInstance a, b;
    QVERIFY(a.Ready() && b.Ready());
    QCOMPARE(a.Ask("chain " + QByteArray::number(aNetworks) + " A"), "ok");
    if (bNetworks > 0)
        QCOMPARE(b.Ask("chain " + QByteArray::number(bNetworks) + " B"), "ok");
    QCOMPARE(b.Ask("write . Calculator int 2"), "ok");
    QCOMPARE(b.Ask("save"), "ok");

    TSettingsStore after(FEnv->SettingsFileName());
    const std::optional<TLatencySettings> chain = ReadLatencySettings(after);
    QVERIFY(chain);
    QVERIFY(chain->Problems.isEmpty());
    QStringList names;
    for (const TStoredNetwork &network : chain->Networks)
        names << network.Name;
    QCOMPARE(names, loaded);
}

// Saves at the same moment wait for each other: none is based on a file
// that another replaces before it is written.
void tst_SettingsInstances::simultaneousSavesLoseNothing()
{
    constexpr int Saves = 40;
    TInstance a, b;
    QVERIFY(a.Ready() && b.Ready());
    a.Send("burst A " + QByteArray::number(Saves));
    b.Send("burst B " + QByteArray::number(Saves));
    QCOMPARE(a.Answer(), "ok");
    QCOMPARE(b.Answer(), "ok");

    TSettingsStore after(FEnv->SettingsFileName());
    const QString burst = MainSettingsKey + QStringLiteral("\\Burst");
    QStringList lost;
    for (const QString &prefix : {QStringLiteral("A"), QStringLiteral("B")})
        for (int i = 1; i <= Saves; ++i)
            if (after.ReadValue(burst, prefix + QString::number(i)) != TStoreValue::FromInteger(i))
                lost << prefix + QString::number(i);
    QVERIFY2(lost.isEmpty(), qPrintable(lost.join(u' ')));
    QCOMPARE(after.ReadValue(MainSettingsKey, QStringLiteral("Calculator")), TStoreValue::FromInteger(1));
    QVERIFY(!QFile::exists(FEnv->SettingsFileName() + QStringLiteral(".lock")));
}

void tst_SettingsInstances::lastToExitKeepsWhatTheOtherChanged_data()
{
    QTest::addColumn<QByteArray>("name");      // "SubnetBits" is stored as 8 at the start, "SubnetAddress" is not
    QTest::addColumn<QByteArray>("bStart");    // what B does with it at its start: read, shown <value>, nothing
    QTest::addColumn<QByteArray>("bWrites");   // what B writes for it at exit
    QTest::addColumn<QByteArray>("stored");    // after both exited

    // A changed it, B wrote what it had at its start: not B's change.
    QTest::newRow("B writes it as read") << QByteArray("SubnetBits") << QByteArray("read") << QByteArray("int 8")
                                         << QByteArray("int 22");
    QTest::newRow("B writes it as shown") << QByteArray("SubnetBits") << QByteArray("shown int 8")
                                          << QByteArray("int 8") << QByteArray("int 22");
    QTest::newRow("first run: B writes the default it showed")
        << QByteArray("SubnetAddress") << QByteArray("shown int 8") << QByteArray("int 8") << QByteArray("int 22");
    QTest::newRow("B changed it too") << QByteArray("SubnetBits") << QByteArray("read") << QByteArray("int 30")
                                      << QByteArray("int 30");
    QTest::newRow("B writes it as text") << QByteArray("SubnetBits") << QByteArray("read") << QByteArray("text 8")
                                         << QByteArray("text 8");
    // What B shows otherwise than stored (a clamped value) replaces it.
    QTest::newRow("B showed it otherwise") << QByteArray("SubnetBits") << QByteArray("shown int 9")
                                           << QByteArray("int 9") << QByteArray("int 9");
    // What B never saw of the store is B's own value.
    QTest::newRow("B never saw it") << QByteArray("SubnetBits") << QByteArray() << QByteArray("int 8")
                                    << QByteArray("int 8");
}

// Every instance writes every value it has at exit; A exits first, then B.
void tst_SettingsInstances::lastToExitKeepsWhatTheOtherChanged()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, bStart);
    QFETCH(QByteArray, bWrites);
    QFETCH(QByteArray, stored);

    TInstance a, b;
    QVERIFY(a.Ready() && b.Ready());
    QVERIFY(a.Ask("read Dravok " + name).startsWith(name == "SubnetBits" ? "int 8" : "missing"));
    QCOMPARE(a.Ask("read . Calculator"), "int 1");
    if (bStart == "read")
        QVERIFY(!b.Ask("read Dravok " + name).isEmpty());
    else if (bStart.startsWith("shown"))
        QCOMPARE(b.Ask("shown Dravok " + name + bStart.mid(5)), "ok");
    QCOMPARE(b.Ask("read . Calculator"), "int 1");

    QCOMPARE(a.Ask("write Dravok " + name + " int 22"), "ok");
    QCOMPARE(a.Ask("write . Calculator int 1"), "ok");
    QCOMPARE(a.Ask("save"), "ok");
    QCOMPARE(b.Ask("write Dravok " + name + ' ' + bWrites), "ok");
    QCOMPARE(b.Ask("write . Calculator int 2"), "ok");
    QCOMPARE(b.Ask("save"), "ok");

    TInstance after;
    QVERIFY(after.Ready());
    QCOMPARE(after.Ask("read Dravok " + name), stored);
    QCOMPARE(after.Ask("read . Calculator"), "int 2");
    for (const auto &[key, name, value] : StartValues())
        if (name.startsWith(QLatin1String("Kept")))
            QCOMPARE(Stored(key, name), value);
}

QTEST_GUILESS_MAIN(tst_SettingsInstances)
#include "tst_settingsinstances.moc"
