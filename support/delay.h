#pragma once

#include <QtGlobal>

class Clock;

/// Returns after at least ms milliseconds of the clock's tick counter, processing pending
/// events meanwhile (so receive ticks and timers keep running during the wait).
void Delay(Clock& clock, quint32 ms);
