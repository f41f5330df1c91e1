#pragma once

// Small helpers shared by the address model tests.

#include <functional>

#include <QMetaType>
#include <QString>
#include <QStringList>

#include "app/VorlGlobal.h"
#include "ipsubnet/IPAddress.h"

Q_DECLARE_METATYPE(TIPClassType)
Q_DECLARE_METATYPE(TBitsMode)

inline quint32 Addr(quint8 a, quint8 b, quint8 c, quint8 d)
{
    return (quint32(a) << 24) | (quint32(b) << 16) | (quint32(c) << 8) | d;
}

// "10.1.2.3" as a value.
inline quint32 Addr(const QString &dotted)
{
    quint32 value = 0;
    for (const QString &octet : dotted.split(u'.'))
        value = (value << 8) | octet.toUInt();
    return value;
}

inline QString Text(quint32 value)
{
    return TIPAddress::FormatDecimal(value);
}

// The message of the TVorlError that `action` raises, or an empty text.
inline QString ErrorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const TVorlError &error) {
        return error.Message();
    }
    return QString();
}
