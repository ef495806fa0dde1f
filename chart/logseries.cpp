#include "chart/logseries.h"

#include <cmath>

#include "chart/charttext.h"
#include "chart/tlogchart.h"

int RateWindow(qint32 samplePeriodMs) {
    if (samplePeriodMs > 5000) return 1;
    const int k = int(5.0 * SamplesPerSecond(samplePeriodMs));
    return k < 1 ? 1 : k;
}

double RateWindowSeconds(qint32 samplePeriodMs) {
    return RateWindow(samplePeriodMs) / SamplesPerSecond(samplePeriodMs);
}

int RateShift(qint32 samplePeriodMs) { return int(2.5 * SamplesPerSecond(samplePeriodMs)); }

QString AutoStopLabel(qint32 autoStopTime) {
    if (autoStopTime == -1) return QStringLiteral("Final auto stop");
    return QStringLiteral("Auto stop %1 s").arg(autoStopTime);
}

AltitudeRange ComputeAltitudeRange(const TMeas& log) {
    AltitudeRange r;
    for (const TLogSample& s : log.Samples) {
        if (s.Altitude > r.max) r.max = s.Altitude;
    }
    r.min = log.Samples.empty() ? 0.0 : log.BaseAlt;
    r.reference = log.BaseAlt;
    if (r.reference > r.max) r.reference = r.max;
    if (r.min > r.max) r.min = r.max;
    return r;
}

LogSeries BuildLogSeries(const TMeas& log, bool showAutoStops) {
    LogSeries out;
    out.range = ComputeAltitudeRange(log);
    const size_t n = log.Samples.size();
    const int k = RateWindow(log.SamplePeriod);
    const double dt = RateWindowSeconds(log.SamplePeriod);
    const int w = RateShift(log.SamplePeriod);
    out.altitude.reserve(n);
    out.rate.reserve(std::max(n, size_t(w) + 1));
    double rateMin = 2147483647.0;
    double rateMax = 0;
    const double ref = out.range.reference;
    for (size_t i = 0; i < n; ++i) {
        const TLogSample& s = log.Samples[i];
        const double rate = i < size_t(k) ? 0.0 : (s.Altitude - log.Samples[i - size_t(k)].Altitude) / dt;
        if (rate > rateMax) rateMax = rate;
        if (rate < rateMin) rateMin = rate;
        const double y = s.Altitude - ref;
        out.altitude.push_back(y);
        if (s.AutoStop && showAutoStops) out.autoStops.push_back({int(i), y, AutoStopLabel(s.AutoStopTime)});
        if (i > size_t(w)) out.rate.push_back(rate);
    }
    out.rate.insert(out.rate.end(), size_t(w) + 1, 0.0);
    if (rateMin > rateMax) rateMin = rateMax;
    out.rateMin = rateMin;
    out.rateMax = rateMax;
    return out;
}

void FillLogSeries(const LogSeries& data, TLogChart& chart) {
    TChartSeries& line = chart.series(TLogChart::Series1);
    TChartSeries& points = chart.series(TLogChart::Series4);
    TChartSeries& rate = chart.series(TLogChart::Series3);
    TChartSeries& stops = chart.series(TLogChart::Series2);
    for (TChartSeries* s : {&line, &points, &rate, &stops}) s->clear();
    line.reserve(int(data.altitude.size()));
    points.reserve(int(data.altitude.size()));
    rate.reserve(int(data.rate.size()));
    for (double y : data.altitude) {
        line.addY(y);
        points.addY(y);
    }
    for (double r : data.rate) rate.addY(r);
    for (const AutoStopMark& m : data.autoStops) stops.add(m.index, m.y, m.label);
    chart.leftAxis().setMinMax(data.leftMin(), data.leftMax());
    chart.rightAxis().setMinMax(data.rightMin(), data.rightMax());
}

void StoreChartState(const LogSeries& data, int tab, TMeas& log) {
    log.MinAlt = data.range.min;
    log.MaxAlt = data.range.max;
    log.AxisMin = -2;
    log.AxisMax = data.range.max - data.range.min + 2;
    log.ChartTab = quint8(tab);
}
