#pragma once

// The IP subnet calculator's "Dravok" settings subkey: the bit mode, the
// RFC 1878 allowance, the subnet's class, subnet bits and address, and the
// CIDR page's address. Widget-free: reading yields the values found, which
// the area applies in the table's order; writing takes them.
//
// Each value is one row of a table: its name, its type (which also gives its
// store type: text for the class letter, 32-bit integers for the rest), its
// value at a first start (the field's initializer below) and the check a
// stored value must pass. Reading follows the table and stops at the first
// value that is missing, of another type or fails its check: the rows
// before it stay read, and Error says why, in the store's words ("Failed to
// get data for 'SubnetBits'", "Invalid data type for 'AddressType'") or as
// "Range check error".

#include <optional>

#include <QChar>
#include <QString>

#include "app/SettingsStore.h"

inline const QString SubnetSettingsKey = MainSettingsKey + QStringLiteral("\\Dravok");

struct TSubnetSettings
{
    // Yes: the bits field holds subnet bits; no: network bits.
    bool UseSubnetBits = true;
    bool UseRFC1878 = false;
    // The first letter of the stored text, "A" to "E".
    QChar AddressType = u'B';
    // 0 to 255; the subnet model brings it to 1 ... 22.
    qint32 SubnetBits = 8;
    // First octet in the most significant byte, as every address here.
    quint32 SubnetAddress = 0x80000001;   // 128.0.0.1
    quint32 SupernetAddress = 0xC0000001; // 192.0.0.1

    bool operator==(const TSubnetSettings &) const = default;
};

// The rows of the table, in reading and writing order.
enum class TSubnetSetting : quint8 {
    ssUseSubnetBits,
    ssUseRFC1878,
    ssAddressType,
    ssSubnetBits,
    ssSubnetAddress,
    ssSupernetAddress
};

struct TStoredSubnetSettings
{
    // The rows not read keep their first-start value.
    TSubnetSettings Values;
    // How many rows, in the table's order, were read.
    int Count = 0;
    // Why the reading stopped; empty when every row was read.
    QString Error;

    bool Has(TSubnetSetting setting) const { return int(setting) < Count; }
};

// Reads the subkey; none when it does not exist.
std::optional<TStoredSubnetSettings> ReadSubnetSettings(TStoreBackend &store = TStoreBackend::User());

// Writes the subkey, creating it when needed; nothing when it cannot be
// created. Raises the store's "Failed to set data for '%s'" when the store
// cannot be written.
void WriteSubnetSettings(const TSubnetSettings &settings, TStoreBackend &store = TStoreBackend::User());
