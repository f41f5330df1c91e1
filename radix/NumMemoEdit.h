#pragma once

// The edit step of the Radixel number displays. A display never edits its
// own text: every character typed into it goes through a character filter
// and this step, which rewrite the text at its end; the result is handed to
// the number model, which converts it or refuses it.

#include <optional>

#include <QChar>
#include <QString>
#include <QtGlobal>

#include "radix/BinDecHex.h"

// The three displays; the ordinal is their order on the page.
enum class TNumBase { nbDec, nbHex, nbBin };

// The typing limit of a display in characters, grouping separators
// included: as long as the text of the width's largest value ("65,535",
// "FF FF", "11111111 11111111" at 16 bits).
int NumMemoMaxLength(TNumberWidth width, TNumBase base);

// What typing `key` does to the `text` of the display of `base` while the
// number is `value` at `width`: the display's new text (the text itself
// when the key changes nothing), or none when the key is refused, which
// the display answers with the beep.
//
// The filter takes the base's digits (hexadecimal ones upper-cased), "+"
// and "-" on the decimal display, and the control characters (codes 0-31)
// except line feed and escape. Backspace removes the last character and
// "-" toggles a leading minus, both only while the value is not 0; "+"
// removes a leading minus; other control characters change nothing. A digit
// is appended while the text is shorter than the display's limit; at the
// limit a leading "0" is shifted out first, like a shift register, and
// without one the digit is refused.
std::optional<QString> EditNumMemoText(TNumBase base, TNumberWidth width, quint32 value, const QString &text,
                                       QChar key);
