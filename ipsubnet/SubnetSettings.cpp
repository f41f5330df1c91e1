#include "ipsubnet/SubnetSettings.h"

#include <tuple>

#include "app/VorlGlobal.h"

namespace {

template <typename T>
struct TRow
{
    const char16_t *Name;
    T TSubnetSettings::*Field;
    // Whether a stored value is usable ("Range check error" when not);
    // none takes every value of the type.
    bool (*Check)(const T &value) = nullptr;
};

bool IsClassLetter(const QChar &letter)
{
    return letter >= u'A' && letter <= u'E';
}

// The count is held in one byte.
bool IsByte(const qint32 &count)
{
    return count >= 0 && count <= 255;
}

// The subkey, row by row.
const auto Rows = std::make_tuple(TRow<bool>{u"UseSubnetBits", &TSubnetSettings::UseSubnetBits},
                                  TRow<bool>{u"UseRFC1878", &TSubnetSettings::UseRFC1878},
                                  TRow<QChar>{u"AddressType", &TSubnetSettings::AddressType, IsClassLetter},
                                  TRow<qint32>{u"SubnetBits", &TSubnetSettings::SubnetBits, IsByte},
                                  TRow<quint32>{u"SubnetAddress", &TSubnetSettings::SubnetAddress},
                                  TRow<quint32>{u"SupernetAddress", &TSubnetSettings::SupernetAddress});
static_assert(std::tuple_size_v<decltype(Rows)> == int(TSubnetSetting::ssSupernetAddress) + 1);

// How each type is kept in the store. Any integer other than 0 is yes.
void ReadValue(const TRegKey &key, const QString &name, bool &value)
{
    value = key.ReadBool(name);
}

void ReadValue(const TRegKey &key, const QString &name, QChar &letter)
{
    // A missing text reads as empty, which holds no letter either.
    const QString text = key.ReadString(name);
    if (text.isEmpty())
        RaiseError(QStringLiteral("Failed to get data for '%1'").arg(name));
    letter = text.at(0);
}

void ReadValue(const TRegKey &key, const QString &name, qint32 &value)
{
    value = key.ReadInteger(name);
}

void ReadValue(const TRegKey &key, const QString &name, quint32 &value)
{
    value = quint32(key.ReadInteger(name));
}

void WriteValue(TRegKey &key, const QString &name, bool value)
{
    key.WriteBool(name, value);
}

void WriteValue(TRegKey &key, const QString &name, QChar letter)
{
    key.WriteString(name, QString(letter));
}

void WriteValue(TRegKey &key, const QString &name, qint32 value)
{
    key.WriteInteger(name, value);
}

void WriteValue(TRegKey &key, const QString &name, quint32 value)
{
    key.WriteInteger(name, qint32(value));
}

// One row into `stored`; false, with the error noted, when it stops the reading.
template <typename T>
bool ReadRow(const TRegKey &key, const TRow<T> &row, TStoredSubnetSettings &stored)
{
    try {
        T value{};
        ReadValue(key, QString::fromUtf16(row.Name), value);
        if (row.Check && !row.Check(value))
            RaiseError(QStringLiteral("Range check error"));
        stored.Values.*row.Field = value;
    } catch (const TVorlError &error) {
        stored.Error = error.Message();
        return false;
    }
    ++stored.Count;
    return true;
}

} // namespace

std::optional<TStoredSubnetSettings> ReadSubnetSettings(TStoreBackend &store)
{
    TRegKey key(store);
    if (!key.OpenKey(SubnetSettingsKey, false))
        return std::nullopt;
    TStoredSubnetSettings stored;
    std::apply([&](const auto &...row) { (ReadRow(key, row, stored) && ...); }, Rows);
    key.CloseKey();
    return stored;
}

void WriteSubnetSettings(const TSubnetSettings &settings, TStoreBackend &store)
{
    TRegKey key(store);
    if (!key.OpenKey(SubnetSettingsKey, true))
        return;
    std::apply([&](const auto &...row) { (WriteValue(key, QString::fromUtf16(row.Name), settings.*row.Field), ...); },
               Rows);
    key.CloseKey();
}
