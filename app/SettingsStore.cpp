#include "app/SettingsStore.h"

#include <algorithm>
#include <memory>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <QtEndian>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include "app/VorlGlobal.h"

namespace {

const QByteArray HeaderLine = "Windows Registry Editor Version 5.00";
const QByteArray OldHeaderLine = "REGEDIT4";
const QString RootName = QStringLiteral("HKEY_CURRENT_USER");

// A save waits this long for another instance's save to finish. A lock
// left by a process that died is taken over at once; one whose owner cannot
// be told (a lock file from another host, or one cut short) counts as
// abandoned after StaleLockMs.
constexpr int LockWaitMs = 10000;
constexpr int StaleLockMs = 5000;

std::unique_ptr<TSettingsStore> &UserFileStore()
{
    static std::unique_ptr<TSettingsStore> store;
    return store;
}

TStoreBackend *&UserOverride()
{
    static TStoreBackend *store = nullptr;
    return store;
}

// Key paths and value names ignore case; empty parts of a path do not count.
QString NormalizedPath(const QString &path)
{
    QStringList parts;
    for (const QString &p : path.split(u'\\', Qt::SkipEmptyParts))
        parts << p.toCaseFolded();
    return parts.join(u'\\');
}

QByteArray Fingerprint(const QByteArray &text)
{
    return QCryptographicHash::hash(text, QCryptographicHash::Sha256);
}

QString Escaped(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    return out;
}

bool HasControlChars(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    return false;
}

QByteArray HexList(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() * 3);
    for (int i = 0; i < bytes.size(); ++i) {
        if (i)
            out += ',';
        out += QByteArray::number(static_cast<uchar>(bytes[i]), 16).rightJustified(2, '0');
    }
    return out;
}

std::optional<QByteArray> ParseHexList(const QByteArray &text)
{
    QByteArray out;
    const QByteArray trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return out;
    for (const QByteArray &part : trimmed.split(',')) {
        const QByteArray t = part.trimmed();
        bool ok = false;
        const uint v = t.toUInt(&ok, 16);
        if (!ok || t.size() > 2 || v > 0xff)
            return std::nullopt;
        out += static_cast<char>(v);
    }
    return out;
}

// Reads a quoted string starting at text[pos] == '"'; pos ends after the
// closing quote.
std::optional<QString> ParseQuoted(const QString &text, int &pos)
{
    if (pos >= text.size() || text[pos] != u'"')
        return std::nullopt;
    QString out;
    for (++pos; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c == u'\\') {
            if (++pos >= text.size())
                return std::nullopt;
            out += text[pos];
        } else if (c == u'"') {
            ++pos;
            return out;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

QString TextFromUtf16(const QByteArray &bytes)
{
    QString out;
    for (int i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t c = qFromLittleEndian<quint16>(bytes.constData() + i);
        if (c == 0)
            break;
        out += QChar(c);
    }
    return out;
}

QByteArray Utf16WithZero(const QString &text)
{
    QByteArray out;
    out.reserve((text.size() + 1) * 2);
    for (const QChar c : text) {
        out += static_cast<char>(c.unicode() & 0xff);
        out += static_cast<char>(c.unicode() >> 8);
    }
    out += QByteArray(2, '\0');
    return out;
}

std::optional<TStoreValue> ParseData(const QString &data)
{
    TStoreValue v;
    if (data.startsWith(u'"')) {
        int pos = 0;
        auto text = ParseQuoted(data, pos);
        if (!text || pos != data.size())
            return std::nullopt;
        return TStoreValue::FromText(*text);
    }
    if (data.startsWith(QLatin1String("dword:"))) {
        const QString digits = data.mid(6);
        bool ok = false;
        const uint u = digits.toUInt(&ok, 16);
        if (!ok || digits.size() != 8)
            return std::nullopt;
        return TStoreValue::FromInteger(static_cast<qint32>(u));
    }
    if (data.startsWith(QLatin1String("hex:"))) {
        auto bytes = ParseHexList(data.mid(4).toLatin1());
        if (!bytes)
            return std::nullopt;
        return TStoreValue::FromBinary(*bytes);
    }
    if (data.startsWith(QLatin1String("hex("))) {
        const int close = data.indexOf(QLatin1String("):"));
        if (close < 0)
            return std::nullopt;
        bool ok = false;
        const int type = data.mid(4, close - 4).toInt(&ok, 16);
        auto bytes = ParseHexList(data.mid(close + 2).toLatin1());
        if (!ok || !bytes || type < 0)
            return std::nullopt;
        if (type == 0) {
            v.Type = TStoreType::stUntyped;
            v.Bytes = *bytes;
        } else if (type == 1) {
            return TStoreValue::FromText(TextFromUtf16(*bytes));
        } else if (type == 3) {
            return TStoreValue::FromBinary(*bytes);
        } else if (type == 4 && bytes->size() == 4) {
            return TStoreValue::FromInteger(qFromLittleEndian<qint32>(bytes->constData()));
        } else {
            v.Type = TStoreType::stOther;
            v.OtherType = type;
            v.Bytes = *bytes;
        }
        return v;
    }
    return std::nullopt;
}

QByteArray SerializeData(const TStoreValue &v)
{
    switch (v.Type) {
    case TStoreType::stInteger:
        return "dword:" + QByteArray::number(static_cast<quint32>(v.Integer), 16).rightJustified(8, '0');
    case TStoreType::stText:
        // Text that UTF-8 cannot carry (a lone surrogate, read from hex(1)
        // data) keeps its exact code units the same way as control characters.
        if (HasControlChars(v.Text) || !v.Text.isValidUtf16())
            return "hex(1):" + HexList(Utf16WithZero(v.Text));
        return '"' + Escaped(v.Text).toUtf8() + '"';
    case TStoreType::stBinary:
        return "hex:" + HexList(v.Bytes);
    case TStoreType::stUntyped:
        return "hex(0):" + HexList(v.Bytes);
    case TStoreType::stOther:
        return "hex(" + QByteArray::number(v.OtherType, 16) + "):" + HexList(v.Bytes);
    }
    return {};
}

} // namespace

#ifdef Q_OS_WIN
namespace {

// The user's store on Windows: the registry below HKEY_CURRENT_USER, which
// takes every value as it is written.
std::wstring Wide(const QString &text)
{
    return text.toStdWString();
}

class TRegistryStore final : public TStoreBackend
{
public:
    TRegistryStore() = default;

    bool KeyExists(const QString &path) const override
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    bool CreateKey(const QString &path) override
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr)
            != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    std::optional<TStoreValue> ReadStoredValue(const QString &path, const QString &name) const override
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return std::nullopt;
        DWORD type = 0;
        DWORD size = 0;
        const std::wstring wname = Wide(name);
        std::optional<TStoreValue> result;
        if (RegQueryValueExW(key, wname.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            QByteArray bytes(static_cast<int>(size), '\0');
            if (RegQueryValueExW(key, wname.c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(bytes.data()), &size)
                == ERROR_SUCCESS) {
                bytes.truncate(static_cast<int>(size));
                TStoreValue v;
                if (type == REG_DWORD && bytes.size() == 4) {
                    v = TStoreValue::FromInteger(qFromLittleEndian<qint32>(bytes.constData()));
                } else if (type == REG_SZ) {
                    v = TStoreValue::FromText(TextFromUtf16(bytes + QByteArray(2, '\0')));
                } else if (type == REG_BINARY) {
                    v = TStoreValue::FromBinary(bytes);
                } else if (type == REG_NONE) {
                    v.Type = TStoreType::stUntyped;
                    v.Bytes = bytes;
                } else {
                    v.Type = TStoreType::stOther;
                    v.OtherType = static_cast<int>(type);
                    v.Bytes = bytes;
                }
                result = v;
            }
        }
        RegCloseKey(key);
        return result;
    }

    bool WriteStoredValue(const QString &path, const QString &name, const TStoreValue &value) override
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr)
            != ERROR_SUCCESS)
            return false;
        QByteArray bytes;
        DWORD type = REG_BINARY;
        switch (value.Type) {
        case TStoreType::stInteger:
            type = REG_DWORD;
            bytes.resize(4);
            qToLittleEndian<qint32>(value.Integer, bytes.data());
            break;
        case TStoreType::stText:
            type = REG_SZ;
            bytes = Utf16WithZero(value.Text);
            break;
        case TStoreType::stBinary:
            bytes = value.Bytes;
            break;
        case TStoreType::stUntyped:
            type = REG_NONE;
            bytes = value.Bytes;
            break;
        case TStoreType::stOther:
            type = static_cast<DWORD>(value.OtherType);
            bytes = value.Bytes;
            break;
        }
        const bool ok = RegSetValueExW(key, Wide(name).c_str(), 0, type,
                                       reinterpret_cast<const BYTE *>(bytes.constData()),
                                       static_cast<DWORD>(bytes.size()))
                        == ERROR_SUCCESS;
        RegCloseKey(key);
        return ok;
    }

    QStringList ValueNames(const QString &path) const override
    {
        QStringList names;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return names;
        DWORD count = 0;
        DWORD longest = 0;  // characters, without the terminating zero
        if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest, nullptr,
                             nullptr, nullptr)
            == ERROR_SUCCESS) {
            std::wstring name(static_cast<std::size_t>(longest) + 1, L'\0');
            for (DWORD i = 0; i < count; ++i) {
                DWORD length = static_cast<DWORD>(name.size());
                if (RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
                    names << QString::fromWCharArray(name.data(), static_cast<qsizetype>(length));
            }
        }
        RegCloseKey(key);
        return names;
    }

    // Each value was stored when it was written.
    bool Save() override { return true; }
};

} // namespace
#endif

TStoreBackend &TStoreBackend::User()
{
    if (TStoreBackend *store = UserOverride())
        return *store;
#ifdef Q_OS_WIN
    static TRegistryStore registry;
    return registry;
#else
    return TSettingsStore::Instance();
#endif
}

void TStoreBackend::OverrideUser(TStoreBackend *store)
{
    UserOverride() = store;
}

std::optional<TStoreValue> TStoreBackend::ReadValue(const QString &path, const QString &name) const
{
    std::optional<TStoreValue> value = ReadStoredValue(path, name);
    FSeen[{NormalizedPath(path), name.toCaseFolded()}] = value;
    return value;
}

bool TStoreBackend::WriteValue(const QString &path, const QString &name, const TStoreValue &value)
{
    const std::pair<QString, QString> key{NormalizedPath(path), name.toCaseFolded()};
    if (FNotingShown) {
        const std::optional<TStoreValue> stored = ReadStoredValue(path, name);
        if (!stored || *stored == value)
            FSeen[key] = value;
        else
            FSeen.erase(key);
        return true;
    }
    std::optional<TStoreValue> &seen = FSeen[key];
    if (seen == value)
        return KeepStoredValue(path, name, value);
    if (!WriteStoredValue(path, name, value))
        return false;
    seen = value;
    return true;
}

bool TStoreBackend::KeepStoredValue(const QString &path, const QString &name, const TStoreValue &value)
{
    return ReadStoredValue(path, name) || WriteStoredValue(path, name, value);
}

TStoreValue TStoreValue::FromInteger(qint32 value)
{
    TStoreValue v;
    v.Type = TStoreType::stInteger;
    v.Integer = value;
    return v;
}

TStoreValue TStoreValue::FromText(const QString &value)
{
    TStoreValue v;
    v.Type = TStoreType::stText;
    // Text ends at its first zero character, as a stored string does.
    const int zero = value.indexOf(QChar(0));
    v.Text = zero < 0 ? value : value.left(zero);
    return v;
}

TStoreValue TStoreValue::FromBinary(const QByteArray &value)
{
    TStoreValue v;
    v.Type = TStoreType::stBinary;
    v.Bytes = value;
    return v;
}

TSettingsStore &TSettingsStore::Instance()
{
    auto &store = UserFileStore();
    if (!store)
        store = std::make_unique<TSettingsStore>(DefaultFileName());
    return *store;
}

void TSettingsStore::ResetInstance()
{
    UserFileStore().reset();
}

QString TSettingsStore::DefaultFileName()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/tarvelo-calculator/settings.reg");
}

TSettingsStore::TSettingsStore(QString fileName)
    : FFileName(std::move(fileName))
{
    Load();
}

const TSettingsStore::TKey *TSettingsStore::FindKey(const TTree &tree, const QString &path)
{
    auto it = tree.find(NormalizedPath(path));
    return it == tree.end() ? nullptr : &it->second;
}

TSettingsStore::TKey *TSettingsStore::AddKey(TTree &tree, const QString &path)
{
    const QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
    QString sub;
    TKey *key = nullptr;
    for (const QString &p : parts) {
        sub = sub.isEmpty() ? p : sub + u'\\' + p;
        key = &tree[NormalizedPath(sub)];
        if (key->Path.isEmpty())
            key->Path = sub;
    }
    return key;
}

bool TSettingsStore::PutValue(TTree &tree, const QString &path, const QString &name, const TStoreValue &value)
{
    TKey *key = AddKey(tree, path);
    if (!key)
        return false;
    for (auto &[n, v] : key->Values)
        if (n.compare(name, Qt::CaseInsensitive) == 0) {
            v = value;
            return true;
        }
    key->Values.emplace_back(name, value);
    return true;
}

// Nothing of `onto` goes away.
void TSettingsStore::Overlay(TTree &onto, const TTree &from, bool replace)
{
    for (const auto &[norm, key] : from) {
        TKey *target = AddKey(onto, key.Path);
        for (const auto &[name, value] : key.Values) {
            const bool present = std::any_of(target->Values.begin(), target->Values.end(), [&name](const auto &v) {
                return v.first.compare(name, Qt::CaseInsensitive) == 0;
            });
            if (replace || !present)
                PutValue(onto, key.Path, name, value);
        }
    }
}

bool TSettingsStore::KeyExists(const QString &path) const
{
    return FindKey(FKeys, path) != nullptr;
}

bool TSettingsStore::CreateKey(const QString &path)
{
    return AddKey(FKeys, path) && AddKey(FWritten, path);
}

std::optional<TStoreValue> TSettingsStore::ReadStoredValue(const QString &path, const QString &name) const
{
    const TKey *key = FindKey(FKeys, path);
    if (!key)
        return std::nullopt;
    for (const auto &[n, v] : key->Values)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return v;
    return std::nullopt;
}

bool TSettingsStore::WriteStoredValue(const QString &path, const QString &name, const TStoreValue &value)
{
    return PutValue(FKeys, path, name, value) && PutValue(FWritten, path, name, value);
}

// The file as this store knows it keeps its value; the save adds this one
// only where the file lacks it then.
bool TSettingsStore::KeepStoredValue(const QString &path, const QString &name, const TStoreValue &value)
{
    if (!ReadStoredValue(path, name) && !PutValue(FKeys, path, name, value))
        return false;
    return PutValue(FKept, path, name, value);
}

QStringList TSettingsStore::ValueNames(const QString &path) const
{
    QStringList names;
    if (const TKey *key = FindKey(FKeys, path))
        for (const auto &[n, v] : key->Values)
            names << n;
    return names;
}

QByteArray TSettingsStore::Serialize() const
{
    return SerializeTree(FKeys);
}

QByteArray TSettingsStore::SerializeTree(const TTree &tree)
{
    QByteArray out = HeaderLine + "\r\n";
    for (const auto &[norm, key] : tree) {
        out += "\r\n[" + (RootName + u'\\' + key.Path).toUtf8() + "]\r\n";
        for (const auto &[name, value] : key.Values) {
            out += name.isEmpty() ? QByteArray("@") : '"' + Escaped(name).toUtf8() + '"';
            out += '=' + SerializeData(value) + "\r\n";
        }
    }
    return out;
}

bool TSettingsStore::Parse(const QByteArray &text)
{
    return ParseTree(text, FKeys);
}

bool TSettingsStore::ParseTree(const QByteArray &text, TTree &tree)
{
    tree.clear();
    QStringList lines;
    {
        // Join continuation lines (a trailing backslash after hex data).
        QString pending;
        for (QByteArray raw : text.split('\n')) {
            QString line = QString::fromUtf8(raw).trimmed();
            if (!pending.isEmpty()) {
                pending += line;
                line = pending;
                pending.clear();
            }
            if (line.endsWith(u'\\') && line.contains(QLatin1String("=hex"))) {
                pending = line.chopped(1);
                continue;
            }
            lines << line;
        }
        if (!pending.isEmpty())
            lines << pending;
    }

    bool ok = true;
    bool headerSeen = false;
    TKey *current = nullptr;
    for (const QString &line : std::as_const(lines)) {
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (!headerSeen) {
            const QByteArray l = line.toUtf8();
            // A byte-order mark may precede the header.
            if (l.endsWith(HeaderLine) || l.endsWith(OldHeaderLine)) {
                headerSeen = true;
                continue;
            }
            return false;
        }
        if (line.startsWith(u'[')) {
            current = nullptr;
            if (!line.endsWith(u']')) {
                ok = false;
                continue;
            }
            const QString full = line.mid(1, line.size() - 2);
            if (!full.startsWith(RootName + u'\\', Qt::CaseInsensitive)) {
                ok = false;
                continue;
            }
            const QString path = full.mid(RootName.size() + 1);
            if (NormalizedPath(path).isEmpty()) {
                ok = false;
                continue;
            }
            current = AddKey(tree, path);
            continue;
        }
        if (!current) {
            ok = false;
            continue;
        }
        QString name;
        int pos = 0;
        if (line.startsWith(u'@')) {
            pos = 1;
        } else {
            auto quoted = ParseQuoted(line, pos);
            if (!quoted) {
                ok = false;
                continue;
            }
            name = *quoted;
        }
        if (pos >= line.size() || line[pos] != u'=') {
            ok = false;
            continue;
        }
        auto value = ParseData(line.mid(pos + 1).trimmed());
        if (!value) {
            ok = false;
            continue;
        }
        PutValue(tree, current->Path, name, *value);
    }
    return ok && headerSeen;
}

void TSettingsStore::Load()
{
    ForgetSeenValues();
    FKeys.clear();
    FWritten.clear();
    FKept.clear();
    FKeptAside.clear();
    FLoadProblem.clear();
    FSaveBlocked = false;
    QFile file(FFileName);
    if (!file.exists())
        return;
    const bool readable = file.open(QIODevice::ReadOnly);
    const QByteArray text = readable ? file.readAll() : QByteArray();
    if (!(readable && ParseTree(text, FKeys)))
        KeepAside(text, false);
}

// Keeps the user's unreadable file before anything may overwrite it; when
// it cannot be kept, saving stops for the rest of the session.
bool TSettingsStore::KeepAside(const QByteArray &text, bool atSave)
{
    const QString stem = FFileName + QStringLiteral(".unreadable-")
                         + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    // An earlier copy of the same second is never replaced.
    QString aside = stem;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = stem + u'-' + QString::number(n);
    const bool kept = QFile::copy(FFileName, aside);
    const QString file = QDir::toNativeSeparators(FFileName);
    QString problem;
    if (kept) {
        FKeptAside = Fingerprint(text);
        problem = atSave ? QStringLiteral("The settings file \"%1\" could not be read when the settings were saved. "
                                          "It was kept as \"%2\"; the settings known to this session were saved "
                                          "in its place.")
                         : QStringLiteral("The settings file \"%1\" could not be read completely. "
                                          "It was kept as \"%2\"; the settings that could be read are used.");
        problem = problem.arg(file, QDir::toNativeSeparators(aside));
    } else {
        FSaveBlocked = true;
        problem = (atSave ? QStringLiteral("The settings file \"%1\" could not be read when the settings were saved. ")
                          : QStringLiteral("The settings file \"%1\" could not be read. "))
                      .arg(file)
                  + QStringLiteral("It is left as it is, and settings will not be saved in this session.");
    }
    FLoadProblem = FLoadProblem.isEmpty() ? problem : FLoadProblem + QStringLiteral("\n\n") + problem;
    return kept;
}

void TSettingsStore::Reload()
{
    Load();
}

QString TSettingsStore::TakeLoadProblem()
{
    return std::exchange(FLoadProblem, QString());
}

// The file as it is now (`text`), the base of a save. A file removed since
// it was read is gone with all it held: only this store's writes make the
// new one, as they would recreate deleted registry keys.
bool TSettingsStore::ReadForSave(TTree &tree, QByteArray &text)
{
    QFile file(FFileName);
    if (!file.exists()) {
        tree.clear();
        return true;
    }
    const bool readable = file.open(QIODevice::ReadOnly);
    text = readable ? file.readAll() : QByteArray();
    TTree read;
    if (readable && ParseTree(text, read)) {
        tree = std::move(read);
        return true;
    }
    // What this store knew, with whatever can still be read over it: no
    // value is lost that either still holds.
    tree = FKeys;
    Overlay(tree, read);
    if (readable && Fingerprint(text) == FKeptAside)
        return true;  // the unreadable file kept aside at start, unchanged
    return KeepAside(text, true);
}

bool TSettingsStore::Save()
{
    if (FSaveBlocked)
        return false;
    if (FWritten.empty() && FKept.empty())
        return true;
    QDir().mkpath(QFileInfo(FFileName).absolutePath());
    // Read, merge and replace as one step among the instances.
    QLockFile lock(FFileName + QStringLiteral(".lock"));
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockWaitMs))
        return false;
    TTree merged;
    QByteArray onDisk;
    if (!ReadForSave(merged, onDisk))
        return false;
    Overlay(merged, FKept, false);
    Overlay(merged, FWritten);
    const QByteArray text = SerializeTree(merged);
    if (text != onDisk) {
        QSaveFile file(FFileName);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
            return false;
    }
    FKeys = std::move(merged);
    FWritten.clear();
    FKept.clear();
    return true;
}

TRegKey::TRegKey(TStoreBackend &store)
    : FStore(store)
{
}

TRegKey::~TRegKey()
{
    // A destructor must not throw; a failed save at this point is silent.
    try {
        CloseKey();
    } catch (const TVorlError &) {
    }
}

bool TRegKey::OpenKey(const QString &path, bool canCreate)
{
    CloseKey();
    if (!FStore.KeyExists(path)) {
        if (!canCreate)
            return false;
        if (!FStore.NotingShown()) {
            if (!FStore.CreateKey(path))
                return false;
            FDirty = true;
        }
    }
    FPath = path;
    FOpen = true;
    return true;
}

void TRegKey::CloseKey()
{
    if (!FOpen)
        return;
    FOpen = false;
    const QString written = std::exchange(FLastWritten, QString());
    if (std::exchange(FDirty, false) && !FStore.Save())
        RaiseError(QStringLiteral("Failed to set data for '%1'").arg(written));
}

std::optional<TStoreValue> TRegKey::Lookup(const QString &name) const
{
    if (!FOpen)
        return std::nullopt;
    return FStore.ReadValue(FPath, name);
}

bool TRegKey::ValueExists(const QString &name) const
{
    return Lookup(name).has_value();
}

std::optional<TStoreType> TRegKey::GetDataType(const QString &name) const
{
    const auto v = Lookup(name);
    if (!v)
        return std::nullopt;
    return v->Type;
}

TStoreValue TRegKey::Require(const QString &name) const
{
    auto v = Lookup(name);
    if (!v)
        RaiseError(QStringLiteral("Failed to get data for '%1'").arg(name));
    return *v;
}

qint32 TRegKey::ReadInteger(const QString &name) const
{
    const TStoreValue v = Require(name);
    if (v.Type != TStoreType::stInteger)
        RaiseError(QStringLiteral("Invalid data type for '%1'").arg(name));
    return v.Integer;
}

bool TRegKey::ReadBool(const QString &name) const
{
    return ReadInteger(name) != 0;
}

QString TRegKey::ReadString(const QString &name) const
{
    const auto v = Lookup(name);
    if (!v)
        return {};
    if (v->Type != TStoreType::stText)
        RaiseError(QStringLiteral("Invalid data type for '%1'").arg(name));
    return v->Text;
}

QByteArray TRegKey::ReadBinaryData(const QString &name, int maxSize) const
{
    const TStoreValue v = Require(name);
    if ((v.Type != TStoreType::stBinary && v.Type != TStoreType::stUntyped) || v.Bytes.size() > maxSize)
        RaiseError(QStringLiteral("Invalid data type for '%1'").arg(name));
    return v.Bytes;
}

void TRegKey::Write(const QString &name, const TStoreValue &value)
{
    if (!FOpen)
        RaiseError(QStringLiteral("Failed to set data for '%1'").arg(name));
    if (!FStore.WriteValue(FPath, name, value))
        RaiseError(QStringLiteral("Failed to set data for '%1'").arg(name));
    FLastWritten = name;
    if (!FStore.NotingShown())
        FDirty = true;
}

void TRegKey::WriteInteger(const QString &name, qint32 value) { Write(name, TStoreValue::FromInteger(value)); }
void TRegKey::WriteBool(const QString &name, bool value) { WriteInteger(name, value ? 1 : 0); }
void TRegKey::WriteString(const QString &name, const QString &value) { Write(name, TStoreValue::FromText(value)); }
void TRegKey::WriteBinaryData(const QString &name, const QByteArray &value) { Write(name, TStoreValue::FromBinary(value)); }
