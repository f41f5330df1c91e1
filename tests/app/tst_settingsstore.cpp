#include <QTest>

#include <functional>
#include <map>
#include <memory>

#include <QDir>
#include <QFile>

#include "app/SettingsStore.h"
#include "app/VorlGlobal.h"
#include "tests/common/TestEnvironment.h"

using namespace Qt::StringLiterals;

using TValueWriter = void (*)(TRegKey &);

namespace QTest {
template <>
char *toString(const std::optional<TStoreValue> &v)
{
    if (!v)
        return qstrdup("missing");
    return qstrdup(QStringLiteral("type %1: %2 \"%3\"").arg(int(v->Type)).arg(v->Integer).arg(v->Text).toUtf8().constData());
}
} // namespace QTest

namespace {

// Several instances of the program on one registry: each a backend of its
// own over the same values, taken one by one as they are written.
class TSharedRegistry final : public TStoreBackend
{
public:
    using TValues = std::map<std::pair<QString, QString>, TStoreValue>;  // by folded path and name

    explicit TSharedRegistry(std::shared_ptr<TValues> values)
        : FValues(std::move(values))
    {
    }
    bool KeyExists(const QString &) const override { return true; }
    bool CreateKey(const QString &) override { return true; }
    QStringList ValueNames(const QString &) const override { return {}; }
    bool Save() override { return true; }

protected:
    std::optional<TStoreValue> ReadStoredValue(const QString &path, const QString &name) const override
    {
        const auto found = FValues->find(Key(path, name));
        return found == FValues->end() ? std::nullopt : std::optional(found->second);
    }
    bool WriteStoredValue(const QString &path, const QString &name, const TStoreValue &value) override
    {
        (*FValues)[Key(path, name)] = value;
        return true;
    }

private:
    static std::pair<QString, QString> Key(const QString &path, const QString &name)
    {
        return {path.toCaseFolded(), name.toCaseFolded()};
    }
    std::shared_ptr<TValues> FValues;
};

const QString DravokKey = MainSettingsKey + QStringLiteral("\\Dravok");

} // namespace

class tst_SettingsStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void typesSurviveARestart();
    void readErrors_data();
    void readErrors();
    void boolReadsAnyNonZeroAsYes();
    void readingNeverCreatesAKey();
    void handWrittenFileIsRead();
    void unreadableFileIsKeptAsideAndGoodValuesSurvive_data();
    void unreadableFileIsKeptAsideAndGoodValuesSurvive();
    void saveLeavesNoTemporaryFiles();
    void valueWrittenAsSeenIsNoChange_data();
    void valueWrittenAsSeenIsNoChange();

private:
    std::unique_ptr<TTestEnvironment> FEnv;
};

void tst_SettingsStore::init()
{
    FEnv = std::make_unique<TTestEnvironment>();
}

void tst_SettingsStore::cleanup()
{
    FEnv.reset();
}

void tst_SettingsStore::typesSurviveARestart()
{
    const QString odd = QStringLiteral("a \"quoted\" \\ name\twith a tab, \u00e9\u221e");
    {
        TRegKey key;
        QVERIFY(key.OpenKey(MainSettingsKey + QStringLiteral("\\Dravok"), true));
        key.WriteInteger(QStringLiteral("Negative"), -5);
        key.WriteString(QStringLiteral("Name"), odd);
        key.WriteString(QStringLiteral("Empty"), QString());
        key.WriteBinaryData(QStringLiteral("Position"), QByteArray("\x01\x02\xff", 3));
    }
    TSettingsStore::ResetInstance();
    TRegKey key;
    QVERIFY(key.OpenKey(MainSettingsKey, false));  // parents were created
    QVERIFY(key.OpenKey(MainSettingsKey + QStringLiteral("\\Dravok"), false));
    QCOMPARE(key.GetDataType(QStringLiteral("Negative")), TStoreType::stInteger);
    QCOMPARE(key.ReadInteger(QStringLiteral("Negative")), -5);
    QCOMPARE(key.GetDataType(QStringLiteral("Name")), TStoreType::stText);
    QCOMPARE(key.ReadString(QStringLiteral("Name")), odd);
    QCOMPARE(key.GetDataType(QStringLiteral("Empty")), TStoreType::stText);
    QCOMPARE(key.GetDataType(QStringLiteral("Position")), TStoreType::stBinary);
    QCOMPARE(key.ReadBinaryData(QStringLiteral("Position"), 20), QByteArray("\x01\x02\xff", 3));
    QVERIFY(FEnv->ReadSettingsFile().contains("\"Negative\"=dword:fffffffb"));
}

void tst_SettingsStore::readErrors_data()
{
    QTest::addColumn<QByteArray>("value");  // the stored line after "Value"=
    QTest::addColumn<QString>("read");     // integer, string, binary
    QTest::addColumn<QString>("message");

    QTest::newRow("integer missing") << QByteArray() << "integer" << "Failed to get data for 'Value'";
    QTest::newRow("integer stored as text") << QByteArray("\"1\"") << "integer" << "Invalid data type for 'Value'";
    QTest::newRow("integer stored as binary") << QByteArray("hex:01,00,00,00") << "integer"
                                              << "Invalid data type for 'Value'";
    QTest::newRow("text stored as integer") << QByteArray("dword:00000001") << "string"
                                            << "Invalid data type for 'Value'";
    QTest::newRow("binary longer than the record") << QByteArray("hex:01,02,03,04,05") << "binary"
                                                   << "Invalid data type for 'Value'";
    QTest::newRow("binary stored as integer") << QByteArray("dword:00000001") << "binary"
                                              << "Invalid data type for 'Value'";
    QTest::newRow("binary missing") << QByteArray() << "binary" << "Failed to get data for 'Value'";
}

void tst_SettingsStore::readErrors()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, read);
    QFETCH(QString, message);

    QByteArray file = "Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Vorl Group\\Tarvelo Calculator\\2.20]\r\n";
    if (!value.isEmpty())
        file += "\"Value\"=" + value + "\r\n";
    FEnv->WriteSettingsFile(file);

    TRegKey key;
    QVERIFY(key.OpenKey(MainSettingsKey, false));
    try {
        if (read == QLatin1String("integer"))
            key.ReadInteger(QStringLiteral("Value"));
        else if (read == QLatin1String("string"))
            key.ReadString(QStringLiteral("Value"));
        else
            key.ReadBinaryData(QStringLiteral("Value"), 4);
        QFAIL("no error raised");
    } catch (const TVorlError &error) {
        QCOMPARE(error.Message(), message);
    }
}

void tst_SettingsStore::boolReadsAnyNonZeroAsYes()
{
    FEnv->WriteSettingsFile("Windows Registry Editor Version 5.00\r\n\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Vorl Group\\Tarvelo Calculator\\2.20]\r\n"
                            "\"Seven\"=dword:00000007\r\n\"Zero\"=dword:00000000\r\n");
    TRegKey key;
    QVERIFY(key.OpenKey(MainSettingsKey, false));
    QCOMPARE(key.ReadBool(QStringLiteral("Seven")), true);
    QCOMPARE(key.ReadBool(QStringLiteral("Zero")), false);
    key.WriteBool(QStringLiteral("Yes"), true);
    QCOMPARE(key.ReadInteger(QStringLiteral("Yes")), 1);
    // A missing text value reads as empty text, not as an error.
    QCOMPARE(key.ReadString(QStringLiteral("Nothing")), QString());
}

void tst_SettingsStore::readingNeverCreatesAKey()
{
    {
        TRegKey key;
        QVERIFY(!key.OpenKey(MainSettingsKey, false));
    }
    QVERIFY(!QFile::exists(FEnv->SettingsFileName()));
    QVERIFY(!TSettingsStore::Instance().KeyExists(MainSettingsKey));
}

void tst_SettingsStore::handWrittenFileIsRead()
{
    // Lower-case key names, a comment, LF line ends, a continued hex line,
    // an explicitly typed string and integer, as other tools may write them.
    FEnv->WriteSettingsFile("\xef\xbb\xbfWindows Registry Editor Version 5.00\n"
                            "; written by hand\n"
                            "[HKEY_CURRENT_USER\\software\\vorl group\\tarvelo calculator\\2.20]\n"
                            "\"Position\"=hex:01,02,\\\n  03,04\n"
                            "\"Typed\"=hex(1):41,00,42,00,00,00\n"
                            "\"Number\"=hex(4):2a,00,00,00\n");
    TRegKey key;
    QVERIFY(key.OpenKey(MainSettingsKey, false));
    QCOMPARE(key.ReadBinaryData(QStringLiteral("position"), 20), QByteArray("\x01\x02\x03\x04", 4));
    QCOMPARE(key.ReadString(QStringLiteral("Typed")), QStringLiteral("AB"));
    QCOMPARE(key.ReadInteger(QStringLiteral("Number")), 42);
    QVERIFY(TSettingsStore::Instance().TakeLoadProblem().isEmpty());
}

void tst_SettingsStore::unreadableFileIsKeptAsideAndGoodValuesSurvive_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("calculatorKept");

    QTest::newRow("garbage") << QByteArrayLiteral("\x00\x01garbage\xff\xfe not a settings file") << false;
    QTest::newRow("bad line among good ones")
        << QByteArray("Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Vorl Group\\Tarvelo Calculator\\2.20]\r\n"
                      "\"Calculator\"=dword:00000002\r\n"
                      "\"Broken\"=dword:zz\r\n"
                      "\"Position\"=hex:1\r\n")
        << true;
    QTest::newRow("truncated in a string")
        << QByteArray("Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Vorl Group\\Tarvelo Calculator\\2.20]\r\n"
                      "\"Calculator\"=dword:00000002\r\n"
                      "\"Name\"=\"abc")
        << true;
}

void tst_SettingsStore::unreadableFileIsKeptAsideAndGoodValuesSurvive()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, calculatorKept);

    FEnv->WriteSettingsFile(text);
    TSettingsStore &store = TSettingsStore::Instance();
    const QString problem = store.TakeLoadProblem();
    QVERIFY(!problem.isEmpty());
    QVERIFY(store.TakeLoadProblem().isEmpty());  // told once

    const QDir dir = QFileInfo(FEnv->SettingsFileName()).dir();
    const QStringList aside = dir.entryList({QStringLiteral("settings.reg.unreadable-*")});
    QCOMPARE(aside.size(), 1);
    QFile kept(dir.filePath(aside.first()));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), text);

    TRegKey key;
    QCOMPARE(key.OpenKey(MainSettingsKey, false), calculatorKept);
    if (calculatorKept)
        QCOMPARE(key.ReadInteger(QStringLiteral("Calculator")), 2);

    // Saving over the file kept aside keeps it once, not again.
    QVERIFY(key.OpenKey(MainSettingsKey, true));
    key.WriteInteger(QStringLiteral("Position"), 5);
    key.CloseKey();
    QCOMPARE(dir.entryList({QStringLiteral("settings.reg.unreadable-*")}), aside);
    QVERIFY(store.TakeLoadProblem().isEmpty());
    TSettingsStore saved(FEnv->SettingsFileName());
    QVERIFY(saved.TakeLoadProblem().isEmpty());
    QCOMPARE(saved.ReadValue(MainSettingsKey, QStringLiteral("Position")), TStoreValue::FromInteger(5));
    QCOMPARE(saved.ReadValue(MainSettingsKey, QStringLiteral("Calculator")).has_value(), calculatorKept);
}

void tst_SettingsStore::saveLeavesNoTemporaryFiles()
{
    for (int i = 0; i < 3; ++i) {
        TRegKey key;
        QVERIFY(key.OpenKey(MainSettingsKey, true));
        key.WriteInteger(QStringLiteral("Calculator"), i);
    }
    const QDir dir = QFileInfo(FEnv->SettingsFileName()).dir();
    QCOMPARE(dir.entryList(QDir::Files), QStringList{QStringLiteral("settings.reg")});
    TSettingsStore::ResetInstance();
    TRegKey key;
    QVERIFY(key.OpenKey(MainSettingsKey, false));
    QCOMPARE(key.ReadInteger(QStringLiteral("Calculator")), 2);
}

void tst_SettingsStore::valueWrittenAsSeenIsNoChange_data()
{
    QTest::addColumn<bool>("registry");
    QTest::addColumn<QString>("name");       // stored as integer 8 at start, except "Absent"
    QTest::addColumn<QString>("start");      // "read": this instance reads the value first; "shown N": it
                                             // shows N after loading; "": neither
    QTest::addColumn<QString>("meanwhile");  // "other": another instance stores 30; "delete": the store is emptied
    QTest::addColumn<TStoreValue>("written");
    QTest::addColumn<std::optional<TStoreValue>>("stored");  // after this instance's save

    const TStoreValue eight = TStoreValue::FromInteger(8);
    const TStoreValue thirty = TStoreValue::FromInteger(30);
    for (const bool registry : {false, true}) {
        const auto row = [registry](const char *name) -> QTestData & {
            return QTest::addRow("%s: %s", registry ? "registry" : "file", name) << registry;
        };
        // Written as it was read: the other instance's change stays.
        row("as read, changed by another") << u"SubnetBits"_s << u"read"_s << u"other"_s << eight << std::optional(thirty);
        row("as read, changed by none") << u"SubnetBits"_s << u"read"_s << QString() << eight << std::optional(eight);
        row("changed, changed by another") << u"SubnetBits"_s << u"read"_s << u"other"_s << TStoreValue::FromInteger(22)
                                            << std::optional(TStoreValue::FromInteger(22));
        // Another type is another value.
        row("as text, changed by another") << u"SubnetBits"_s << u"read"_s << u"other"_s
                                            << TStoreValue::FromText(u"8"_s)
                                            << std::optional(TStoreValue::FromText(u"8"_s));
        // A value never seen, or seen missing, is always written.
        row("never read, changed by another") << u"SubnetBits"_s << QString() << u"other"_s << eight
                                               << std::optional(eight);
        row("read missing, stored by another") << u"Absent"_s << u"read"_s << u"other"_s << eight << std::optional(eight);
        // What a first run shows for a missing value is its starting point.
        row("shown missing, stored by another") << u"Absent"_s << u"shown 8"_s << u"other"_s << eight
                                                << std::optional(thirty);
        row("shown as stored, changed by another") << u"SubnetBits"_s << u"shown 8"_s << u"other"_s << eight
                                                   << std::optional(thirty);
        // Shown otherwise than stored (clamped, say): its own value replaces it.
        row("shown otherwise, read first") << u"SubnetBits"_s << u"read shown 9"_s << QString()
                                           << TStoreValue::FromInteger(9) << std::optional(TStoreValue::FromInteger(9));
        // Gone meanwhile: what this instance had comes back.
        row("as read, deleted meanwhile") << u"SubnetBits"_s << u"read"_s << u"delete"_s << eight << std::optional(eight);
    }
}

void tst_SettingsStore::valueWrittenAsSeenIsNoChange()
{
    QFETCH(bool, registry);
    QFETCH(QString, name);
    QFETCH(QString, start);
    QFETCH(QString, meanwhile);
    QFETCH(TStoreValue, written);
    QFETCH(std::optional<TStoreValue>, stored);

    const QString file = FEnv->SettingsFileName();
    const auto values = std::make_shared<TSharedRegistry::TValues>();
    // One more instance starting on the store.
    const std::function<std::unique_ptr<TStoreBackend>()> instance = [&]() -> std::unique_ptr<TStoreBackend> {
        if (registry)
            return std::make_unique<TSharedRegistry>(values);
        return std::make_unique<TSettingsStore>(file);
    };
    {
        const auto first = instance();
        QVERIFY(first->WriteValue(DravokKey, u"SubnetBits"_s, TStoreValue::FromInteger(8)));
        QVERIFY(first->Save());
    }

    const auto mine = instance();
    const auto other = instance();
    if (start.startsWith(u"read"))
        mine->ReadValue(DravokKey, name);
    if (start.contains(u"shown")) {
        const QByteArray file = FEnv->ReadSettingsFile();
        const std::size_t registryValues = values->size();
        mine->SetNotingShown(true);
        QVERIFY(mine->WriteValue(DravokKey, name, TStoreValue::FromInteger(start.section(u' ', -1).toInt())));
        mine->SetNotingShown(false);
        QVERIFY(mine->Save());
        // Noting stores nothing.
        QCOMPARE(FEnv->ReadSettingsFile(), file);
        QCOMPARE(values->size(), registryValues);
    }
    if (meanwhile == u"other") {
        QVERIFY(other->WriteValue(DravokKey, name, TStoreValue::FromInteger(30)));
        QVERIFY(other->Save());
    } else if (meanwhile == u"delete") {
        values->clear();
        QVERIFY(!QFile::exists(file) || QFile::remove(file));
    }
    QVERIFY(mine->WriteValue(DravokKey, name, written));
    QVERIFY(mine->Save());

    QCOMPARE(instance()->ReadValue(DravokKey, name), stored);
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
