#include "radix/NumMemoEdit.h"

#include "app/VorlGlobal.h"

namespace {

constexpr char16_t Backspace = 8;
constexpr char16_t LineFeed = 10;
constexpr char16_t Escape = 27;

// By width (rows) and base (columns).
constexpr int MaxLengths[3][3] = {{3, 2, 8}, {6, 5, 17}, {13, 11, 35}};

bool IsAcceptedKey(TNumBase base, QChar key)
{
    if (IsControlChar(key))
        return key != QChar(LineFeed) && key != QChar(Escape);
    switch (base) {
    case TNumBase::nbDec:
        return IsDecDigit(key) || key == u'+' || key == u'-';
    case TNumBase::nbHex:
        return IsHexDigit(key);
    case TNumBase::nbBin:
        break;
    }
    return IsBinDigit(key);
}

} // namespace

int NumMemoMaxLength(TNumberWidth width, TNumBase base)
{
    return MaxLengths[qBound(0, int(width), 2)][qBound(0, int(base), 2)];
}

std::optional<QString> EditNumMemoText(TNumBase base, TNumberWidth width, quint32 value, const QString &text,
                                       QChar key)
{
    if (!IsAcceptedKey(base, key))
        return std::nullopt;
    if (base == TNumBase::nbHex)
        key = key.toUpper();

    QString edited = text;
    if (key == QChar(Backspace)) {
        if (value != 0)
            edited.chop(1);
    } else if (key == u'-') {
        if (value != 0) {
            if (edited.startsWith(u'-'))
                edited.remove(0, 1);
            else
                edited.prepend(u'-');
        }
    } else if (key == u'+') {
        if (edited.startsWith(u'-'))
            edited.remove(0, 1);
    } else if (IsControlChar(key)) {
        // Enter and Ctrl+letter are no digits: they change nothing.
    } else if (edited.size() < NumMemoMaxLength(width, base)) {
        edited.append(key);
    } else if (edited.startsWith(u'0')) {
        edited = edited.mid(1) + key;
    } else {
        return std::nullopt;
    }
    return edited;
}
