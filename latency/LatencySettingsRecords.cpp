#include "latency/LatencySettingsRecords.h"

#include <cstring>

#include <QtEndian>

namespace {

void PutInt32(QByteArray &bytes, int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, bytes.data() + offset);
}

qint32 GetInt32(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

}  // namespace

QByteArray TNodeRecord::Encode() const
{
    QByteArray bytes(Size, '\0');
    PutInt32(bytes, 0, PacketSize);
    PutInt32(bytes, 4, ProcessTime);
    return bytes;
}

std::optional<TNodeRecord> TNodeRecord::Decode(const QByteArray &bytes)
{
    if (bytes.size() != Size)
        return std::nullopt;
    TNodeRecord record;
    record.PacketSize = GetInt32(bytes, 0);
    record.ProcessTime = GetInt32(bytes, 4);
    return record;
}

QByteArray TNetworkRecord::Encode() const
{
    QByteArray bytes(Size, '\0');
    quint64 bits = 0;
    static_assert(sizeof bits == sizeof Bandwidth);
    std::memcpy(&bits, &Bandwidth, sizeof bits);
    qToLittleEndian<quint64>(bits, bytes.data());
    PutInt32(bytes, 8, Left);
    bytes[12] = static_cast<char>(KindOrdinal);
    PutInt32(bytes, 16, PropDelay);
    PutInt32(bytes, 20, Top);
    return bytes;
}

std::optional<TNetworkRecord> TNetworkRecord::Decode(const QByteArray &bytes)
{
    if (bytes.size() != Size)
        return std::nullopt;
    TNetworkRecord record;
    const quint64 bits = qFromLittleEndian<quint64>(bytes.constData());
    std::memcpy(&record.Bandwidth, &bits, sizeof bits);
    record.Left = GetInt32(bytes, 8);
    record.KindOrdinal = static_cast<quint8>(bytes[12]);
    record.PropDelay = GetInt32(bytes, 16);
    record.Top = GetInt32(bytes, 20);
    return record;
}
