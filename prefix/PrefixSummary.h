#pragma once

// The Summarize page's model: lines of addresses, prefixes (any form the
// Prefix entry takes, host bits ignored) and ranges "a - b", IPv4 and IPv6
// mixed, '#' starting a comment, turned into the fewest prefixes that cover
// exactly their union. Overlapping and adjacent entries merge.

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

#include "prefix/NetAddress.h"
#include "prefix/PrefixRows.h"
#include "prefix/UInt128.h"

class TPrefixSummary
{
public:
    TPrefixSummary() = default;

    void Compute(const QString &text);

    // IPv4 first, each family in address order.
    const QList<TNetPrefix> &Prefixes() const { return FPrefixes; }
    int PrefixCount() const { return int(FPrefixes.size()); }
    QString PrefixText(int index) const;
    QStringList PrefixTexts() const;
    // One prefix per line, each line ending in CR LF.
    QString PrefixListText() const;

    // "line 3: ..." for every line that could not be read, in line order.
    const QStringList &LineMessages() const { return FLineMessages; }

    bool HasFamily(TIPFamily family) const { return FFamilies[Index(family)].Present; }
    // Addresses covered, exact.
    TAddressCount AddressCount(TIPFamily family) const { return FFamilies[Index(family)].Count; }
    // The longest single prefix holding all of the family's input.
    TNetPrefix RouteSummary(TIPFamily family) const { return FFamilies[Index(family)].Summary; }

    // "Prefixes", then for each family present "IPv4 Addresses" and "IPv4
    // Summary" ("IPv6 ..." alike).
    TResultRows ResultRows() const;

private:
    struct TFamilyResult
    {
        bool Present = false;
        TAddressCount Count;
        TNetPrefix Summary;
    };
    static int Index(TIPFamily family) { return family == TIPFamily::ifIPv4 ? 0 : 1; }

    QList<TNetPrefix> FPrefixes;
    QStringList FLineMessages;
    TFamilyResult FFamilies[2];
};
