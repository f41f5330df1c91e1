#pragma once

// The per-user settings store: a tree of keys holding typed values (32-bit
// integer, text, binary), addressed by backslash-separated key paths below
// the current user's root, as in "Software\Vorl Group\Tarvelo Calculator\2.20".
// Key paths and value names ignore case.
//
// On Windows the user's store is the registry under HKEY_CURRENT_USER, which
// takes each value as it is written. Elsewhere the tree lives in one
// human-readable file in the user's configuration folder, written in the
// registry export syntax:
//
//   [HKEY_CURRENT_USER\Software\Vorl Group\Tarvelo Calculator\2.20]
//   "Calculator"=dword:00000001
//   "Position"=hex:0a,00,00,00,...
//   "Name"="Ethernet"
//
// Several instances of the program may run at once on one store, and each
// writes all its values at exit. A value written with exactly the contents
// this instance last saw for it is no change of this instance: it is not
// written over what another instance stored meanwhile, only where the value
// is missing (so a first run writes everything). What an instance has seen
// of a value: what it read, what it wrote, and what it showed right after
// loading (noted as its starting point, see SetNotingShown; a default shown
// for a missing value counts, a value shown other than stored does not).
// Every other value is written, a value never seen too. So the instance
// exiting last keeps what the other one saved, for both backends. The
// contents compare with their type: an integer 5 and a text "5" differ. A
// setting changed and changed back before it is written is no change either.
//
// The file store's save writes only the values this instance changed since
// its last save, over the file as it is at that moment (read again, merged,
// replaced atomically, under a lock file beside it), as the registry takes
// values one by one. A crash during a save leaves either the old or the new
// file. A file that cannot be read completely is copied aside before
// anything overwrites it, and the user is told once.
//
// Everything outside this file asks the store through TRegKey or
// TStoreBackend, never through one backend's own structures.

#include <map>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

enum class TStoreType {
    stInteger,  // REG_DWORD
    stText,     // REG_SZ
    stBinary,   // REG_BINARY
    stUntyped,  // REG_NONE
    stOther     // any other registry type, kept as raw bytes
};

struct TStoreValue
{
    TStoreType Type = TStoreType::stBinary;
    qint32 Integer = 0;
    QString Text;
    QByteArray Bytes;   // stBinary, stUntyped and stOther
    int OtherType = 0;  // the registry type number of stOther

    static TStoreValue FromInteger(qint32 value);
    static TStoreValue FromText(const QString &value);
    static TStoreValue FromBinary(const QByteArray &value);
    bool operator==(const TStoreValue &other) const = default;
};

// What every holder of the settings offers: the settings file, the Windows
// registry, and the stand-ins of tests.
class TStoreBackend
{
public:
    virtual ~TStoreBackend() = default;

    // The user's store: the registry on Windows, TSettingsStore::Instance()
    // elsewhere, or the store that OverrideUser() installed.
    static TStoreBackend &User();
    // Makes `store` the user's store until called with nullptr (tests stand
    // in for the registry); the caller keeps it alive meanwhile.
    static void OverrideUser(TStoreBackend *store);

    virtual bool KeyExists(const QString &path) const = 0;
    // Creates the key and any missing parents; false when that failed.
    virtual bool CreateKey(const QString &path) = 0;
    // What is read is what this instance has seen of the value.
    std::optional<TStoreValue> ReadValue(const QString &path, const QString &name) const;
    // Writes the value unless it has the contents this instance last saw
    // (see above). Creates the key when needed; false when the value could
    // not be written.
    bool WriteValue(const QString &path, const QString &name, const TStoreValue &value);
    virtual QStringList ValueNames(const QString &path) const = 0;
    // While noting, a write stores nothing and creates no key: it notes the
    // contents as what this instance shows of the value, unless the store
    // holds another value (a damaged or clamped one, which this instance's
    // value is to replace at exit).
    void SetNotingShown(bool noting) { FNotingShown = noting; }
    bool NotingShown() const { return FNotingShown; }
    // Makes the values written so far durable; false when that failed.
    virtual bool Save() = 0;
    // Text for the user when the store was found damaged (empty otherwise);
    // returned once.
    virtual QString TakeLoadProblem() { return {}; }

protected:
    TStoreBackend() = default;
    Q_DISABLE_COPY_MOVE(TStoreBackend)

    virtual std::optional<TStoreValue> ReadStoredValue(const QString &path, const QString &name) const = 0;
    virtual bool WriteStoredValue(const QString &path, const QString &name, const TStoreValue &value) = 0;
    // A value written as this instance saw it: stored only where the value
    // is missing now, never over what another instance stored.
    virtual bool KeepStoredValue(const QString &path, const QString &name, const TStoreValue &value);
    // The store was read anew: nothing has been seen of it yet.
    void ForgetSeenValues() { FSeen.clear(); }

private:
    // By normalised key path and case-folded value name; none: seen missing.
    mutable std::map<std::pair<QString, QString>, std::optional<TStoreValue>> FSeen;
    bool FNotingShown = false;
};

// The settings file.
class TSettingsStore final : public TStoreBackend
{
public:
    // The user's file store, loaded on first use from DefaultFileName().
    static TSettingsStore &Instance();
    // Drops the loaded user store; the next Instance() reads the file again
    // (tests point XDG_CONFIG_HOME elsewhere and call this).
    static void ResetInstance();
    static QString DefaultFileName();

    explicit TSettingsStore(QString fileName);

    const QString &FileName() const { return FFileName; }
    bool KeyExists(const QString &path) const override;
    bool CreateKey(const QString &path) override;
    QStringList ValueNames(const QString &path) const override;

    // Merges the keys created and values changed since the last save into
    // the file as it is now, and the values written unchanged where the
    // file lacks them; false when the file could not be written (the writes
    // are then kept for the next save). A file the merge would not change is
    // left as it is. Afterwards the store shows the merged file. A file that
    // has become unreadable since it was read is kept aside first, and what
    // this store last knew of it, updated by whatever can still be read,
    // takes its place under the writes.
    bool Save() override;
    // Reads the file again, as at start; writes not saved are dropped.
    void Reload();

    QString TakeLoadProblem() override;

    // The registry export text of the tree, and its reader. Parse() replaces
    // the tree by what the text holds and returns false when any part of the
    // text was not understood; what was understood is kept.
    QByteArray Serialize() const;
    bool Parse(const QByteArray &text);

protected:
    std::optional<TStoreValue> ReadStoredValue(const QString &path, const QString &name) const override;
    bool WriteStoredValue(const QString &path, const QString &name, const TStoreValue &value) override;
    bool KeepStoredValue(const QString &path, const QString &name, const TStoreValue &value) override;

private:
    struct TKey
    {
        QString Path;                                         // as first written
        std::vector<std::pair<QString, TStoreValue>> Values;  // in writing order
    };
    using TTree = std::map<QString, TKey>;  // by normalised path

    static const TKey *FindKey(const TTree &tree, const QString &path);
    // None for a path that names no key below the root.
    static TKey *AddKey(TTree &tree, const QString &path);
    static bool PutValue(TTree &tree, const QString &path, const QString &name, const TStoreValue &value);
    // Keys and values of `from` join `onto`; when `replace`, they also
    // replace values of the same name.
    static void Overlay(TTree &onto, const TTree &from, bool replace = true);
    static bool ParseTree(const QByteArray &text, TTree &tree);
    static QByteArray SerializeTree(const TTree &tree);
    void Load();
    bool ReadForSave(TTree &tree, QByteArray &text);
    bool KeepAside(const QByteArray &text, bool atSave);

    QString FFileName;
    TTree FKeys;             // the file as last read or saved, with this store's writes
    TTree FWritten;          // keys created and values changed since the last save
    TTree FKept;             // values written unchanged since the last save
    QByteArray FKeptAside;   // fingerprint of the unreadable text last kept aside
    QString FLoadProblem;
    bool FSaveBlocked = false;  // an unreadable file could not be kept aside
};

// A handle on one key, in the manner of the Windows registry API: open, read
// or write values, close. Reads raise the store's fixed messages; the store
// saves what was written when the key is closed.
class TRegKey
{
public:
    explicit TRegKey(TStoreBackend &store = TStoreBackend::User());
    ~TRegKey();
    TRegKey(const TRegKey &) = delete;
    TRegKey &operator=(const TRegKey &) = delete;

    // Opens the key; when canCreate, creates it and any missing parents.
    bool OpenKey(const QString &path, bool canCreate);
    // Saves the store if anything was written; raises "Failed to set data for
    // '%s'" naming the last value written when the save fails.
    void CloseKey();
    bool IsOpen() const { return FOpen; }

    bool ValueExists(const QString &name) const;
    std::optional<TStoreType> GetDataType(const QString &name) const;

    // Missing: "Failed to get data for '%s'"; another type: "Invalid data type for '%s'".
    qint32 ReadInteger(const QString &name) const;
    // Any non-zero integer is yes.
    bool ReadBool(const QString &name) const;
    // Missing: empty text; another type: "Invalid data type for '%s'".
    QString ReadString(const QString &name) const;
    // Binary or untyped values up to maxSize bytes; longer values or another
    // type: "Invalid data type for '%s'"; missing: "Failed to get data for '%s'".
    QByteArray ReadBinaryData(const QString &name, int maxSize) const;

    void WriteInteger(const QString &name, qint32 value);
    void WriteBool(const QString &name, bool value);
    void WriteString(const QString &name, const QString &value);
    void WriteBinaryData(const QString &name, const QByteArray &value);

private:
    std::optional<TStoreValue> Lookup(const QString &name) const;
    TStoreValue Require(const QString &name) const;
    void Write(const QString &name, const TStoreValue &value);

    TStoreBackend &FStore;
    QString FPath;
    bool FOpen = false;
    QString FLastWritten;  // the value named when a save fails
    bool FDirty = false;   // written or created since opening
};

// The root key of the program's settings.
inline const QString MainSettingsKey = QStringLiteral("Software\\Vorl Group\\Tarvelo Calculator\\2.20");
