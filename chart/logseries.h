#pragma once

#include <QString>
#include <vector>

#include "logs/logmodel.h"

class TLogChart;

/// Samples in the climb/dive-rate difference window: those of 5 seconds, at least 1 (25 at
/// 200 ms, 5 at 1000 ms, 2 at 2500 ms, 1 above 2500 ms).
int RateWindow(qint32 samplePeriodMs);
/// Seconds spanned by the rate window (5 s whenever 5 s hold a whole number of samples).
double RateWindowSeconds(qint32 samplePeriodMs);
/// Samples by which the rate curve is drawn early, so each rate sits near the middle of its
/// window: the samples of 2.5 seconds (2 at 1000 ms, 0 above 2500 ms).
int RateShift(qint32 samplePeriodMs);

/// Logs shorter than this show only the altitude tab; the rate needs some samples to mean anything.
constexpr int kRateTabsMinSamples = 21;
inline bool RateTabsEnabled(int sampleCount) { return sampleCount >= kRateTabsMinSamples; }

/// "Final auto stop" for the final stop (-1), else "Auto stop 12 s".
QString AutoStopLabel(qint32 autoStopTime);

/// Vertical extent of a log on the chart.
struct AltitudeRange {
    double min = 0;        // lower bound: the reference altitude, not above max
    double max = 0;        // highest sample altitude, not below 0
    double reference = 0;  // altitude shown as 0 (the log's BaseAlt, not above max)
};
AltitudeRange ComputeAltitudeRange(const TMeas& log);

struct AutoStopMark {
    int index = 0;  // sample index (x on the chart)
    double y = 0;   // relative altitude of the sample
    QString label;
};

/// Everything the chart shows of one log, computed without any widget.
struct LogSeries {
    std::vector<double> altitude;  // altitude above the reference, point k at x = k
    std::vector<double> rate;      // climb/dive rate in m/s, shifted left, padded with zeros
    std::vector<AutoStopMark> autoStops;
    AltitudeRange range;
    double rateMin = 0;  // over every rate, including the zeros of the first window
    double rateMax = 0;

    /// Home range of the left axis: [min - ref - 2, max - ref + 2].
    double leftMin() const { return range.min - range.reference - 2; }
    double leftMax() const { return range.max - range.reference + 2; }
    double rightMin() const { return rateMin - 1; }
    double rightMax() const { return rateMax + 1; }
};

/// Builds the altitude, rate and auto-stop data of a log in one pass over its samples.
/// Auto stops are collected only when `showAutoStops` is set.
LogSeries BuildLogSeries(const TMeas& log, bool showAutoStops);

/// Empties and refills the altitude line and points (Series1, Series4), the rate line
/// (Series3) and the auto-stop markers (Series2) of the chart, and sets the left and right
/// axes to their home ranges. Visibility, colours and the bottom axis are left alone.
void FillLogSeries(const LogSeries& data, TLogChart& chart);

/// Records in the log what its drawing computed: MinAlt, MaxAlt, AxisMin (-2), AxisMax and ChartTab.
void StoreChartState(const LogSeries& data, int tab, TMeas& log);
