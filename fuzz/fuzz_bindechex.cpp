// The Radixel number's three text setters: any text either becomes the value
// (one change notice at most) or ends in exactly one error notice with the
// old value kept; never an exception, never a value above the width's
// maximum. The number's own texts, grouped or not, read back to its value.
//   input: mode byte (setter, width, grouping), start value (4 bytes), text

#include "fuzz/FuzzCommon.h"

#include "radix/BinDecHex.h"

namespace {

enum TSetter { sDec, sHex, sBin };

void SetTextBy(TBinDecHexNumber &number, TSetter setter, const QString &text)
{
    switch (setter) {
    case sDec: number.SetDecText(text); break;
    case sHex: number.SetHexText(text); break;
    case sBin: number.SetBinText(text); break;
    }
}

QString TextBy(const TBinDecHexNumber &number, TSetter setter)
{
    switch (setter) {
    case sDec: return number.DecText();
    case sHex: return number.HexText();
    case sBin: return number.BinText();
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TFuzzInput input(data, size);
    const uint8_t mode = input.Byte();
    const auto setter = TSetter(mode % 3);
    const auto width = TNumberWidth(mode / 3 % 3);
    const bool grouping = mode & 0x80;
    const quint32 start = input.UInt32();
    const QString text = input.Text();

    TBinDecHexNumber number;
    int changes = 0;
    int errors = 0;
    number.OnChange = [&](TBinDecHexNumber *) { ++changes; };
    number.OnError = [&](TBinDecHexNumber *) { ++errors; };
    number.SetWidth(width);
    number.SetGrouping(grouping);
    number.SetValue(start & number.MaxValue());
    FUZZ_CHECK(errors == 0);

    const quint32 before = number.Value();
    changes = 0;
    try {
        SetTextBy(number, setter, text);
    } catch (...) {
        FUZZ_CHECK(!"a text setter threw");
    }
    FUZZ_CHECK(number.Value() <= number.MaxValue());
    FUZZ_CHECK(errors + changes <= 1);
    if (errors)
        FUZZ_CHECK(number.Value() == before);
    if (number.Value() != before)
        FUZZ_CHECK(changes == 1);

    // Round trips of every text form, grouped and plain, at this width.
    const quint32 value = number.Value();
    const int errorsSoFar = errors;
    for (const bool group : {false, true}) {
        number.SetGrouping(group);
        for (const TSetter form : {sDec, sHex, sBin}) {
            const QString own = TextBy(number, form);
            SetTextBy(number, form, own);
            FUZZ_CHECK(errors == errorsSoFar);
            FUZZ_CHECK(number.Value() == value);
        }
    }
    return 0;
}
