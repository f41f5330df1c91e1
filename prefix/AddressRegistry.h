#pragma once

// The address types: the IANA IPv4 and IPv6 Special-Purpose Address
// Registries (RFC 6890 and the RFCs that update it), with the two multicast
// blocks beside them. Every address outside the entries is Global Unicast.
//
// Entries nest (192.0.0.9/32 lies in 192.0.0.0/24); for an address the most
// specific entry holding it wins.

#include <QList>
#include <QString>

#include "prefix/NetAddress.h"

// The registry's "Globally Reachable" column; grNotApplicable where it says
// N/A and for the multicast blocks, which are not in it.
enum class TGlobalReach : quint8 { grNo, grYes, grNotApplicable };

struct TRegistryEntry
{
    TNetPrefix Prefix;
    QString Name;
    QString RFC;
    TGlobalReach Global = TGlobalReach::grNo;

    // "Private-Use (RFC 1918)".
    QString Text() const { return QStringLiteral("%1 (%2)").arg(Name, RFC); }
};

// Both families, IPv4 first, each in address order with a containing entry
// before the entries inside it.
const QList<TRegistryEntry> &RegistryEntries();

// The most specific entry holding `address`, or nullptr: Global Unicast.
const TRegistryEntry *RegistryEntryOf(const TNetAddress &address);

// "Global Unicast".
QString GlobalUnicastText();

// What a prefix is made of.
struct TPrefixKind
{
    // The most specific entry holding the whole prefix, or nullptr.
    const TRegistryEntry *Container = nullptr;
    // The entries lying inside the prefix (the container excluded), in
    // registry order.
    QList<const TRegistryEntry *> Inside;
    // Whether some address of the prefix lies in no entry at all.
    bool HasGlobalUnicast = false;

    // Whether the prefix holds more than one type.
    bool IsMixed() const { return !Inside.isEmpty(); }
    // The container (if any) and then the entries inside.
    QList<const TRegistryEntry *> Entries() const;
    // "Private-Use (RFC 1918)", "Global Unicast", or for a mixed prefix
    // "Mixed: 4 registry entries" ("1 registry entry") with " and Global
    // Unicast" when some of it is in none.
    QString Text() const;
};

TPrefixKind PrefixKindOf(const TNetPrefix &prefix);
