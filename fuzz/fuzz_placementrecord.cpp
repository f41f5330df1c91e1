// The stored window placement: any 20 bytes or more decode, re-encode to the
// same fields, and clamp to any screen without overflowing; a frame that fits
// the screen ends up fully on it.
//   input: screen width (2 bytes), screen height (2 bytes), the record bytes

#include "fuzz/FuzzCommon.h"

#include "app/VorlGlobal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TFuzzInput input(data, size);
    const int width = input.Byte() | input.Byte() << 8;
    const int height = input.Byte() | input.Byte() << 8;
    const QByteArray bytes = input.Rest();

    const std::optional<TPlacementRecord> record = TPlacementRecord::Decode(bytes);
    FUZZ_CHECK(record.has_value() == (bytes.size() >= TPlacementRecord::Size));
    if (!record)
        return 0;

    // Every field survives; the padding is written as zeros.
    const QByteArray again = record->Encode();
    FUZZ_CHECK(again.size() == TPlacementRecord::Size);
    FUZZ_CHECK(again.left(17) == bytes.left(17));
    FUZZ_CHECK(again.mid(17) == QByteArray(3, '\0'));

    const QSize screen(width, height);
    const QRect rect = record->ClampedTo(screen);
    FUZZ_CHECK(rect.width() >= 0 && rect.height() >= 0);
    FUZZ_CHECK(rect.width() <= width && rect.height() <= height);

    // A proper frame (not reversed) is moved fully onto the screen.
    const qint64 w = qint64(record->Right) - record->Left;
    const qint64 h = qint64(record->Bottom) - record->Top;
    if (w >= 0) {
        FUZZ_CHECK(rect.width() == std::min<qint64>(w, width));
        FUZZ_CHECK(rect.left() >= 0 && qint64(rect.left()) + rect.width() <= width);
    }
    if (h >= 0) {
        FUZZ_CHECK(rect.height() == std::min<qint64>(h, height));
        FUZZ_CHECK(rect.top() >= 0 && qint64(rect.top()) + rect.height() <= height);
    }
    return 0;
}
