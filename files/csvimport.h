#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "files/logexport.h"
#include "logs/logmodel.h"

/// One log read from CSV text, with its list name; or the reason nothing was read.
struct CsvImportResult {
    TMeas log;
    QString name;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

/// Reads CSV text (time ms, altitude, auto-stop mark, auto-stop time per line) as one new log
/// that will join a list holding existingNames. filePath gives the name. Malformed lines read as
/// zeros; text without any line is "The file holds no samples.".
CsvImportResult ImportCsv(QByteArrayView text, const QString& filePath, const QStringList& existingNames,
                          const ProgressCallback& progress = {});

/// The same from a file on disk; the error is the system's text when it cannot be read.
CsvImportResult LoadCsvImport(const QString& path, const QStringList& existingNames,
                              const ProgressCallback& progress = {});
