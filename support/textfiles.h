#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

/// Appends one line ended by CR LF, creating the file (and its folder). With withTimeStamp the
/// line starts with the local short date and long time and " - ". False when it cannot write.
bool AppendLogLine(const QString& path, const QString& text, bool withTimeStamp);

/// Creates the folder with every missing parent; true when it exists afterwards.
bool ForceFolder(const QString& path);

/// Writes the whole file atomically: on failure the previous file stays as it was and
/// errorText (if given) receives the system's reason.
bool SaveStringToFile(const QString& path, const QByteArray& bytes, QString* errorText = nullptr);

/// Reads the whole file; nullopt when it cannot be read.
std::optional<QByteArray> LoadStringFromFile(const QString& path, QString* errorText = nullptr);
