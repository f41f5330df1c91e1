#include "app/VorlGlobal.h"

#include <algorithm>
#include <limits>

#include <QtEndian>

TVorlError::TVorlError(QString message)
    : FMessage(std::move(message))
    , FUtf8(FMessage.toUtf8())
{
}

void RaiseError(const QString &message)
{
    throw TVorlError(message);
}

namespace {

qint32 CheckedResult(qint64 result)
{
    if (result > std::numeric_limits<qint32>::max() || result < std::numeric_limits<qint32>::min())
        RaiseError(QStringLiteral("Integer overflow"));
    return static_cast<qint32>(result);
}

} // namespace

qint32 CheckedAdd(qint32 a, qint32 b) { return CheckedResult(qint64(a) + b); }
qint32 CheckedSub(qint32 a, qint32 b) { return CheckedResult(qint64(a) - b); }
qint32 CheckedMul(qint32 a, qint32 b) { return CheckedResult(qint64(a) * b); }

qint32 StrToInt(const QString &text)
{
    bool ok = false;
    const qint32 value = text.toInt(&ok, 10);
    const bool plain = !text.isEmpty() && !text.front().isSpace() && !text.back().isSpace();
    if (!ok || !plain)
        RaiseError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

QByteArray TPlacementRecord::Encode() const
{
    QByteArray bytes(Size, '\0');
    char *p = bytes.data();
    qToLittleEndian<qint32>(Left, p);
    qToLittleEndian<qint32>(Top, p + 4);
    qToLittleEndian<qint32>(Right, p + 8);
    qToLittleEndian<qint32>(Bottom, p + 12);
    p[16] = static_cast<char>(WindowState);
    return bytes;
}

std::optional<TPlacementRecord> TPlacementRecord::Decode(const QByteArray &bytes)
{
    if (bytes.size() < Size)
        return std::nullopt;
    const char *p = bytes.constData();
    TPlacementRecord r;
    r.Left = qFromLittleEndian<qint32>(p);
    r.Top = qFromLittleEndian<qint32>(p + 4);
    r.Right = qFromLittleEndian<qint32>(p + 8);
    r.Bottom = qFromLittleEndian<qint32>(p + 12);
    r.WindowState = static_cast<quint8>(p[16]);
    return r;
}

QRect TPlacementRecord::ClampedTo(const QSize &screen) const
{
    // 64-bit so that absurd stored values cannot overflow.
    const qint64 w = screen.width();
    const qint64 h = screen.height();
    qint64 left = Left, top = Top, right = Right, bottom = Bottom;
    if (right - left > w)
        right = left + w;
    if (bottom - top > h)
        bottom = top + h;
    const qint64 dx = left < 0 ? -left : (right > w ? w - right : 0);
    const qint64 dy = top < 0 ? -top : (bottom > h ? h - bottom : 0);
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
    // A reversed rectangle (Right < Left) would give a negative size: the
    // window keeps its position and the caller's minimum size applies.
    const auto clampInt = [](qint64 v) {
        return static_cast<int>(std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    };
    return QRect(clampInt(left), clampInt(top), clampInt(qMax<qint64>(0, right - left)),
                 clampInt(qMax<qint64>(0, bottom - top)));
}

bool IsBinDigit(QChar c)
{
    return c == u'0' || c == u'1';
}

bool IsControlChar(QChar c)
{
    return c.unicode() < 32;
}

bool IsDecDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool IsHexDigit(QChar c)
{
    const char16_t upper = (c >= u'a' && c <= u'z') ? char16_t(c.unicode() - 32) : c.unicode();
    return IsDecDigit(QChar(upper)) || (upper >= u'A' && upper <= u'F');
}
