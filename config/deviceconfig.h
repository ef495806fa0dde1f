#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <cstddef>

/// The device's logging parameters. The record is stored byte for byte in every native log
/// file, so its layout is fixed: 27 bytes, packed, little-endian.
#pragma pack(push, 1)
struct DeviceConfig {
    quint8 Valid = 0;              // 1 once a "cfg" reply was parsed; log files bring their own value
    qint32 MAFL = 0;               // moving average filter length, samples; 0 = no filtering
    qint32 SD = 0;                 // sample delay, ms
    qint32 LR = 0;                 // log ratio: one point logged per LR samples
    qint32 TCR = 0;                // temperature compensation ratio
    quint8 Reserved1[2] = {0, 0};  // carried through files unchanged
    qint32 LASS = 0;               // auto stop/start delay, s; 0 = off
    quint8 CE = 0;                 // compression enabled
    quint8 Reserved2 = 0;
    quint8 LE = 0;  // logging enabled
    char DP = 0;    // decimal point character

    static constexpr int kSize = 27;

    /// The record as stored in files.
    QByteArray toBytes() const;
    /// The record from kSize stored bytes; bytes must hold at least kSize bytes.
    static DeviceConfig fromBytes(QByteArrayView bytes);

    /// Milliseconds between two logged points: SD × LR, or 1000 when LR is 0 or less.
    qint32 loggedPointInterval() const;
};
#pragma pack(pop)
static_assert(sizeof(DeviceConfig) == DeviceConfig::kSize, "DeviceConfig is the 27-byte file layout");
static_assert(offsetof(DeviceConfig, MAFL) == 1);
static_assert(offsetof(DeviceConfig, SD) == 5);
static_assert(offsetof(DeviceConfig, LR) == 9);
static_assert(offsetof(DeviceConfig, TCR) == 13);
static_assert(offsetof(DeviceConfig, LASS) == 19);
static_assert(offsetof(DeviceConfig, CE) == 23);
static_assert(offsetof(DeviceConfig, LE) == 25);
static_assert(offsetof(DeviceConfig, DP) == 26);

bool operator==(const DeviceConfig& a, const DeviceConfig& b);
inline bool operator!=(const DeviceConfig& a, const DeviceConfig& b) { return !(a == b); }
