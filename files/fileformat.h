#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include "logs/logmodel.h"

/// What opening a path does, by its lower-cased extension.
enum class OpenFormat {
    LogFile,    // ".vul" or ".vuc"; the header tag then decides plain or compressed
    CsvImport,  // ".csv": adds one log, whatever the append flag
    Unsupported,
};
OpenFormat OpenFormatForPath(const QString& path);

/// What saving writes, by the lower-cased extension and the save dialog's filter index.
enum class SaveFormat { Plain, Compressed, Csv, CsvExcel, Xml };
SaveFormat SaveFormatForPath(const QString& path, int filterIndex);

/// Filter indexes of the save dialog (1-based).
constexpr int kFilterVul = 1;
constexpr int kFilterVuc = 2;
constexpr int kFilterCsv = 3;
constexpr int kFilterCsvExcel = 4;
constexpr int kFilterText = 5;
constexpr int kFilterXml = 6;
constexpr int kFilterAll = 7;

QString OpenDialogFilter();
QString SaveDialogFilter();

/// The extension a filter index puts into the name (".vul" ...); empty for "All files".
QString ExtensionForFilter(int filterIndex);

/// path with its extension (the part from the last "." of the file name) replaced by ext;
/// ext is appended when the name has none.
QString ChangeFileExtension(const QString& path, const QString& ext);

/// The name proposed by Save as: the current file as ".vul", else "yyyy-mm-dd hh-nn fly.vul".
QString DefaultSaveName(const QString& currentFileName, const QDateTime& now);

/// Whether the bytes begin with the compressed file's tag.
bool HasCompressedTag(QByteArrayView bytes);

/// Whether any log refers to a background image, which a saved file cannot carry along.
bool HasImageReference(const TData& logs);

/// Rewrites the name field of the save dialog when its file type changes. The remembered name
/// lives as long as the object, so keep one per dialog kind.
class SaveNameRule {
public:
    /// The new name text for filter index filterIndex; selectedLogName is empty when no log is
    /// selected.
    QString onFilterChanged(int filterIndex, const QString& currentName, const QString& selectedLogName);

private:
    QString m_remembered;
    bool m_hasRemembered = false;
};
