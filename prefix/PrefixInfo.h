#pragma once

// The Prefix page's model: the entry read into a prefix, and the result
// rows shown for it. Also the prefix rules the Split and Plan pages share:
// usable hosts, host ranges, reverse zones.

#include <QString>

#include "prefix/NetAddress.h"
#include "prefix/PrefixRows.h"
#include "prefix/UInt128.h"

// The usable hosts of a prefix. IPv4 leaves out the network and broadcast
// addresses, except that a /31 has two usable addresses (RFC 3021) and a
// /32 its one; IPv6 has no broadcast, so every address counts.
TAddressRange HostRange(const TNetPrefix &prefix);
TAddressCount UsableHosts(const TNetPrefix &prefix);
// IPv4 up to /30; a /31 or /32 has none.
bool HasBroadcast(const TNetPrefix &prefix);

// "first - last", or the address alone when first == last.
QString RangeText(TIPFamily family, const TUInt128 &first, const TUInt128 &last);
void AppendRangeText(QString &out, TIPFamily family, const TUInt128 &first, const TUInt128 &last);

// The reverse DNS zones that hold exactly the prefix's PTR names: zones cut
// at octets (in-addr.arpa) or nibbles (ip6.arpa), so a prefix between two
// boundaries takes 2^k zones of the next longer boundary.
struct TReverseZones
{
    QString First;
    TAddressCount Count;
};
TReverseZones ReverseZonesOf(const TNetPrefix &prefix);

// The IPv4 address's 32 bits, octets joined by '.', with '|' where the
// prefix ends (in place of the '.' on an octet boundary); no mark at /0 or
// /32.
QString BitMapText(const TNetPrefix &prefix);

class TPrefixInfo
{
public:
    TPrefixInfo() = default;

    // Readable text replaces the prefix and the rows and clears Message();
    // other text keeps them and sets Message() to what is wrong. Returns
    // whether the text was read.
    bool SetEntryText(const QString &text);
    // The text last given, read or not.
    const QString &EntryText() const { return FEntryText; }
    const QString &Message() const { return FMessage; }
    // False until a text has been read.
    bool HasPrefix() const { return FHasPrefix; }
    const TNetPrefix &Prefix() const { return FPrefix; }
    const TResultRows &Rows() const { return FRows; }
    // The rows as table text, one "caption TAB value" line each.
    QString RowsText() const { return ResultRowsText(FRows); }

    // Captions: "Network", "Host Range", "Broadcast", "Netmask", "Wildcard",
    // "Addresses", "Usable Hosts", "Address Type", "Covers" (one per entry of
    // a mixed prefix), "Reverse Zone", "Bit Map"; for IPv6 "Network", "First
    // Address", "Last Address", "Compressed", "Expanded", "Addresses", "/64
    // Networks" (shorter than /64 only), "Address Type", "Covers", "Reverse
    // Zone".
    static TResultRows RowsOf(const TNetPrefix &prefix);

private:
    QString FEntryText;
    QString FMessage;
    bool FHasPrefix = false;
    TNetPrefix FPrefix;
    TResultRows FRows;
};
