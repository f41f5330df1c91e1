#pragma once

// Shared by the fuzz targets: the entry point libFuzzer calls, a check that
// stays on in release builds, and the ways a target turns raw bytes into
// the text a user could have typed or a file could have held.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QByteArray>
#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// A broken invariant is a crash for libFuzzer and a failure for the replay.
#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__,      \
                         #condition);                                                      \
            std::abort();                                                                  \
        }                                                                                  \
    } while (false)

// Consumes bytes from the front of the input.
class TFuzzInput
{
public:
    TFuzzInput(const uint8_t *data, size_t size) : FData(data), FSize(size) {}

    size_t Remaining() const { return FSize; }

    uint8_t Byte()
    {
        if (FSize == 0)
            return 0;
        --FSize;
        return *FData++;
    }

    // Little-endian; missing bytes count as zero.
    uint32_t UInt32()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= uint32_t(Byte()) << (8 * i);
        return value;
    }

    QByteArray Rest()
    {
        QByteArray bytes(reinterpret_cast<const char *>(FData), qsizetype(FSize));
        FData += FSize;
        FSize = 0;
        return bytes;
    }

    // The rest as text. The mode byte picks UTF-8 (what a file or a paste
    // holds, invalid sequences included) or raw UTF-16 (any QString at all,
    // lone surrogates included).
    QString Text()
    {
        const bool utf16 = Byte() & 1;
        const QByteArray bytes = Rest();
        if (!utf16)
            return QString::fromUtf8(bytes);
        return QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2);
    }

private:
    const uint8_t *FData;
    size_t FSize;
};
