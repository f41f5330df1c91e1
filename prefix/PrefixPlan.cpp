#include "prefix/PrefixPlan.h"

#include <algorithm>

#include "prefix/PrefixInfo.h"
#include "prefix/PrefixRows.h"

namespace {

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// The prefix length of the smallest block for `number`, or -1 when no
// block of the family holds it.
int BlockLength(TIPFamily family, const TUInt128 &number)
{
    if (family == TIPFamily::ifIPv4) {
        if (number > TUInt128(quint64(0xFFFFFFFE)))
            return -1;
        // 2^k >= number + 2.
        const TUInt128 needed = number + TUInt128(1);
        return 32 - (128 - needed.CountLeadingZeros());
    }
    if (number > TUInt128::PowerOfTwo(64))
        return -1;
    const TUInt128 below = number - TUInt128(1);
    return 64 - (128 - below.CountLeadingZeros());
}

// "1 address is", "130 addresses are".
QString MissingText(const TUInt128 &count, bool ipv4)
{
    const bool one = count == TUInt128(1);
    const QString unit = ipv4 ? (one ? QStringLiteral("address is") : QStringLiteral("addresses are"))
                              : (one ? QStringLiteral("/64 network is") : QStringLiteral("/64 networks are"));
    return count.DecimalText() + u' ' + unit;
}

struct TRequirement
{
    QString Name;
    TUInt128 Number;
    int Line = 0;
    int Length = 0;
};

} // namespace

void TPrefixPlan::Compute(const TNetPrefix &prefix, const QString &requirements)
{
    FPrefix = TNetPrefix(prefix.Network(), prefix.Length());
    FAllocations.clear();
    FFree.clear();
    FLineMessages.clear();
    FFailureMessage.clear();
    const TIPFamily family = prefix.Family();
    const bool ipv4 = family == TIPFamily::ifIPv4;
    const QString unitMany = ipv4 ? QStringLiteral("hosts") : QStringLiteral("/64 networks");

    QList<TRequirement> wanted;
    const QList<QStringView> lines = QStringView(requirements).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = int(i + 1);
        // As in the list to summarize, '#' starts a comment to the line's end.
        QStringView line = lines[i];
        if (const qsizetype comment = line.indexOf(u'#'); comment >= 0)
            line = line.left(comment);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        qsizetype split = line.size();
        while (split > 0 && !IsBlank(line[split - 1]))
            --split;
        const QStringView numberText = line.mid(split);
        const QString name = line.left(split).toString().simplified();
        const auto fail = [&](const QString &message) {
            FLineMessages.append(QStringLiteral("line %1: %2").arg(lineNumber).arg(message));
        };
        if (!std::all_of(numberText.begin(), numberText.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
            fail(QStringLiteral("'%1' does not end in a number of %2").arg(line.toString(), unitMany));
            continue;
        }
        const std::optional<TUInt128> number = TUInt128::FromDecimal(numberText);
        if (!number) {
            fail(QStringLiteral("%1 is too large").arg(numberText));
            continue;
        }
        if (number->IsZero()) {
            fail(QStringLiteral("'%1' asks for 0 %2").arg(line.toString(), unitMany));
            continue;
        }
        const int length = BlockLength(family, *number);
        if (length < 0) {
            fail(ipv4 ? QStringLiteral("%1 hosts do not fit in any IPv4 prefix (at most 4294967294)").arg(numberText)
                      : QStringLiteral("%1 /64 networks do not fit in any IPv6 prefix (at most 2^64)").arg(numberText));
            continue;
        }
        wanted.append({name, *number, lineNumber, length});
    }
    std::stable_sort(wanted.begin(), wanted.end(),
                     [](const TRequirement &a, const TRequirement &b) { return a.Length < b.Length; });

    // Space and blocks in units of one address (IPv4) or one /64 (IPv6).
    const int unitBits = ipv4 ? 0 : 64;
    const int spaceBits = prefix.Width() - unitBits - prefix.Length();
    const TUInt128 space = spaceBits < 0 ? TUInt128() : TUInt128::PowerOfTwo(spaceBits);
    // Each block is at most 2^64 units and a text has fewer than 2^31
    // lines, so the sum stays far below 2^128.
    TUInt128 used;
    const TRequirement *failed = nullptr;
    for (const TRequirement &requirement : wanted) {
        used += TUInt128::PowerOfTwo(prefix.Width() - unitBits - requirement.Length);
        if (!failed && used > space)
            failed = &requirement;
    }
    const TUInt128 network = FPrefix.Network().Value();
    if (failed && spaceBits < 0) {
        // Nothing could ever fit: no count of missing /64s says that.
        FFailureMessage = QStringLiteral("The plan does not fit: a /%1 holds no /64 network; plan in a /64 or a "
                                         "shorter prefix. '%2' (line %3) is the first that fails.")
                              .arg(prefix.Length())
                              .arg(failed->Name)
                              .arg(failed->Line);
        AppendRangePrefixes(family, network, FPrefix.Last().Value(), FFree);
        return;
    }
    if (failed) {
        FFailureMessage = QStringLiteral("The plan does not fit: %1 missing. '%2' (line %3) is the first that fails.")
                              .arg(MissingText(used - space, ipv4), failed->Name)
                              .arg(failed->Line);
        AppendRangePrefixes(family, network, FPrefix.Last().Value(), FFree);
        return;
    }
    TUInt128 next = network;
    for (const TRequirement &requirement : wanted) {
        const TNetPrefix block(TNetAddress(family, next), requirement.Length);
        FAllocations.append({requirement.Name, requirement.Number, requirement.Line, block});
        next = block.Last().Value() + TUInt128(1);
    }
    const bool full = !FAllocations.isEmpty() && FAllocations.back().Block.Last() == FPrefix.Last();
    if (!full)
        AppendRangePrefixes(family, next, FPrefix.Last().Value(), FFree);
}

QStringList TPrefixPlan::Headers() const
{
    if (FPrefix.Family() == TIPFamily::ifIPv4)
        return {QStringLiteral("Name"), QStringLiteral("Hosts"), QStringLiteral("Prefix"),
                QStringLiteral("Network"), QStringLiteral("Host Range"), QStringLiteral("Spare")};
    return {QStringLiteral("Name"), QStringLiteral("/64 Networks"), QStringLiteral("Prefix"),
            QStringLiteral("Network"), QStringLiteral("Address Range"), QStringLiteral("Spare")};
}

QStringList TPrefixPlan::CellsOf(const QString &name, const QString &number, const TNetPrefix &block,
                                 const QString &spare) const
{
    const TAddressRange hosts = HostRange(block);
    return {name, number, QStringLiteral("/%1").arg(block.Length()), block.Network().Text(),
            RangeText(block.Family(), hosts.First, hosts.Last), spare};
}

namespace {

// The hosts (IPv4) or /64 networks (IPv6) a block holds.
TUInt128 CapacityOf(const TNetPrefix &block)
{
    if (block.Family() == TIPFamily::ifIPv4)
        return UsableHosts(block).Value();
    if (block.Length() > 64)
        return TUInt128();
    return TUInt128::PowerOfTwo(64 - block.Length());
}

} // namespace

QStringList TPrefixPlan::RowCells(int row) const
{
    if (row < 0 || row >= FAllocations.size())
        return {};
    const TPlanAllocation &allocation = FAllocations[row];
    return CellsOf(allocation.Name, allocation.Number.DecimalText(), allocation.Block,
                   (CapacityOf(allocation.Block) - allocation.Number).DecimalText());
}

QStringList TPrefixPlan::FreePrefixTexts() const
{
    QStringList texts;
    for (const TNetPrefix &prefix : FFree)
        texts.append(prefix.Text());
    return texts;
}

QStringList TPrefixPlan::FreeRowCells(int index) const
{
    if (index < 0 || index >= FFree.size())
        return {};
    const TNetPrefix &block = FFree[index];
    return CellsOf(QStringLiteral("Free"), QString(), block, CapacityOf(block).DecimalText());
}

QString TPrefixPlan::TableText() const
{
    QString text;
    AppendTableLine(text, Headers());
    for (int row = 0; row < RowCount(); ++row)
        AppendTableLine(text, RowCells(row));
    for (int index = 0; index < FFree.size(); ++index)
        AppendTableLine(text, FreeRowCells(index));
    return text;
}
