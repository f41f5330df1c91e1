#pragma once

// The Split page's model: a prefix cut into subnets of a longer length.
// Rows are computed from their index whenever asked for and never stored,
// so a split of a /32 into 2^96 /128s costs no more than one into four.
//
// Row indexes are 0-based 128-bit values; the "#" column shows index + 1.
// Qt's item views count rows in int, so the view shows a window of at most
// MaxViewRows rows starting at ViewBase(); "Go to #" moves the window when
// the subnet asked for lies outside it.

#include <QString>
#include <QStringList>

#include "prefix/NetAddress.h"
#include "prefix/UInt128.h"

constexpr int MaxViewRows = 2147483647;
// Larger copies are refused: their text would take hundreds of megabytes.
constexpr int MaxCopyRows = 1048576;

class TPrefixSplit
{
public:
    TPrefixSplit() = default;

    // The new length is the one chosen with SetNewLength when it fits the
    // prefix (longer than it, within its family's width), the default
    // otherwise; a choice that does not fit is kept for the next prefix.
    // The view window returns to the first row.
    void SetPrefix(const TNetPrefix &prefix);
    const TNetPrefix &Prefix() const { return FPrefix; }

    // The choice of new lengths: prefix + 1 to 32 or 128. A /32 or /128
    // has none.
    int MinLength() const { return qMin(FPrefix.Length() + 1, FPrefix.Width()); }
    int MaxLength() const { return FPrefix.Width(); }
    bool CanSplit() const { return FPrefix.Length() < FPrefix.Width(); }
    // Clamped to MinLength..MaxLength; the clamped length is the choice.
    // The view window returns to the first row.
    void SetNewLength(int length);
    int NewLength() const { return FNewLength; }
    // The length to keep for the next start: the one last chosen for a
    // prefix of this family, else for the other family, 0 while none was.
    // Each family follows its own choice: a /30 chosen for an IPv4 prefix
    // is no choice for an IPv6 one.
    int ChosenLength() const;
    // A stored choice, for either family, kept as it is (0 to 128, 0 for
    // none) and used while it fits.
    void SetChosenLength(int length);
    // IPv4: prefix + 2; IPv6: /64 for prefixes shorter than /64, prefix + 2
    // otherwise; never past the width.
    static int DefaultNewLength(const TNetPrefix &prefix);

    // 2^(new length - prefix length), up to 2^128; 0 when it cannot split.
    TAddressCount Count() const;
    // "64 (2^6)", or "none (a /32 cannot be split)".
    QString CountText() const;

    // IPv4: "#", "Network", "Host Range", "Broadcast"; IPv6: "#", "Network",
    // "Address Range".
    QStringList Headers() const;
    int ColumnCount() const;
    // Subnet `index`, index below Count().
    TNetPrefix Subnet(const TUInt128 &index) const;
    // The cells of subnet `index`; none past the last subnet.
    QStringList RowCells(const TUInt128 &index) const;

    // The view window.
    int ViewRowCount() const;
    const TUInt128 &ViewBase() const { return FViewBase; }
    TUInt128 IndexOfViewRow(int row) const { return FViewBase + TUInt128(quint64(qMax(row, 0))); }
    QStringList ViewRowCells(int row) const { return RowCells(IndexOfViewRow(row)); }

    // Reads a subnet number as "#" shows it (digits; ',', '_' and blanks
    // between them are ignored), moves the window to hold it when needed
    // (ViewBase() changes: the view must reload) and gives its view row.
    TReadResult<int> GoTo(const QString &text);

    // The table text of view rows first..last (either order): the header
    // line, then one line per row. Refused past MaxCopyRows rows.
    TReadResult<QString> CopyText(int firstRow, int lastRow) const;
    // As CopyText, by subnet index.
    TReadResult<QString> CopyIndexText(const TUInt128 &first, const TUInt128 &last) const;

private:
    void AppendRowLine(QString &out, const TUInt128 &index) const;

    TNetPrefix FPrefix = TNetPrefix(TNetAddress::IPv4(0), 24);
    int FNewLength = 26;
    int FChosenLength[2] = {0, 0};  // by TIPFamily
    TUInt128 FViewBase;
};
