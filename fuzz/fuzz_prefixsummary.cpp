// The Summarize page's lines: whatever the lines, the prefixes come IPv4
// first and in address order, apart and not mergeable, their sizes add up
// to the address counts, and each family's route summary holds them all.
//   input: the mode byte and the text (FuzzCommon.h)

#include "fuzz/FuzzCommon.h"

#include "prefix/PrefixSummary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TFuzzInput input(data, size);
    const QString text = input.Text();

    TPrefixSummary summary;
    summary.Compute(text);
    for (const QString &message : summary.LineMessages())
        FUZZ_CHECK(message.startsWith(QStringLiteral("line ")));

    TAddressCount counts[2];
    const QList<TNetPrefix> &prefixes = summary.Prefixes();
    for (int i = 0; i < prefixes.size(); ++i) {
        const TNetPrefix &prefix = prefixes[i];
        const int family = prefix.Family() == TIPFamily::ifIPv4 ? 0 : 1;
        FUZZ_CHECK(summary.HasFamily(prefix.Family()));
        FUZZ_CHECK(prefix.Address() == prefix.Network());
        FUZZ_CHECK(summary.RouteSummary(prefix.Family()).Contains(prefix));
        counts[family] += prefix.Size();
        if (i == 0 || prefixes[i - 1].Family() != prefix.Family()) {
            FUZZ_CHECK(i == 0 || prefix.Family() == TIPFamily::ifIPv6);
            continue;
        }
        const TNetPrefix &before = prefixes[i - 1];
        FUZZ_CHECK(before.Last().Value() < prefix.Network().Value());
        // Two halves of one prefix would have been written as that prefix.
        const bool buddies = before.Length() == prefix.Length() && prefix.Length() > 0
            && TNetPrefix(before.Network(), before.Length() - 1).Contains(prefix);
        FUZZ_CHECK(!buddies);
    }
    FUZZ_CHECK(counts[0] == summary.AddressCount(TIPFamily::ifIPv4));
    FUZZ_CHECK(counts[1] == summary.AddressCount(TIPFamily::ifIPv6));
    (void)summary.ResultRows();
    (void)summary.PrefixListText();
    return 0;
}
