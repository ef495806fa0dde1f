#pragma once

#include <QString>
#include <QStringList>

/// The longest log name files keep.
constexpr int kLogNameMaxChars = 29;

/// Logs from the device with fewer samples than this are listed as empty.
constexpr int kMinChartedSamples = 6;

/// "Log " + n, the name of the n-th list item (1-based).
QString NumberedLogName(int position1Based);

/// The list text of a log too short to chart.
QString EmptyLogName();

/// The name of a downloaded log at a 1-based list position.
QString DeviceLogName(int position1Based, int sampleCount);

/// The name of a log imported from a CSV file: the file name without folder and without its last
/// four characters; when the list already holds that name (case ignored), the first free of
/// base + "_1", base + "_2", ...
QString ImportedLogName(const QString& filePath, const QStringList& existingNames);

/// The name of split piece k (1, 2, ...): "a - source", "b - source", ..., cut to 29 characters.
QString SplitPieceName(int piece1Based, const QString& sourceName);
