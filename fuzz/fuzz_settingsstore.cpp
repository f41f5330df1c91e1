// The settings file reader: any bytes in the file are read without a crash,
// and whatever was understood is written back in a form that reads again to
// exactly the same tree (every key, name, type and value).

#include "fuzz/FuzzCommon.h"

#include <QStringList>

#include "app/SettingsStore.h"

namespace {

// No file behind it: the store only parses and serialises.
const QString NoFile = QStringLiteral("/nonexistent-tarvelo-fuzz/settings.reg");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));

    TSettingsStore first(NoFile);
    first.Parse(text);
    const QByteArray written = first.Serialize();

    TSettingsStore second(NoFile);
    FUZZ_CHECK(second.Parse(written));
    FUZZ_CHECK(second.Serialize() == written);

    // The same values through the lookup, key by key, not only the same
    // text: a value that changed on its way out would pass the check above.
    const QByteArray header = "[HKEY_CURRENT_USER\\";
    for (const QByteArray &line : written.split('\n')) {
        if (!line.startsWith(header))
            continue;
        const QString path = QString::fromUtf8(line.trimmed().chopped(1).mid(header.size()));
        const QStringList names = first.ValueNames(path);
        FUZZ_CHECK(names == second.ValueNames(path));
        for (const QString &name : names) {
            const std::optional<TStoreValue> a = first.ReadValue(path, name);
            const std::optional<TStoreValue> b = second.ReadValue(path, name);
            FUZZ_CHECK(a && b && *a == *b);
        }
    }
    return 0;
}
