// The spin edit's text reading: any text gives a 32-bit value without a
// crash; empty text keeps the committed value, and the value's own decimal
// text reads back to it.
//   input: committed value (4 bytes), then the typed text

#include "fuzz/FuzzCommon.h"

#include "controls/BetterSpinEdit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TFuzzInput input(data, size);
    const qint32 committed = qint32(input.UInt32());
    const QString text = input.Text();

    const qint32 value = TBetterSpinEdit::ReadTextValue(text, committed);
    if (text.isEmpty())
        FUZZ_CHECK(value == committed);
    // A non-zero value needs a digit somewhere in the text.
    if (value != 0 && !text.isEmpty()) {
        bool digit = false;
        for (const QChar c : text)
            digit = digit || (c >= u'1' && c <= u'9');
        FUZZ_CHECK(digit);
    }
    FUZZ_CHECK(TBetterSpinEdit::ReadTextValue(QString::number(value), ~value) == value);
    FUZZ_CHECK(TBetterSpinEdit::ReadTextValue(QString::number(committed), ~committed) == committed);
    return 0;
}
