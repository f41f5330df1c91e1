#include "prefix/PrefixSettings.h"

namespace {

// One value of the subkey: its name and type, where it lives in the
// settings, and what a stored value must be to be used.
struct TPrefixSettingsField
{
    const char16_t *Name;
    QString TPrefixSettings::*Text = nullptr;
    qint32 TPrefixSettings::*Integer = nullptr;
    // Texts: at most this long, and one line unless multi-line.
    int MaxLength = 0;
    bool MultiLine = false;
    // Integers: in Minimum..Maximum.
    qint32 Minimum = 0;
    qint32 Maximum = 0;

    TStoreType Type() const { return Text ? TStoreType::stText : TStoreType::stInteger; }
    QString ValueName() const { return QString::fromUtf16(Name); }

    bool Accepts(const TStoreValue &value) const
    {
        if (value.Type != Type())
            return false;
        if (Integer)
            return value.Integer >= Minimum && value.Integer <= Maximum;
        if (value.Text.size() > MaxLength)
            return false;
        return MultiLine || (!value.Text.contains(u'\n') && !value.Text.contains(u'\r'));
    }
};

const TPrefixSettingsField Fields[] = {
    {u"Entry", &TPrefixSettings::Entry, nullptr, TPrefixSettings::MaxEntryLength},
    {u"SplitLength", nullptr, &TPrefixSettings::SplitLength, 0, false, 0, 128},
    {u"GoTo", &TPrefixSettings::GoTo, nullptr, TPrefixSettings::MaxGoToLength},
    {u"Plan", &TPrefixSettings::Plan, nullptr, TPrefixSettings::MaxStoredTextLength, true},
    {u"Summary", &TPrefixSettings::Summary, nullptr, TPrefixSettings::MaxStoredTextLength, true},
    {u"Page", nullptr, &TPrefixSettings::Page, 0, false, 0, TPrefixSettings::PageCount - 1},
};

} // namespace

std::optional<TPrefixSettings> ReadPrefixSettings(TStoreBackend &store)
{
    if (!store.KeyExists(PrefixSettingsKey))
        return std::nullopt;
    TPrefixSettings settings;
    for (const TPrefixSettingsField &field : Fields) {
        // The value as stored, whatever its type: its type is checked here.
        const std::optional<TStoreValue> value = store.ReadValue(PrefixSettingsKey, field.ValueName());
        if (!value)
            continue;
        if (!field.Accepts(*value)) {
            settings.Problems.append(QStringLiteral("Invalid data type for '%1'").arg(field.ValueName()));
            continue;
        }
        if (field.Text)
            settings.*field.Text = value->Text;
        else
            settings.*field.Integer = value->Integer;
    }
    return settings;
}

QString StoredText(const QString &text, int maxLength)
{
    if (text.size() <= maxLength)
        return text;
    // The whole lines that fit; a single longer line, as far as it fits.
    const qsizetype end = text.lastIndexOf(u'\n', maxLength);
    return text.left(end > 0 ? end : maxLength);
}

void WritePrefixSettings(const TPrefixSettings &settings, TStoreBackend &store)
{
    TRegKey key(store);
    key.OpenKey(PrefixSettingsKey, true);
    for (const TPrefixSettingsField &field : Fields) {
        if (field.Integer) {
            key.WriteInteger(field.ValueName(), settings.*field.Integer);
            continue;
        }
        key.WriteString(field.ValueName(), StoredText(settings.*field.Text, field.MaxLength));
    }
    key.CloseKey();
}
