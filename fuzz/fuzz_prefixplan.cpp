// The Plan page's requirement lines: whatever the lines, the blocks are
// aligned, in address order, inside the prefix and apart; they and the free
// prefixes fill the prefix exactly; a plan that does not fit allocates
// nothing and says so.
//   input: the family and length byte, 16 address bytes, then the mode byte
//   and the requirement text (FuzzCommon.h)

#include "fuzz/FuzzCommon.h"

#include "prefix/PrefixPlan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TFuzzInput input(data, size);
    const uint8_t shape = input.Byte();
    const TIPFamily family = shape & 0x80 ? TIPFamily::ifIPv6 : TIPFamily::ifIPv4;
    quint64 high = 0;
    quint64 low = 0;
    for (int i = 0; i < 8; ++i)
        high = (high << 8) | input.Byte();
    for (int i = 0; i < 8; ++i)
        low = (low << 8) | input.Byte();
    const TNetPrefix prefix(TNetAddress(family, TUInt128(high, low)), (shape & 0x7F) % (AddressWidth(family) + 1));
    const QString text = input.Text();

    TPrefixPlan plan;
    plan.Compute(prefix, text);
    FUZZ_CHECK(plan.Fits() || plan.Allocations().isEmpty());
    for (const QString &message : plan.LineMessages())
        FUZZ_CHECK(message.startsWith(QStringLiteral("line ")));

    // Blocks and free prefixes in address order, each right after the last.
    QList<TNetPrefix> blocks;
    for (const TPlanAllocation &allocation : plan.Allocations())
        blocks.append(allocation.Block);
    const QList<TNetPrefix> all = blocks + plan.FreePrefixes();
    TUInt128 next = prefix.Network().Value();
    bool ended = false;
    for (const TNetPrefix &block : all) {
        FUZZ_CHECK(!ended);
        FUZZ_CHECK(block.Address() == block.Network());
        FUZZ_CHECK(prefix.Contains(block));
        FUZZ_CHECK(block.Network().Value() == next);
        ended = block.Last() == prefix.Last();
        next = block.Last().Value() + TUInt128(1);
    }
    FUZZ_CHECK(ended);
    for (int row = 0; row < plan.RowCount(); ++row)
        FUZZ_CHECK(plan.RowCells(row).size() == plan.Headers().size());
    (void)plan.TableText();
    return 0;
}
