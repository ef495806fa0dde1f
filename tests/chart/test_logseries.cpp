#include <gtest/gtest.h>

#include "chart/logseries.h"
#include "chart/tlogchart.h"

namespace {

TMeas makeLog(int period, std::vector<double> altitudes) {
    TMeas log;
    log.SamplePeriod = period;
    for (double a : altitudes) {
        TLogSample s;
        s.Altitude = a;
        log.Samples.push_back(s);
    }
    double lowest = 2147483647.0;
    for (double a : altitudes) lowest = std::min(lowest, a);
    log.BaseAlt = altitudes.empty() ? 0 : lowest;
    return log;
}

// Altitude i*i: the rate over a window of k samples is (2ik - k^2) / dt, easy to follow by hand.
TMeas squareLog(int period, int n) {
    std::vector<double> alt;
    for (int i = 0; i < n; ++i) alt.push_back(double(i) * i);
    return makeLog(period, alt);
}

}  // namespace

TEST(RateSeries, WindowShiftAndPaddingBySamplePeriod) {
    struct Case {
        int period;
        int k;
        double dt;
        int w;
        int probe;      // index into the rate curve
        double value;   // rate curve at probe
        double before;  // rate curve at probe - 1
    } cases[] = {
        // 200 ms: rate_i = 0 below i = 25; the curve starts at rate_13, so point 12 is rate_25 = 625 / 5.
        {200, 25, 5, 12, 12, 125, 0},
        // 1000 ms: point 2 is rate_5 = (25 - 0) / 5; point 1 is rate_4 = 0 (inside the first window).
        {1000, 5, 5, 2, 2, 5, 0},
        // 2500 ms: k = 2, curve from rate_2: point j = (4j + 4) / 5.
        {2500, 2, 5, 1, 1, 8.0 / 5, 4.0 / 5},
        // Above 2500 ms one sample per window, curve from rate_1: point j = (2j + 1) / dt.
        {3000, 1, 3, 0, 1, 3.0 / 3, 1.0 / 3},
        {4000, 1, 4, 0, 1, 3.0 / 4, 1.0 / 4},
        {6000, 1, 6, 0, 1, 3.0 / 6, 1.0 / 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.period);
        EXPECT_EQ(RateWindow(c.period), c.k);
        EXPECT_DOUBLE_EQ(RateWindowSeconds(c.period), c.dt);
        EXPECT_EQ(RateShift(c.period), c.w);

        const int n = 60;
        const LogSeries s = BuildLogSeries(squareLog(c.period, n), false);
        ASSERT_EQ(s.rate.size(), size_t(n));  // as long as the altitude curve
        EXPECT_DOUBLE_EQ(s.rate[size_t(c.probe)], c.value);
        EXPECT_DOUBLE_EQ(s.rate[size_t(c.probe - 1)], c.before);
        for (int j = n - c.w - 1; j < n; ++j) EXPECT_EQ(s.rate[size_t(j)], 0.0) << "trailing zero " << j;
        EXPECT_NE(s.rate[size_t(n - c.w - 2)], 0.0);  // the last real rate
        const double lastRate = (double(n - 1) * (n - 1) - double(n - 1 - c.k) * (n - 1 - c.k)) / c.dt;
        EXPECT_DOUBLE_EQ(s.rateMax, lastRate);
        EXPECT_EQ(s.rateMin, 0.0);  // the first window's zeros count
    }
}

TEST(RateSeries, RangeCoversDivesAndShortLogsAreAllZero) {
    const LogSeries dive = BuildLogSeries(makeLog(1000, {100, 100, 100, 100, 100, 50, 50}), false);
    EXPECT_DOUBLE_EQ(dive.rateMin, -10);  // (50 - 100) / 5
    EXPECT_EQ(dive.rateMax, 0.0);
    EXPECT_DOUBLE_EQ(dive.rightMin(), -11);
    EXPECT_DOUBLE_EQ(dive.rightMax(), 1);

    // Two samples at 1000 ms: no full window, no rate drawn, w + 1 = 3 zeros.
    const LogSeries shortLog = BuildLogSeries(makeLog(1000, {10, 20}), false);
    EXPECT_EQ(shortLog.rate, std::vector<double>(3, 0.0));
}

TEST(AltitudeRange, ReferenceAndBounds) {
    // Normal log: relative to the lowest sample.
    LogSeries s = BuildLogSeries(makeLog(1000, {120, 150, 130}), false);
    EXPECT_EQ(s.altitude, (std::vector<double>{0, 30, 10}));
    EXPECT_DOUBLE_EQ(s.leftMin(), -2);
    EXPECT_DOUBLE_EQ(s.leftMax(), 32);

    // All altitudes below 0: the maximum stays 0, so the axis runs from -2 to 2 - BaseAlt.
    s = BuildLogSeries(makeLog(1000, {-50, -20, -30}), false);
    EXPECT_EQ(s.range.max, 0.0);
    EXPECT_DOUBLE_EQ(s.leftMin(), -2);
    EXPECT_DOUBLE_EQ(s.leftMax(), 2 + 50);
    EXPECT_EQ(s.altitude, (std::vector<double>{0, 30, 20}));

    // A reference above every sample (a stored BaseAlt) is brought down to the maximum.
    TMeas high = makeLog(1000, {10, 20});
    high.BaseAlt = 500;
    s = BuildLogSeries(high, false);
    EXPECT_EQ(s.range.reference, 20.0);
    EXPECT_EQ(s.range.min, 20.0);
    EXPECT_EQ(s.altitude, (std::vector<double>{-10, 0}));
}

TEST(AltitudeRange, EmptyLogDrawsDefaultAxes) {
    const LogSeries s = BuildLogSeries(makeLog(1000, {}), true);
    EXPECT_TRUE(s.altitude.empty());
    EXPECT_TRUE(s.autoStops.empty());
    EXPECT_EQ(s.rate.size(), 3u);
    EXPECT_DOUBLE_EQ(s.leftMin(), -2);
    EXPECT_DOUBLE_EQ(s.leftMax(), 2);
    EXPECT_DOUBLE_EQ(s.rightMin(), -1);
    EXPECT_DOUBLE_EQ(s.rightMax(), 1);
}

TEST(AutoStops, LabelsAndPositionsOnlyWhenShown) {
    TMeas log = makeLog(1000, {10, 12, 14, 16});
    log.Samples[1].AutoStop = 1;
    log.Samples[1].AutoStopTime = 0;
    log.Samples[2].AutoStop = 1;
    log.Samples[2].AutoStopTime = 12;
    log.Samples[3].AutoStop = 1;
    log.Samples[3].AutoStopTime = -1;

    const LogSeries shown = BuildLogSeries(log, true);
    ASSERT_EQ(shown.autoStops.size(), 3u);
    EXPECT_EQ(shown.autoStops[0].index, 1);
    EXPECT_DOUBLE_EQ(shown.autoStops[0].y, 2);
    EXPECT_EQ(shown.autoStops[0].label, "Auto stop 0 s");
    EXPECT_EQ(shown.autoStops[1].label, "Auto stop 12 s");
    EXPECT_EQ(shown.autoStops[2].label, "Final auto stop");
    EXPECT_DOUBLE_EQ(shown.autoStops[2].y, 6);

    EXPECT_TRUE(BuildLogSeries(log, false).autoStops.empty());
}

TEST(RateTabs, NeedTwentyOneSamples) {
    EXPECT_FALSE(RateTabsEnabled(0));
    EXPECT_FALSE(RateTabsEnabled(20));
    EXPECT_TRUE(RateTabsEnabled(21));
}

TEST(FillLogSeries, PutsTheDataOnTheFourSeriesAndHomeRanges) {
    TMeas log = makeLog(1000, {100, 101, 103, 106, 110, 115, 121});
    log.Samples[4].AutoStop = 1;
    log.Samples[4].AutoStopTime = 30;
    const LogSeries data = BuildLogSeries(log, true);
    TLogChart chart;
    chart.series(TLogChart::Series1).addY(99);  // left over from another log
    FillLogSeries(data, chart);

    const TChartSeries& line = chart.series(TLogChart::Series1);
    ASSERT_EQ(line.count(), 7);
    EXPECT_EQ(line.x(6), 6.0);
    EXPECT_EQ(line.y(6), 21.0);
    EXPECT_EQ(chart.series(TLogChart::Series4).count(), 7);
    EXPECT_EQ(chart.series(TLogChart::Series3).count(), 7);
    EXPECT_EQ(chart.series(TLogChart::Series3).y(2), (115.0 - 100.0) / 5);  // rate_5
    const TChartSeries& stops = chart.series(TLogChart::Series2);
    ASSERT_EQ(stops.count(), 1);
    EXPECT_EQ(stops.x(0), 4.0);
    EXPECT_EQ(stops.y(0), 10.0);
    EXPECT_EQ(stops.label(0), "Auto stop 30 s");
    EXPECT_EQ(chart.leftAxis().minimum(), -2.0);
    EXPECT_EQ(chart.leftAxis().maximum(), 23.0);
    EXPECT_EQ(chart.rightAxis().minimum(), -1.0);

    StoreChartState(data, 2, log);
    EXPECT_EQ(log.MinAlt, 100.0);
    EXPECT_EQ(log.MaxAlt, 121.0);
    EXPECT_EQ(log.AxisMin, -2.0);
    EXPECT_EQ(log.AxisMax, 23.0);
    EXPECT_EQ(log.ChartTab, 2);
}

TEST(BuildLogSeries, DamagedSamplePeriodDoesNotDivideByZero) {
    const LogSeries s = BuildLogSeries(squareLog(0, 10), false);  // treated as 1000 ms
    EXPECT_EQ(s.rate.size(), 10u);
    EXPECT_DOUBLE_EQ(s.rate[2], 25.0 / 5);
}
