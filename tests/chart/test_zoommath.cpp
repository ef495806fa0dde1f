#include <gtest/gtest.h>

#include "chart/zoommath.h"

TEST(NextZoomMinutes, WheelNotches) {
    struct Case {
        int zoom;
        int delta;
        double logMinutes;
        int expected;
    } cases[] = {
        {80, 120, 100, 78},    // 2 minutes per notch from 80
        {120, 120, 200, 117},  // 3 from 120
        {39, 120, 100, 38},    // at least 1
        {1, 120, 100, 1},      // never below 1 minute
        {5, 1200, 100, 1},     // ten notches at once would go below 0
        {78, -120, 100, 79},   // backward adds the same amount
        {10, -120, 10.5, -1},  // 11 > 10.5: whole log again
        {10, 60, 100, 10},     // half a notch moves nothing
        {-1, 120, 90.7, 90},   // first notch in: the whole minutes of the log
        {-1, 120, 0.5, -1},    // a 30 s log has no whole minute
        {-1, -120, 90, -1},    // backward from the whole log
        {80, 240, 100, 76},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextZoomMinutes(c.zoom, c.delta, c.logMinutes), c.expected)
            << c.zoom << " by " << c.delta << " in a " << c.logMinutes << "-minute log";
    }
}

TEST(ComputeZoomMetrics, WindowShareOfThePlot) {
    // 6000 samples at 1000 ms = a 100-minute log over 1000 pixels.
    ZoomMetrics m = ComputeZoomMetrics(10, 1000, 6000, 60);
    EXPECT_EQ(m.windowPixels, 100);
    EXPECT_DOUBLE_EQ(m.visibleFraction, 0.1);
    EXPECT_EQ(m.scrollExtent, 6000 + 1000 - 600);

    m = ComputeZoomMetrics(100, 1000, 6000, 60);
    EXPECT_EQ(m.windowPixels, 1000);
    EXPECT_EQ(m.scrollExtent, 1000);

    // Minutes are taken to 4 decimals before use.
    EXPECT_EQ(ComputeZoomMetrics(10.00004, 1000, 6000, 60).windowPixels, 100);
}

TEST(ComputeZoomMetrics, DegenerateInputsDoNotDivideByZero) {
    ZoomMetrics m = ComputeZoomMetrics(10, 0, 6000, 60);  // chart narrower than its margins
    EXPECT_EQ(m.windowPixels, 0);
    EXPECT_EQ(m.visibleFraction, 0);
    m = ComputeZoomMetrics(10, 1000, 0, 60);  // log without samples
    EXPECT_EQ(m.windowPixels, 0);
    EXPECT_EQ(m.scrollExtent, 1000);
}

TEST(PlotGeometry, MarginsAndAxisSpace) {
    EXPECT_EQ(PlotWidthFor(1000, 0), 1000 - 60 - 28);
    EXPECT_EQ(PlotWidthFor(1000, 1), 1000 - 60 - 28);
    EXPECT_EQ(PlotWidthFor(1000, 2), 1000 - 60 - 56);
    EXPECT_EQ(PlotWidthFor(1250, 0), 1250 - 74 - 28);  // 3 % of 1250 is 37.5: truncated
    EXPECT_EQ(PlotOffsetX(100, 1000, 0), 42);
    EXPECT_EQ(PlotOffsetX(100, 1000, 2), 42);
    EXPECT_EQ(PlotOffsetX(100, 1000, 1), 70);
}
