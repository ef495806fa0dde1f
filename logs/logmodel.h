#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <vector>

/// One altitude sample. The sample array of a log is stored in native log files as raw
/// memory, so this layout is fixed: 24 bytes, little-endian.
#pragma pack(push, 1)
struct TLogSample {
    double SampleNo = 0;            // position in the log for CSV imports; 0 from the device
    double Altitude = 0;            // metres
    quint8 AutoStop = 0;            // an auto-stop mark lies on this sample
    quint8 Padding[3] = {0, 0, 0};  // carried unchanged through files
    qint32 AutoStopTime = 0;        // seconds; -1 = the final auto stop; 0 without a mark
};
#pragma pack(pop)
static_assert(sizeof(TLogSample) == 24, "TLogSample is the 24-byte file layout");
static_assert(offsetof(TLogSample, Altitude) == 8);
static_assert(offsetof(TLogSample, AutoStop) == 16);
static_assert(offsetof(TLogSample, AutoStopTime) == 20);

/// Colours are 0x00BBGGRR, as the device's home platform stores them.
using TColor = quint32;

/// The longest background-image path a log keeps.
constexpr int kImageFileMaxChars = 200;

/// One log: its samples and the presentation and view state that belong to it.
struct TMeas {
    qint32 SamplePeriod = 1000;  // milliseconds between two samples
    std::vector<TLogSample> Samples;
    TColor ChartColor = 0;
    TColor BackColor = 0;
    QString ImageFile;  // at most kImageFileMaxChars characters; empty = no image
    qint32 ImageLevel = 0;
    qint32 ZoomRect[4] = {0, 0, 0, 0};  // left, top, right, bottom; all zero = none
    quint8 LockZoom = 0;
    qint32 ZoomLevel = -1;  // minutes of the visible window; -1 = the whole log
    qint32 ViewFirst = 0;
    qint32 ViewLast = 0;
    quint8 ChartType = 0;  // 0 = line, 1 = points
    double MinAlt = 0;
    double MaxAlt = 0;
    quint8 ChartTab = 0;
    double AxisMin = 0;
    double AxisMax = 0;
    double BaseAlt = 0;  // reference altitude for the relative display
};

/// All logs, in list order.
using TData = QList<TMeas>;
