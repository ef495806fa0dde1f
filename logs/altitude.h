#pragma once

#include "logs/logmodel.h"

/// Altitude in metres of the standard atmosphere for a pressure in hPa:
/// (1 - (p / 1013.25)^0.19) / 0.000022558, in extended precision, rounded to double.
double PressureToAltitude(double pressureHpa);

/// The smallest altitude of the log's samples; 0 for a log without samples. The scan starts
/// from 2147483647.0 and takes only strictly smaller values.
double LowestAltitude(const TMeas& log);
