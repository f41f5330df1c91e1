// The Radixel number's three text setters: any text either becomes the value
// (one change notice at most) or ends in exactly one error notice with the
// old value kept; never an exception, never a value above the width's
// maximum. The number's own texts, grouped or not, read back to its value.
// Typed key by key through the displays' edit step instead, every text the
// step gives stays within a character of the shown one and reaches the
// setter as the display hands it on.
//   input: mode byte (setter, width, typing, grouping), start value
//   (4 bytes), text

#include "fuzz/FuzzCommon.h"

#include "app/VorlGlobal.h"
#include "radix/BinDecHex.h"
#include "radix/NumMemoEdit.h"

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

bool IsDigitOf(TNumBase base, QChar key)
{
    switch (base) {
    case TNumBase::nbDec: return IsDecDigit(key);
    case TNumBase::nbHex: return IsHexDigit(key);
    case TNumBase::nbBin: return IsBinDigit(key);
    }
    return false;
}

// The keys as the display of `setter` takes them: each through the edit
// step, the text it gives to the number as the display's change handler
// does (an empty text reads "0"), the display then showing the number's text.
void TypeKeys(TBinDecHexNumber &number, TSetter setter, const QString &keys)
{
    const auto base = TNumBase(setter);
    const int limit = NumMemoMaxLength(number.Width(), base);
    QString shown = TextBy(number, setter);
    for (const QChar key : keys) {
        const std::optional<QString> edited = EditNumMemoText(base, number.Width(), number.Value(), shown, key);
        if (!edited) {
            // Of the control characters only line feed and escape; a digit
            // of the base only at the limit, with no "0" to shift out.
            FUZZ_CHECK(!IsControlChar(key) || key == u'\n' || key == u'\x1b');
            if (IsDigitOf(base, key))
                FUZZ_CHECK(shown.size() >= limit && !shown.startsWith(u'0'));
            continue;
        }
        FUZZ_CHECK(edited->size() <= shown.size() + 1);
        if (!IsControlChar(key) && key != u'+' && key != u'-')
            FUZZ_CHECK(edited->endsWith(base == TNumBase::nbHex ? key.toUpper() : key));
        const QString text = edited->isEmpty() ? QStringLiteral("0") : *edited;
        if (text == u"-")
            continue;
        SetTextBy(number, setter, text);
        FUZZ_CHECK(number.Value() <= number.MaxValue());
        shown = TextBy(number, setter);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TFuzzInput input(data, size);
    const uint8_t mode = input.Byte();
    const auto setter = TSetter(mode % 3);
    const auto width = TNumberWidth(mode / 3 % 3);
    const bool typing = mode & 0x40;
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
        if (typing)
            TypeKeys(number, setter, text);
        else
            SetTextBy(number, setter, text);
    } catch (...) {
        FUZZ_CHECK(!"a text setter or the edit step threw");
    }
    FUZZ_CHECK(number.Value() <= number.MaxValue());
    if (!typing) {
        FUZZ_CHECK(errors + changes <= 1);
        if (errors)
            FUZZ_CHECK(number.Value() == before);
        if (number.Value() != before)
            FUZZ_CHECK(changes == 1);
    }

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
