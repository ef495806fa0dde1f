#pragma once

/// Arithmetic of the chart's time window, kept apart from the widgets so it can be checked by
/// hand. "Trunc" below truncates toward zero.

/// Width in pixels the program assumes for the plotting area of a chart `chartWidth` wide:
/// 3 per cent margin on each side and 28 pixels per shown vertical axis (two on tab 2).
int PlotWidthFor(int chartWidth, int tab);
/// Chart pixel x relative to the assumed left edge of the plotting area.
int PlotOffsetX(int x, int chartWidth, int tab);

/// Minutes rounded to 4 decimal places, as the window arithmetic uses them.
double RoundMinutes(double minutes);

/// The visible window after one wheel turn of `wheelDelta` (120 per notch, positive away from
/// the user). -1 is the whole log. Forward from the whole log gives the log's whole minutes
/// (staying whole for logs under a minute); each notch then takes away zoomMinutes / 40 minutes,
/// at least 1; the window never drops below 1 minute and becomes the whole log again once it
/// would exceed the log's length. Backward from the whole log changes nothing.
int NextZoomMinutes(int zoomMinutes, int wheelDelta, double logMinutes);

struct ZoomMetrics {
    int windowPixels = 0;        // pixels the window would take with the whole log over the plot width
    double visibleFraction = 0;  // windowPixels / plotWidth
    int scrollExtent = 0;        // n + plotWidth - Trunc(n * visibleFraction)
};
/// Metrics of a window of `minutes` (rounded by RoundMinutes) over a log of n samples at
/// samplesPerMinute. Without samples or plot width the window takes nothing.
ZoomMetrics ComputeZoomMetrics(double minutes, int plotWidth, int sampleCount, double samplesPerMinute);
