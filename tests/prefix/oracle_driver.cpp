// The C++ side of the differential test (prefix_oracle.py): reads one case
// per line from stdin, "<id> TAB <command> TAB <arguments...>", and writes
// "<id> TAB <results...>" per case to stdout. Lists inside a field are
// joined by ';'.
//
//   E <entry>                     the Prefix page's reading of an entry
//   T <address>                   the registry type of an address
//   S <prefix> <length> <indexes> split cells of the given subnet indexes
//   U <lines>                     summarize
//   R <first> <last>              the prefixes of a range
//   P <prefix> <lines>            plan

#include <cstdio>
#include <iostream>
#include <string>

#include <QString>
#include <QStringList>

#include "prefix/AddressRegistry.h"
#include "prefix/NetAddress.h"
#include "prefix/PrefixInfo.h"
#include "prefix/PrefixPlan.h"
#include "prefix/PrefixSplit.h"
#include "prefix/PrefixSummary.h"

using namespace Qt::StringLiterals;

namespace {

QString Join(const QList<TNetPrefix> &prefixes)
{
    QStringList texts;
    for (const TNetPrefix &prefix : prefixes)
        texts.append(prefix.Text());
    return texts.join(u';');
}

QString EntryCase(const QStringList &args)
{
    const TReadResult<TNetPrefix> read = ReadPrefix(args.value(0));
    if (!read.Ok)
        return u"ERR\t"_s + read.Message;
    const TNetPrefix &prefix = read.Value;
    const TAddressRange hosts = HostRange(prefix);
    const TReverseZones zones = ReverseZonesOf(prefix);
    return QStringList{u"OK"_s,
                       prefix.Text(),
                       prefix.Network().Text(),
                       prefix.Last().Text(),
                       prefix.Size().DecimalText(),
                       prefix.Address().Text(),
                       prefix.Address().ExpandedText(),
                       prefix.Address().ReversePointer(),
                       zones.First,
                       zones.Count.DecimalText(),
                       TNetAddress(prefix.Family(), hosts.First).Text(),
                       TNetAddress(prefix.Family(), hosts.Last).Text(),
                       UsableHosts(prefix).DecimalText(),
                       TNetAddress(prefix.Family(), prefix.NetMask()).Text(),
                       TNetAddress(prefix.Family(), prefix.HostMask()).Text()}
        .join(u'\t');
}

QString TypeCase(const QStringList &args)
{
    const TReadResult<TNetAddress> read = ReadAddress(args.value(0));
    if (!read.Ok)
        return u"ERR\t"_s + read.Message;
    const TRegistryEntry *entry = RegistryEntryOf(read.Value);
    if (!entry)
        return u"Global Unicast\tY"_s;
    const char *global = entry->Global == TGlobalReach::grYes ? "Y" : entry->Global == TGlobalReach::grNo ? "N" : "-";
    return entry->Name + u'\t' + QLatin1StringView(global) + u'\t' + entry->Prefix.Text();
}

QString SplitCase(const QStringList &args)
{
    TPrefixSplit split;
    split.SetPrefix(ReadPrefix(args.value(0)).Value);
    split.SetNewLength(args.value(1).toInt());
    QStringList out{split.Count().DecimalText()};
    for (const QString &indexText : args.value(2).split(u';', Qt::SkipEmptyParts)) {
        const TUInt128 index = TUInt128::FromDecimal(indexText).value_or(TUInt128());
        out.append(split.RowCells(index).join(u'|'));
    }
    return out.join(u'\t');
}

QString SummaryCase(const QStringList &args)
{
    TPrefixSummary summary;
    summary.Compute(args.value(0).split(u';').join(u'\n'));
    QStringList errorLines;
    for (const QString &message : summary.LineMessages())
        errorLines.append(message.section(u':', 0, 0).mid(5));
    QStringList out{Join(summary.Prefixes()), errorLines.join(u';')};
    for (const TIPFamily family : {TIPFamily::ifIPv4, TIPFamily::ifIPv6}) {
        out.append(summary.HasFamily(family) ? summary.AddressCount(family).DecimalText() : u"-"_s);
        out.append(summary.HasFamily(family) ? summary.RouteSummary(family).Text() : u"-"_s);
    }
    return out.join(u'\t');
}

QString RangeCase(const QStringList &args)
{
    const TReadResult<TNetAddress> first = ReadAddress(args.value(0));
    const TReadResult<TNetAddress> last = ReadAddress(args.value(1));
    if (!first.Ok || !last.Ok)
        return u"ERR"_s;
    QList<TNetPrefix> prefixes;
    AppendRangePrefixes(first.Value.Family(), first.Value.Value(), last.Value.Value(), prefixes);
    return Join(prefixes);
}

QString PlanCase(const QStringList &args)
{
    TPrefixPlan plan;
    plan.Compute(ReadPrefix(args.value(0)).Value, args.value(1).split(u';').join(u'\n'));
    QStringList allocations;
    for (const TPlanAllocation &allocation : plan.Allocations())
        allocations.append(QStringLiteral("%1=%2").arg(allocation.Line).arg(allocation.Block.Text()));
    QStringList errorLines;
    for (const QString &message : plan.LineMessages())
        errorLines.append(message.section(u':', 0, 0).mid(5));
    // The failure message's count, the first number in it.
    QString missing = u"-"_s;
    if (!plan.Fits())
        missing = plan.FailureMessage().contains(u"holds no /64"_s)
                      ? u"none"_s
                      : plan.FailureMessage().section(u':', 1).trimmed().section(u' ', 0, 0);
    QString failedLine = u"-"_s;
    if (!plan.Fits())
        failedLine = plan.FailureMessage().section(u"(line "_s, 1).section(u')', 0, 0);
    return QStringList{allocations.join(u';'), Join(plan.FreePrefixes()), errorLines.join(u';'), missing, failedLine}.join(
        u'\t');
}

} // namespace

int main()
{
    std::string line;
    std::string out;
    while (std::getline(std::cin, line)) {
        const QStringList fields = QString::fromStdString(line).split(u'\t');
        if (fields.size() < 2)
            continue;
        const QString &command = fields[1];
        const QStringList args = fields.mid(2);
        QString result;
        if (command == u"E")
            result = EntryCase(args);
        else if (command == u"T")
            result = TypeCase(args);
        else if (command == u"S")
            result = SplitCase(args);
        else if (command == u"U")
            result = SummaryCase(args);
        else if (command == u"R")
            result = RangeCase(args);
        else if (command == u"P")
            result = PlanCase(args);
        else
            result = u"unknown command"_s;
        out += QString(fields[0] + u'\t' + result + u'\n').toStdString();
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
