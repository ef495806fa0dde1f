#include "chart/zoommath.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
int truncToInt(double v) {
    if (std::isnan(v)) return 0;
    return int(std::trunc(std::clamp(v, double(INT_MIN), double(INT_MAX))));
}
}  // namespace

int PlotWidthFor(int chartWidth, int tab) {
    return chartWidth - 2 * (chartWidth * 3 / 100) - (tab == 2 ? 56 : 28);
}

int PlotOffsetX(int x, int chartWidth, int tab) { return x - chartWidth * 3 / 100 - (tab == 1 ? 0 : 28); }

double RoundMinutes(double minutes) {
    // Ties go to the even neighbour, as the program always rounded.
    return std::nearbyint(minutes * 10000.0) / 10000.0;
}

int NextZoomMinutes(int zoomMinutes, int wheelDelta, double logMinutes) {
    long long next;
    if (zoomMinutes == -1) {
        if (wheelDelta <= 0) return -1;
        next = truncToInt(logMinutes);
        if (next == 0) return -1;
    } else {
        const long long step = std::max(1, zoomMinutes / 40);
        next = zoomMinutes - step * (wheelDelta / 120);
        if (next <= 0) next = 1;
    }
    if (double(next) > logMinutes) return -1;
    return int(std::min<long long>(next, INT_MAX));
}

ZoomMetrics ComputeZoomMetrics(double minutes, int plotWidth, int sampleCount, double samplesPerMinute) {
    ZoomMetrics m;
    if (sampleCount <= 0 || plotWidth <= 0 || !(samplesPerMinute > 0)) {
        m.scrollExtent = std::max(0, sampleCount) + plotWidth;
        return m;
    }
    const double z = RoundMinutes(minutes);
    m.windowPixels = truncToInt(z * plotWidth / (sampleCount / samplesPerMinute));
    m.visibleFraction = double(m.windowPixels) / plotWidth;
    m.scrollExtent =
        truncToInt(sampleCount + double(plotWidth) - std::trunc(sampleCount * m.visibleFraction));
    return m;
}
