// The stored latency records: only a record of the exact size decodes, and a
// decoded record encodes back to the same bytes (padding as zeros), NaN and
// infinite bandwidths included.
//   input: which record (byte), then the stored bytes

#include "fuzz/FuzzCommon.h"

#include "latency/LatencySettingsRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TFuzzInput input(data, size);
    const bool network = input.Byte() & 1;
    const QByteArray bytes = input.Rest();

    if (network) {
        const auto record = TNetworkRecord::Decode(bytes);
        FUZZ_CHECK(record.has_value() == (bytes.size() == TNetworkRecord::Size));
        if (!record)
            return 0;
        QByteArray expected = bytes;
        expected[13] = expected[14] = expected[15] = '\0';
        FUZZ_CHECK(record->Encode() == expected);
    } else {
        const auto record = TNodeRecord::Decode(bytes);
        FUZZ_CHECK(record.has_value() == (bytes.size() == TNodeRecord::Size));
        if (!record)
            return 0;
        FUZZ_CHECK(record->Encode() == bytes);
        FUZZ_CHECK(TNodeRecord::Decode(record->Encode()) == record);
    }
    return 0;
}
