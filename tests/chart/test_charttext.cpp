#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "chart/charttext.h"

TEST(TimeText, SplitsWholeSecondsIntoHoursMinutesSeconds) {
    struct Case {
        double samples;
        double sps;
        const char* text;
    } cases[] =
        {
            {3723, 1, "1h 2m 3s"},
            {3603, 1, "1h 3s"},
            {60, 1, "1m 0s"},
            {59, 1, "59s"},
            {0, 1, "0s"},
            {90, 1, "1m 30s"},
            {59.9, 1, "59s"},
            {450, 5, "1m 30s"},       // 200 ms
            {15, 1.0 / 6, "1m 30s"},  // 6000 ms
            {7200, 1, "2h 0s"},
            {-3723, 1, "-1h 2m 3s"},
            {-0.5, 1, "0s"},
            {90, 0, "1m 30s"},  // no sample rate: one sample per second
        };
    for (const Case& c : cases) {
        EXPECT_EQ(TimeText(c.samples, c.sps), QString::fromLatin1(c.text)) << c.samples << " at " << c.sps;
    }
}

TEST(TimeText, NonFiniteDistancesGiveATextInsteadOfOverflowing) {
    EXPECT_EQ(TimeText(std::numeric_limits<double>::quiet_NaN(), 1), "0s");
    EXPECT_TRUE(TimeText(std::numeric_limits<double>::infinity(), 1).endsWith("s"));
    EXPECT_TRUE(TimeText(-std::numeric_limits<double>::infinity(), 1).startsWith("-"));
}

TEST(SamplesPerSecond, FollowsThePeriodAndFallsBackForDamagedPeriods) {
    EXPECT_DOUBLE_EQ(SamplesPerSecond(200), 5.0);
    EXPECT_DOUBLE_EQ(SamplesPerSecond(4000), 0.25);
    EXPECT_DOUBLE_EQ(SamplesPerSecond(0), 1.0);
    EXPECT_DOUBLE_EQ(SamplesPerSecond(-100), 1.0);
}

TEST(TimeLabelStep, PicksRoundSecondsByVisibleSeconds) {
    struct Case {
        double span;
        double sps;
        double step;  // samples
    } cases[] = {
        {0, 1, 1},       {10, 1, 1},        {11, 1, 10},   {60, 1, 10},    {61, 1, 30},    {300, 1, 30},
        {301, 1, 60},    {600, 1, 60},      {601, 1, 300}, {1800, 1, 300}, {1801, 1, 600}, {3600, 1, 600},
        {3601, 1, 3600}, {131000, 1, 3600}, {54, 5, 5},  // 10.8 s visible at 200 ms: 1 s = 5 samples
        {55, 5, 50},                                     // 11 s: 10 s = 50 samples
        {100, 0.25, 15}                                  // 400 s at 4000 ms: 60 s
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(TimeLabelStep(c.span, c.sps), c.step) << "span " << c.span << " sps " << c.sps;
    }
}

TEST(ChartTabTitle, IsTheCaptionWithTheTabsUnit) {
    EXPECT_EQ(ChartTabTitle(0), "Relative altitude [m]");
    EXPECT_EQ(ChartTabTitle(1), "Climb / dive rate [m/s]");
    EXPECT_EQ(ChartTabTitle(2), "Altitude / cd rate [m]/[m/s]");
    EXPECT_EQ(ChartTabTitle(3), "");
}
