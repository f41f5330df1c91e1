#include "prefix/PrefixSummary.h"

#include <algorithm>
#include <utility>

namespace {

using TInterval = std::pair<TUInt128, TUInt128>;

// Sorts and merges overlapping or adjacent intervals in place.
void MergeIntervals(std::vector<TInterval> &intervals)
{
    std::sort(intervals.begin(), intervals.end());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < intervals.size(); ++i) {
        if (kept > 0) {
            TInterval &last = intervals[kept - 1];
            // Adjacent when the next starts right after; nothing follows a
            // last address of all ones.
            if (last.second == TUInt128::Max() || intervals[i].first <= last.second + TUInt128(1)) {
                last.second = qMax(last.second, intervals[i].second);
                continue;
            }
        }
        intervals[kept++] = intervals[i];
    }
    intervals.resize(kept);
}

} // namespace

void TPrefixSummary::Compute(const QString &text)
{
    FPrefixes.clear();
    FLineMessages.clear();
    std::vector<TInterval> intervals[2];
    const QStringView all(text);
    int lineNumber = 0;
    for (qsizetype start = 0; start <= all.size();) {
        qsizetype end = all.indexOf(u'\n', start);
        if (end < 0)
            end = all.size();
        QStringView line = all.mid(start, end - start);
        start = end + 1;
        ++lineNumber;
        const qsizetype hash = line.indexOf(u'#');
        if (hash >= 0)
            line = line.left(hash);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const TReadResult<TAddressRange> range = ReadAddressRange(line);
        if (!range.Ok) {
            FLineMessages.append(QStringLiteral("line %1: %2").arg(lineNumber).arg(range.Message));
            continue;
        }
        intervals[Index(range.Value.Family)].emplace_back(range.Value.First, range.Value.Last);
    }

    for (const TIPFamily family : {TIPFamily::ifIPv4, TIPFamily::ifIPv6}) {
        std::vector<TInterval> &list = intervals[Index(family)];
        TFamilyResult &result = FFamilies[Index(family)];
        result = TFamilyResult();
        if (list.empty())
            continue;
        MergeIntervals(list);
        result.Present = true;
        for (const TInterval &interval : list) {
            result.Count += TAddressCount::OfRange(interval.first, interval.second);
            AppendRangePrefixes(family, interval.first, interval.second, FPrefixes);
        }
        result.Summary = CoveringPrefix(family, list.front().first, list.back().second);
    }
}

QString TPrefixSummary::PrefixText(int index) const
{
    if (index < 0 || index >= FPrefixes.size())
        return {};
    return FPrefixes[index].Text();
}

QStringList TPrefixSummary::PrefixTexts() const
{
    QStringList texts;
    texts.reserve(FPrefixes.size());
    for (const TNetPrefix &prefix : FPrefixes)
        texts.append(prefix.Text());
    return texts;
}

QString TPrefixSummary::PrefixListText() const
{
    QString text;
    text.reserve(FPrefixes.size() * 24);
    for (const TNetPrefix &prefix : FPrefixes) {
        prefix.AppendText(text);
        text += u"\r\n";
    }
    return text;
}

TResultRows TPrefixSummary::ResultRows() const
{
    TResultRows rows;
    rows.append({QStringLiteral("Prefixes"), QString::number(FPrefixes.size())});
    for (const TIPFamily family : {TIPFamily::ifIPv4, TIPFamily::ifIPv6}) {
        if (!HasFamily(family))
            continue;
        const QString name = family == TIPFamily::ifIPv4 ? QStringLiteral("IPv4") : QStringLiteral("IPv6");
        rows.append({name + QStringLiteral(" Addresses"), AddressCount(family).TextWithPower()});
        rows.append({name + QStringLiteral(" Summary"), RouteSummary(family).Text()});
    }
    return rows;
}
