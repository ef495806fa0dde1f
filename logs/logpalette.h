#pragma once

#include "logs/logmodel.h"

/// The colour a new log gets at list position p (0-based): entry p mod 30 of the palette.
TColor LogPalette(int position);

/// The colour of logs too short to chart (fewer than 6 samples from the device).
constexpr TColor kEmptyLogColor = 0xFFFFFF;
