#pragma once

#include <QString>
#include <vector>

#include "link/logstreamencoder.h"

/// The pressure in Pa at an altitude of the standard atmosphere (the inverse of
/// PressureToAltitude), limited to what a log record can carry.
qint32 AltitudeToPressurePa(double altitudeM);

/// A handful of realistic logs for the simulated device: a two-hour paraglider flight with
/// thermals at 1 s, a bike ride, a trek with auto stops and a final auto stop, and a log too
/// short to chart. The same seed gives the same logs.
std::vector<DeviceLog> MakeDemoLogs(quint32 seed);

/// Loads a log from a trace file: a CSV of "time_ms,altitude_m" lines with a constant step (a
/// header line is allowed), or an IGC file's pressure altitudes (B records). Returns false with
/// a reason when the file cannot be read or makes no log.
bool LoadTraceLog(const QString& path, DeviceLog* log, QString* error);
