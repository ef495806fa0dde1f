#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <vector>

#include "logs/logmodel.h"

/// The logs of one "lgr b" stream as the device recorded them, before naming and colouring.
struct LogStreamDecodeResult {
    /// SamplePeriod, Samples (Altitude, AutoStop, AutoStopTime), ZoomLevel -1, ChartType 0,
    /// LockZoom 1; the other fields keep their defaults.
    TData logs;
    /// Per log, the pressure of each sample in Pa, as the records give it.
    QList<std::vector<qint32>> pressurePa;
    /// The stream ended with its end marker (not cut off).
    bool endMarkerSeen = false;
    /// Records that carried no meaning: samples before the first log start, a last record cut short.
    int ignoredRecords = 0;
};

/// Where the record stream starts in the received bytes (3 bytes before the first 0x7F, which
/// belongs to the first log-start record); -1 when there is no 0x7F or it lies in the first
/// three bytes, which means the device sent no log.
qsizetype FindLogStreamStart(QByteArrayView received);

/// Whether the received bytes hold the end marker (four 0x80 anywhere).
bool ContainsLogStreamEnd(QByteArrayView received);

/// Decodes the 4-byte records from the start of stream up to the end marker or the last whole
/// record. Pure: no I/O, any bytes are safe.
LogStreamDecodeResult DecodeLogStream(QByteArrayView stream);
