// Saves the user's settings store over and over, alternating between two
// complete value sets, until it is killed (or after ten seconds, so that an
// orphan never runs on). tst_settingscrash kills it at random moments and
// checks that the file always holds one complete set.
//
// It first reads whatever the file holds and prints what that was ("old",
// "new", "none" or "other", then " unreadable" when the store reported a
// problem), writes the other set first so every save changes the file,
// prints "saving" once the loop starts and "saved <microseconds since then>"
// after each set.
//
// The sets are also compiled into the test (TARVELO_SETTINGS_WRITER_NO_MAIN).
//
// With the argument "instance" it is instead one running instance of the
// program's settings, driven by tst_settingsinstances over stdin: it loads
// the user's store, prints "ready", then answers each command line with one
// line ("ok", a value, or "error <message>"):
//   write <key> <name> int|text|binary <data>  the key stays open until "save"
//   shown <key> <name> int|text|binary <data>  notes the value as shown after loading
//   save                                 closes the open keys (the store saves)
//   chain <count> <name>                 saves a latency chain of <count>
//                                        networks named "<name> 1" ...
//   burst <prefix> <count>               <count> saves, one new integer each
//                                        ("<prefix>1" = 1 ...) in key "Burst"
//   read <key> <name>                    "int 7", "text abc", "binary 0a0b",
//                                        "other" or "missing"
//   reload | problem (the load problem, or "none") | quit
// <key> is below the root key; "." is the root key itself.

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QStringList>

#include "app/SettingsStore.h"
#include "app/VorlGlobal.h"
#include "latency/LatencySettings.h"

namespace SettingsCrash {

inline const QString DravokKey = MainSettingsKey + QStringLiteral("\\Dravok");
inline const QString LatencyKey = MainSettingsKey + QStringLiteral("\\LatencyCalc");

struct TRow
{
    QString Key;
    QString Name;
    TStoreValue Value;
};

QByteArray Placement(qint32 left, qint32 top, qint32 right, qint32 bottom, quint8 state)
{
    TPlacementRecord record;
    record.Left = left;
    record.Top = top;
    record.Right = right;
    record.Bottom = bottom;
    record.WindowState = state;
    return record.Encode();
}

// Bytes 0 ... n-1 of a pattern that differs between the sets.
QByteArray Pattern(int n, int seed)
{
    QByteArray bytes(n, '\0');
    for (int i = 0; i < n; ++i)
        bytes[i] = char((i * 7 + seed) & 0xff);
    return bytes;
}

// The same names in both sets, every value different; "Mixed" even changes
// its type. The large binaries make each save long enough for kills to land
// in the middle of writing.
std::vector<TRow> SettingsSet(bool newSet)
{
    const auto integer = TStoreValue::FromInteger;
    const auto text = TStoreValue::FromText;
    const auto binary = TStoreValue::FromBinary;
    const QString &m = MainSettingsKey;
    const QString &d = DravokKey;
    const QString &l = LatencyKey;
    if (!newSet) {
        return {
            {m, QStringLiteral("Position"), binary(Placement(100, 50, 900, 650, 0))},
            {m, QStringLiteral("Calculator"), integer(0)},
            {m, QStringLiteral("Negative"), integer(-1)},
            {m, QStringLiteral("SubnetAddress"), text(QStringLiteral("128.0.0.1"))},
            {m, QStringLiteral("Unicode"), text(QStringLiteral("Gr\u00fc\u00dfe \u221e"))},
            {m, QStringLiteral("Mixed"), integer(7)},
            {d, QStringLiteral("SubnetBits"), integer(8)},
            {d, QStringLiteral("RFC1878"), integer(0)},
            {d, QStringLiteral("Note"), text(QStringLiteral("tab\there"))},
            {d, QStringLiteral("Mask"), binary(QByteArray::fromHex("ffff0000"))},
            {l, QStringLiteral("NodeA"), binary(Pattern(8, 1))},
            {l, QStringLiteral("Network1"), binary(Pattern(24, 2))},
            {l, QStringLiteral("Network1Name"), text(QStringLiteral("Office LAN"))},
            {l, QStringLiteral("NumNetworks"), integer(1)},
            {l, QStringLiteral("Bulk"), binary(Pattern(3000, 3))},
        };
    }
    return {
        {m, QStringLiteral("Position"), binary(Placement(-8, -8, 1928, 1048, 2))},
        {m, QStringLiteral("Calculator"), integer(2)},
        {m, QStringLiteral("Negative"), integer(std::numeric_limits<qint32>::min())},
        {m, QStringLiteral("SubnetAddress"), text(QStringLiteral("10.20.30.40"))},
        {m, QStringLiteral("Unicode"), text(QStringLiteral("\u65e5\u672c \"quoted\" back\\slash"))},
        {m, QStringLiteral("Mixed"), text(QStringLiteral("seven"))},
        {d, QStringLiteral("SubnetBits"), integer(22)},
        {d, QStringLiteral("RFC1878"), integer(1)},
        {d, QStringLiteral("Note"), text(QStringLiteral("line 1\r\nline 2"))},
        {d, QStringLiteral("Mask"), binary(QByteArray::fromHex("ffffff00"))},
        {l, QStringLiteral("NodeA"), binary(Pattern(8, 11))},
        {l, QStringLiteral("Network1"), binary(Pattern(24, 12))},
        {l, QStringLiteral("Network1Name"), text(QStringLiteral("T1 link"))},
        {l, QStringLiteral("NumNetworks"), integer(14)},
        {l, QStringLiteral("Bulk"), binary(Pattern(4000, 13))},
    };
}

void WriteRow(TRegKey &key, const TRow &row)
{
    switch (row.Value.Type) {
    case TStoreType::stInteger: key.WriteInteger(row.Name, row.Value.Integer); break;
    case TStoreType::stText: key.WriteString(row.Name, row.Value.Text); break;
    default: key.WriteBinaryData(row.Name, row.Value.Bytes); break;
    }
}

// All three keys stay open until every value is written, so each save (one
// per key closed) holds the complete set.
void WriteSet(TSettingsStore &store, bool newSet)
{
    TRegKey main(store), dravok(store), latency(store);
    main.OpenKey(MainSettingsKey, true);
    dravok.OpenKey(DravokKey, true);
    latency.OpenKey(LatencyKey, true);
    for (const TRow &row : SettingsSet(newSet))
        WriteRow(row.Key == DravokKey ? dravok : row.Key == LatencyKey ? latency : main, row);
    latency.CloseKey();
    dravok.CloseKey();
    main.CloseKey();
}

// Whether `store` holds exactly this set: every value, nothing more.
bool HoldsSet(const TSettingsStore &store, bool newSet)
{
    const std::vector<TRow> rows = SettingsSet(newSet);
    int counts[3] = {0, 0, 0};
    for (const TRow &row : rows) {
        const std::optional<TStoreValue> v = store.ReadValue(row.Key, row.Name);
        if (!v || !(*v == row.Value))
            return false;
        ++counts[row.Key == DravokKey ? 1 : row.Key == LatencyKey ? 2 : 0];
    }
    return store.ValueNames(MainSettingsKey).size() == counts[0]
           && store.ValueNames(DravokKey).size() == counts[1]
           && store.ValueNames(LatencyKey).size() == counts[2];
}

} // namespace SettingsCrash

#ifndef TARVELO_SETTINGS_WRITER_NO_MAIN
namespace {

QString KeyPath(const QString &key)
{
    return key == QLatin1String(".") ? MainSettingsKey : MainSettingsKey + u'\\' + key;
}

void WriteValue(TRegKey &key, const QString &name, const QString &type, const QString &data)
{
    if (type == QLatin1String("int"))
        key.WriteInteger(name, data.toInt());
    else if (type == QLatin1String("text"))
        key.WriteString(name, data);
    else
        key.WriteBinaryData(name, QByteArray::fromHex(data.toLatin1()));
}

QString ReadValue(const QString &key, const QString &name)
{
    const std::optional<TStoreValue> v = TStoreBackend::User().ReadValue(KeyPath(key), name);
    if (!v)
        return QStringLiteral("missing");
    switch (v->Type) {
    case TStoreType::stInteger: return QStringLiteral("int %1").arg(v->Integer);
    case TStoreType::stText: return QStringLiteral("text ") + v->Text;
    case TStoreType::stBinary: return QStringLiteral("binary ") + QString::fromLatin1(v->Bytes.toHex());
    default: return QStringLiteral("other");
    }
}

void WriteChain(int count, const QString &name)
{
    TLatencySettings settings;
    settings.Networks.clear();
    for (int i = 1; i <= count; ++i)
        settings.Networks.push_back({TNetworkRecord{10, 75, 0, 0, 8 + 64 * i}, TNetworkButtonKind::nbEthernet,
                                     QStringLiteral("%1 %2").arg(name).arg(i)});
    WriteLatencySettings(settings);
}

void Burst(const QString &prefix, int count)
{
    for (int i = 1; i <= count; ++i) {
        TRegKey key;
        key.OpenKey(KeyPath(QStringLiteral("Burst")), true);
        key.WriteInteger(prefix + QString::number(i), i);
        key.CloseKey();
    }
}

int RunInstance()
{
    std::vector<std::unique_ptr<TRegKey>> open;
    TStoreBackend &store = TStoreBackend::User();
    std::printf("ready\n");
    std::fflush(stdout);
    for (std::string line; std::getline(std::cin, line);) {
        const QStringList words = QString::fromStdString(line).split(u' ');
        const QString command = words.value(0);
        QString answer = QStringLiteral("ok");
        try {
            if (command == QLatin1String("write")) {
                open.push_back(std::make_unique<TRegKey>());
                open.back()->OpenKey(KeyPath(words.value(1)), true);
                WriteValue(*open.back(), words.value(2), words.value(3), words.mid(4).join(u' '));
            } else if (command == QLatin1String("shown")) {
                store.SetNotingShown(true);
                TRegKey key;
                key.OpenKey(KeyPath(words.value(1)), true);
                WriteValue(key, words.value(2), words.value(3), words.mid(4).join(u' '));
                key.CloseKey();
                store.SetNotingShown(false);
            } else if (command == QLatin1String("save")) {
                for (const auto &key : open)
                    key->CloseKey();
                open.clear();
            } else if (command == QLatin1String("chain")) {
                WriteChain(words.value(1).toInt(), words.value(2));
            } else if (command == QLatin1String("burst")) {
                Burst(words.value(1), words.value(2).toInt());
            } else if (command == QLatin1String("read")) {
                answer = ReadValue(words.value(1), words.value(2));
            } else if (command == QLatin1String("reload")) {
                TSettingsStore::Instance().Reload();
            } else if (command == QLatin1String("problem")) {
                answer = store.TakeLoadProblem();
                if (answer.isEmpty())
                    answer = QStringLiteral("none");
            } else if (command == QLatin1String("quit")) {
                break;
            } else {
                answer = QStringLiteral("error unknown command");
            }
        } catch (const TVorlError &error) {
            open.clear();
            answer = QStringLiteral("error ") + error.Message();
        }
        std::printf("%s\n", qPrintable(answer.replace(u'\n', u' ')));
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    using namespace SettingsCrash;
    if (argc > 1 && argv[1] == std::string("instance"))
        return RunInstance();
    TSettingsStore &store = TSettingsStore::Instance();
    const bool unreadable = !store.TakeLoadProblem().isEmpty();
    const bool holdsOld = HoldsSet(store, false);
    const bool holdsNew = HoldsSet(store, true);
    const char *found = holdsOld ? "old" : holdsNew ? "new" : store.KeyExists(MainSettingsKey) ? "other" : "none";
    std::printf("%s%s\nsaving\n", found, unreadable ? " unreadable" : "");
    std::fflush(stdout);

    QElapsedTimer timer;
    timer.start();
    bool next = !holdsNew;
    while (timer.elapsed() < 10000) {
        WriteSet(store, next);
        next = !next;
        std::printf("saved %lld\n", timer.nsecsElapsed() / 1000);
        std::fflush(stdout);
    }
    return 0;
}
#endif
