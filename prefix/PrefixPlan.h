#pragma once

// The Plan page's model (VLSM): requirement lines "name number" allocated
// inside a prefix, largest first, each at the lowest free aligned address.
//
// A line is a name (any text, blanks inside allowed) and a number, the last
// blank-separated token; a line of only a number has no name. Blank lines
// and lines starting with '#' are skipped.
//
// IPv4 numbers are hosts. Each gets the smallest block that holds its
// hosts plus the network and broadcast addresses, 2^k - 2 hosts: one or two
// hosts get a /30. (A /31 point-to-point link or a /32 host route is a
// block nobody asks for by a number of hosts.) IPv6 numbers are /64
// networks, rounded up to a power of two.
//
// Blocks are powers of two placed largest first, so they pack without gaps
// and the plan fits exactly when their sum fits; when it does not, nothing
// is allocated.

#include <QList>
#include <QString>
#include <QStringList>

#include "prefix/NetAddress.h"
#include "prefix/UInt128.h"

struct TPlanAllocation
{
    QString Name;
    // Hosts (IPv4) or /64 networks (IPv6), as asked for.
    TUInt128 Number;
    int Line = 0;
    TNetPrefix Block;
};

class TPrefixPlan
{
public:
    TPrefixPlan() = default;

    // Reads `requirements` and allocates in the network of `prefix`.
    void Compute(const TNetPrefix &prefix, const QString &requirements);

    const TNetPrefix &Prefix() const { return FPrefix; }
    // IPv4: "Name", "Hosts", "Prefix", "Network", "Host Range", "Spare";
    // IPv6: "Name", "/64 Networks", "Prefix", "Network", "Address Range",
    // "Spare", where the numbers and the spare count /64 networks.
    QStringList Headers() const;
    // Allocations in address order (which is largest first).
    const QList<TPlanAllocation> &Allocations() const { return FAllocations; }
    int RowCount() const { return int(FAllocations.size()); }
    QStringList RowCells(int row) const;

    // The space left, in address order: everything when nothing fits.
    const QList<TNetPrefix> &FreePrefixes() const { return FFree; }
    QStringList FreePrefixTexts() const;
    // A free prefix as a table row: "Free", no hosts, all of it spare.
    QStringList FreeRowCells(int index) const;

    // "line 3: ..." for every line that could not be read, in line order.
    const QStringList &LineMessages() const { return FLineMessages; }
    bool Fits() const { return FFailureMessage.isEmpty(); }
    // Empty when the plan fits; otherwise what is missing and which
    // requirement failed first.
    const QString &FailureMessage() const { return FFailureMessage; }

    // The header line, the allocation rows, then the free rows.
    QString TableText() const;

private:
    QStringList CellsOf(const QString &name, const QString &number, const TNetPrefix &block, const QString &spare) const;

    TNetPrefix FPrefix;
    QList<TPlanAllocation> FAllocations;
    QList<TNetPrefix> FFree;
    QStringList FLineMessages;
    QString FFailureMessage;
};
