#pragma once

// One unsigned number of 8, 16 or 32 bits and its decimal, hexadecimal and
// binary texts, plus the text helpers those texts are built from.

#include <functional>

#include <QString>
#include <QtGlobal>

// The ordinal is the item index of the width selector.
enum class TNumberWidth { nw8Bits, nw16Bits, nw32Bits };

int BitCount(TNumberWidth width);       // 8, 16, 32
int HexDigitCount(TNumberWidth width);  // 2, 4, 8
quint32 MaxValueOf(TNumberWidth width); // 255, 65,535, 4,294,967,295

class TBinDecHexNumber
{
public:
    using TNotifyEvent = std::function<void(TBinDecHexNumber *sender)>;

    TBinDecHexNumber() = default;
    virtual ~TBinDecHexNumber() = default;
    Q_DISABLE_COPY_MOVE(TBinDecHexNumber)

    // With grouping the texts carry separators: "1,234", "04 D2",
    // "00000100 11010010".
    bool Grouping() const { return FGrouping; }
    void SetGrouping(bool grouping);

    quint32 MaxValue() const { return FMaxValue; }

    // Narrowing keeps only the low bits of the value, so Value <= MaxValue
    // holds at every width.
    TNumberWidth Width() const { return FWidth; }
    void SetWidth(TNumberWidth width);

    quint32 Value() const { return FValue; }
    // A value above MaxValue is refused (OnError) and the old one kept.
    void SetValue(quint32 value);

    // The bitwise complement within the current width.
    void Invert();

    QString DecText() const;
    QString HexText() const;
    QString BinText() const;
    // Text to value. Every failure (empty or malformed text, a value that
    // does not fit the width) ends in one OnError and never throws.
    void SetDecText(const QString &text);
    void SetHexText(const QString &text);
    void SetBinText(const QString &text);

    TNotifyEvent OnChange;
    TNotifyEvent OnError;

protected:
    virtual void DoChange();
    virtual void DoError();

private:
    // Step 2 of a text assignment: strips the separators and converts, or
    // throws TVorlError.
    using TTextReader = quint32 (*)(const QString &stripped);
    void SetText(const QString &text, TTextReader reader);

    bool FGrouping = false;
    quint32 FMaxValue = 0xFFFFFFFFu;
    TNumberWidth FWidth = TNumberWidth::nw32Bits;
    quint32 FValue = 0;
};

// The rightmost character is bit 0. A "1" sets its bit, any other character
// is a 0 digit that still takes its position. Bits beyond 31 are dropped.
quint32 BinStrToInt(const QString &text);
// As BinStrToInt, four bits per character; "0"-"9", "A"-"F", "a"-"f" have
// their values, any other character is a 0 digit.
quint32 HexStrToInt(const QString &text);
// The low `count` bits of `value` (count clamped to 0-32), most significant
// first, zero padded to exactly `count` digits.
QString IntToBinStr(quint32 value, int count);

// Puts `separator` before every group of `group` characters counted from
// the right, never before the first character.
QString InsertSeparators(const QString &text, QChar separator, int group);
QString InsertCommas(const QString &text);
QString InsertSpaces(const QString &text, int group);
// Removes every " ", ",", "-" and "."; a text that began with "-" keeps one
// "-" in front when anything else remains.
QString StripSeparators(const QString &text);
