#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <optional>

#include "config/deviceconfig.h"
#include "logs/logmodel.h"

/// Everything a native log file holds.
struct LogFileContent {
    TData logs;
    QStringList names;  // the list texts, parallel to logs
    DeviceConfig config;
    QString notes;  // lines separated by "\n"; stored with CR LF
};

constexpr int kLogFileHeaderSize = 12;
constexpr quint32 kLogFileFirstVersion = 0x00010001;
constexpr quint32 kLogFileVersion = 0x00010007;  // the only version written
constexpr int kLogRecordSize = 293;              // per-log record of versions 5 to 7

struct LogFileHeader {
    bool compressed = false;  // tag "Vuc": the body is packed in a cabinet
    quint32 version = kLogFileVersion;
    qint32 logCount = 0;
};

/// The list and configuration the logs of a file join. New logs take their colours (and version-1
/// names) from their list positions after existingCount; versions 1 and 2 carry no configuration
/// and only set SD and LR of config.
struct LogFileReadContext {
    int existingCount = 0;
    DeviceConfig config;
};

/// A parsed file, or the reason it could not be read. Nothing of a failed read is usable.
struct LogFileResult {
    LogFileContent content;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

/// The 12-byte header; "Wrong file format." or "This version of log file is not implemented.".
std::optional<LogFileHeader> ParseLogFileHeader(QByteArrayView bytes, QString* error);
QByteArray LogFileHeaderBytes(qint32 logCount, bool compressed);

/// The version-7 body: configuration snapshot, logs, notes block.
QByteArray LogFileBodyBytes(const LogFileContent& content);
LogFileResult ParseLogFileBody(QByteArrayView body, const LogFileHeader& header,
                               const LogFileReadContext& context);

/// A whole file in memory, plain or compressed; the header tag decides, not the name.
LogFileResult ParseLogFile(QByteArrayView file, const LogFileReadContext& context);
std::optional<QByteArray> LogFileBytes(const LogFileContent& content, bool compressed, QString* error);

/// Reads everything the device holds as one file.
LogFileResult ReadLogFile(QIODevice& device, const LogFileReadContext& context);

/// Reads a file from disk; the error is the system's text or one of the format errors.
LogFileResult LoadLogFile(const QString& path, const LogFileReadContext& context);
/// Writes a file atomically: a failed save leaves an existing file whole. Empty on success.
QString SaveLogFile(const QString& path, const LogFileContent& content, bool compressed);
