// The typed bandwidth of the network properties: any text is either a finite
// number or the fixed message, never a crash, never an infinity or NaN; the
// shown form of a value reads back, and its exact form reads back exactly.

#include "fuzz/FuzzCommon.h"

#include <cmath>

#include "app/VorlGlobal.h"
#include "latency/NetworkKinds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TFuzzInput input(data, size);
    const QString text = input.Text();

    double value = 0;
    try {
        value = ReadBandwidthText(text);
    } catch (const TVorlError &error) {
        FUZZ_CHECK(error.Message() == QStringLiteral("'%1' is not a valid floating point value").arg(text));
        return 0;
    }
    FUZZ_CHECK(std::isfinite(value));
    FUZZ_CHECK(ReadBandwidthText(QString::number(value, 'g', 17)) == value);

    // Six significant digits: within one part in 10^5 (or rounded to a
    // finite neighbour at the ends of the range).
    const QString shown = FormatBandwidth(value);
    double back = 0;
    try {
        back = ReadBandwidthText(shown);
    } catch (const TVorlError &) {
        // The largest doubles round up past the range when shortened.
        FUZZ_CHECK(std::fabs(value) > 1.79e308);
        return 0;
    }
    FUZZ_CHECK(std::isfinite(back));
    FUZZ_CHECK(std::fabs(back - value) <= std::fabs(value) * 1e-5 || std::fabs(value) < 1e-300);
    return 0;
}
