#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

#include "files/logfile.h"

/// The name of the one member of a compressed log file's cabinet.
inline QString CompressedLogMemberName() { return QStringLiteral("vuma.tmp"); }

/// The cabinet that follows the 12-byte header of a compressed log file.
std::optional<QByteArray> CompressLogBody(const QByteArray& body, QString* error);

/// The member's body, unpacked from the bytes after the header.
std::optional<QByteArray> UncompressLogBody(QByteArrayView cabinet, QString* error);

/// Reads the body of a compressed file from the bytes after its header.
LogFileResult ParseCompressedLogBody(QByteArrayView cabinet, const LogFileHeader& header,
                                     const LogFileReadContext& context);
