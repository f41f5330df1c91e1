#pragma once

// The binary records of the "LatencyCalc" settings subkey, little-endian
// whatever the host:
//
//   node record, 8 bytes:     PacketSize (int32, bytes), ProcessTime (int32, ms)
//   network record, 24 bytes: Bandwidth (IEEE double, Mbps) at 0, left (int32)
//                             at 8, kind ordinal (byte) at 12, 3 padding bytes,
//                             PropDelay (int32, ms) at 16, top (int32) at 20

#include <optional>

#include <QByteArray>
#include <QtGlobal>

struct TNodeRecord
{
    static constexpr int Size = 8;

    qint32 PacketSize = 0;
    qint32 ProcessTime = 0;

    QByteArray Encode() const;
    // Only a record of exactly Size bytes decodes.
    static std::optional<TNodeRecord> Decode(const QByteArray &bytes);
    bool operator==(const TNodeRecord &) const = default;
};

struct TNetworkRecord
{
    static constexpr int Size = 24;

    double Bandwidth = 0.0;
    qint32 Left = 0;
    quint8 KindOrdinal = 0;  // the raw byte; the reader decides what it means
    qint32 PropDelay = 0;
    qint32 Top = 0;

    // The padding is written as zeros.
    QByteArray Encode() const;
    // Only a record of exactly Size bytes decodes; the padding is ignored.
    static std::optional<TNetworkRecord> Decode(const QByteArray &bytes);
    bool operator==(const TNetworkRecord &) const = default;
};
