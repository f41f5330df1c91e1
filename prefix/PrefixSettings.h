#pragma once

// The Prefix calculator's "Prefix" settings subkey: each page's inputs.
//
//   "Entry"        text     the prefix entry, as typed
//   "SplitLength"  integer  the split's chosen length; 0 while none was
//                           chosen (the prefix's default applies)
//   "GoTo"         text     the last "Go to #" text
//   "Plan"         text     the plan's requirement lines
//   "Summary"      text     the Summarize page's lines
//   "Page"         integer  the page shown, 0 to 3
//
// Reading never trusts the store. A value of another type, or one no input
// of the pages could have produced (a length past 128, a page past 3, a
// one-line text with a line break, a text longer than its field takes),
// keeps its default and is named in Problems ("Invalid data type for
// 'Page'"); every other value is used. A missing value keeps its default.
// Widget-free, so that it is tested without a window.

#include <optional>

#include <QString>
#include <QStringList>

#include "app/SettingsStore.h"

inline const QString PrefixSettingsKey = MainSettingsKey + QStringLiteral("\\Prefix");

struct TPrefixSettings
{
    // The longest entry and "Go to #" texts the fields take, and the longest
    // requirement or summary text the store keeps: the registry holds values
    // of up to a megabyte well, two bytes a character.
    static constexpr int MaxEntryLength = 100;
    static constexpr int MaxGoToLength = 60;
    static constexpr int MaxStoredTextLength = 262144;
    static constexpr int PageCount = 4;

    // The first start's inputs: a prefix and lines that show what each page does.
    QString Entry = QStringLiteral("192.168.1.0/24");
    qint32 SplitLength = 0;
    QString GoTo;
    QString Plan = QStringLiteral("Sales 120\nLab 50\nLinks 2");
    QString Summary = QStringLiteral("192.168.0.0/24\n192.168.1.0 - 192.168.1.255\n192.168.2.0 255.255.255.128\n"
                                     "2001:db8::/48  # lab");
    qint32 Page = 0;
    // "Invalid data type for 'Page'" and the like, in table order.
    QStringList Problems;
};

// Reads the subkey; none when it does not exist.
std::optional<TPrefixSettings> ReadPrefixSettings(TStoreBackend &store = TStoreBackend::User());

// A text as the store keeps it: longer than `maxLength`, the whole lines
// that fit (a first line longer than that, its first `maxLength` characters).
QString StoredText(const QString &text, int maxLength);

// Writes every value, creating the subkey when needed; texts as StoredText
// keeps them. Raises the store's "Failed to set data for '%s'"
// when it cannot be written.
void WritePrefixSettings(const TPrefixSettings &settings, TStoreBackend &store = TStoreBackend::User());
