#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

/// One sample of a log as the device stores it.
struct DeviceLogSample {
    qint32 pressurePa = 0;
    /// 0: no mark; > 0: an auto stop of that many seconds after this sample; -1: the final auto
    /// stop (only on the last sample).
    qint32 autoStopTime = 0;
};

struct DeviceLog {
    quint16 periodMs = 1000;  // 0 reads as 1000
    std::vector<DeviceLogSample> samples;
};

/// The pressures an absolute record can carry.
constexpr qint32 kMinRecordPressurePa = 65536;
constexpr qint32 kMaxRecordPressurePa = 65536 + 0xFFFFFF;
/// The longest auto-stop time a record can carry.
constexpr qint32 kMaxAutoStopTimeS = 0xFFFF;

/// Encodes logs as the device's "lgr b" stream, end marker included.
///
/// Deltas of up to ±127 Pa are packed four to a record; a sample is written as an absolute
/// record where a delta would be misread: when it does not fit, when its byte would land in a
/// record's kind position as 0x7E, 0x7F or 0x81, or when the 0x80 fill of a short delta record
/// and the start of the next record would make four 0x80 in a row (the reader stops at those).
/// Marks are placed so that the reader puts them back on the same samples.
///
/// Returns an empty array and sets error when a log cannot be stored: a pressure outside
/// kMinRecordPressurePa..kMaxRecordPressurePa, an auto-stop time outside 1..65535, a mark on
/// the last sample other than the final auto stop, or a final auto stop elsewhere.
QByteArray EncodeLogStream(const std::vector<DeviceLog>& logs, QString* error = nullptr);
