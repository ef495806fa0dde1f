#pragma once

#include <QString>
#include <QtGlobal>

/// Samples per second of a log: 1000 / period. A period that is not positive (damaged input)
/// counts as the 1000 ms default instead of dividing by zero.
double SamplesPerSecond(qint32 samplePeriodMs);

/// Time text of a distance in samples at `samplesPerSecond` (1 when not positive): whole
/// seconds as "1h 2m 3s", hours and minutes left out while zero ("1h 3s", "1m 0s", "59s").
/// Negative distances read as the same text after a "-".
QString TimeText(double samples, double samplesPerSecond);

/// Bottom-axis label step in samples for a visible span of samples: a round number of seconds
/// (1 s up to 10 visible seconds, 10 s up to 60, 30 s up to 300, 60 s up to 600, 300 s up to
/// 1800, 600 s up to 3600, else 3600 s) times the samples per second.
double TimeLabelStep(double spanSamples, double samplesPerSecond);

/// The three chart tabs: 0 altitude, 1 climb/dive rate, 2 both.
QString ChartTabCaption(int tab);
/// Chart title of a tab: its caption and its unit, "Relative altitude [m]".
QString ChartTabTitle(int tab);
