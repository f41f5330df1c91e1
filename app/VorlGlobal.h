#pragma once

// Shared by every module: the program's exception type, checked integer
// helpers, and the window placement record kept in the settings store.

#include <cstdint>
#include <exception>
#include <optional>

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QString>

// A failure with a fixed, user-facing message. Handlers let it escape; the
// application's default error handler shows the message and carries on.
class TVorlError : public std::exception
{
public:
    explicit TVorlError(QString message);
    const QString &Message() const noexcept { return FMessage; }
    const char *what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

[[noreturn]] void RaiseError(const QString &message);

// "Integer overflow" when the result leaves the signed 32-bit range.
qint32 CheckedAdd(qint32 a, qint32 b);
qint32 CheckedSub(qint32 a, qint32 b);
qint32 CheckedMul(qint32 a, qint32 b);

// Whole-text decimal conversion: optional sign, digits, nothing else (no
// blanks). Throws "'%s' is not a valid integer value" otherwise or when the
// value leaves the signed 32-bit range.
qint32 StrToInt(const QString &text);

// The window state byte of the placement record.
enum class TPlacementState : quint8 { psNormal = 0, psMinimized = 1, psMaximized = 2 };

// The 20-byte "Position" record, little-endian: Left, Top, Right, Bottom
// (signed 32-bit, outer frame in screen pixels), the state byte, 3 padding bytes.
struct TPlacementRecord
{
    static constexpr int Size = 20;

    qint32 Left = 0;
    qint32 Top = 0;
    qint32 Right = 0;
    qint32 Bottom = 0;
    quint8 WindowState = 0;

    QByteArray Encode() const;
    // Records shorter than 20 bytes count as absent; longer ones are the
    // caller's "Invalid data type" case and never reach here.
    static std::optional<TPlacementRecord> Decode(const QByteArray &bytes);

    // The bounds cut to the screen's size, then moved fully onto it.
    QRect ClampedTo(const QSize &screen) const;
    // Whether the bounds are a rectangle at all (Right above Left, Bottom
    // above Top); a reversed record is a corrupted one.
    bool HasProperBounds() const { return Right > Left && Bottom > Top; }
};

// Character classes of the number key filters. Only the ASCII codes count:
// any other character is none of these.
bool IsBinDigit(QChar c);     // "0", "1"
bool IsControlChar(QChar c);  // codes 0-31
bool IsDecDigit(QChar c);     // "0"-"9"
bool IsHexDigit(QChar c);     // "0"-"9", "A"-"F", "a"-"f"
