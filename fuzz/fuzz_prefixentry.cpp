// The Prefix page's entry and the Split page's "Go to #": any text is either
// read or refused with a message; what is read shows its rows, its texts
// read back to the same prefix, and its split rows are computed.
//   input: the mode byte and the text (FuzzCommon.h)

#include "fuzz/FuzzCommon.h"

#include "prefix/PrefixInfo.h"
#include "prefix/PrefixSplit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TFuzzInput input(data, size);
    const QString text = input.Text();

    TPrefixInfo info;
    const bool read = info.SetEntryText(text);
    FUZZ_CHECK(read == info.HasPrefix());
    FUZZ_CHECK(read == info.Message().isEmpty());
    // Every text our checks pass QHostAddress reads too; otherwise the
    // message would be the vague fallback.
    FUZZ_CHECK(!info.Message().endsWith(QStringLiteral("is not an IPv6 address")));
    if (read) {
        const TNetPrefix &prefix = info.Prefix();
        const TReadResult<TNetPrefix> again = ReadPrefix(prefix.Text());
        FUZZ_CHECK(again.Ok && again.Value == TNetPrefix(prefix.Network(), prefix.Length()));
        const TReadResult<TNetAddress> address = ReadAddress(prefix.Address().Text());
        FUZZ_CHECK(address.Ok && address.Value == prefix.Address());
        FUZZ_CHECK(ReadAddress(prefix.Address().ExpandedText()).Value == prefix.Address());
        FUZZ_CHECK(!info.Rows().isEmpty() && info.Rows().first().Caption == QStringLiteral("Network"));

        TPrefixSplit split;
        split.SetPrefix(prefix);
        if (split.CanSplit()) {
            FUZZ_CHECK(split.ViewRowCount() > 0);
            FUZZ_CHECK(split.ViewRowCells(0).size() == split.ColumnCount());
            FUZZ_CHECK(split.ViewRowCells(split.ViewRowCount() - 1).size() == split.ColumnCount());
        }
    }

    // The same text as a subnet number of the largest split.
    TPrefixSplit split;
    split.SetPrefix(TNetPrefix(TNetAddress::IPv6(0, 0), 0));
    split.SetNewLength(128);
    const TReadResult<int> row = split.GoTo(text);
    FUZZ_CHECK(row.Ok == row.Message.isEmpty());
    if (row.Ok) {
        FUZZ_CHECK(row.Value >= 0 && row.Value < split.ViewRowCount());
        const std::optional<TAddressCount> number = TAddressCount::FromDecimal(split.ViewRowCells(row.Value).at(0));
        FUZZ_CHECK(number && !number->IsZero());
    }
    return 0;
}
