#include "logs/altitude.h"

#include <cmath>

double PressureToAltitude(double pressureHpa) {
    const long double ratio = static_cast<long double>(pressureHpa) / 1013.25L;
    return static_cast<double>((1.0L - std::pow(ratio, 0.19L)) / 0.000022558L);
}

double LowestAltitude(const TMeas& log) {
    if (log.Samples.empty()) return 0.0;
    double lowest = 2147483647.0;
    for (const TLogSample& s : log.Samples) {
        if (s.Altitude < lowest) lowest = s.Altitude;
    }
    return lowest;
}
