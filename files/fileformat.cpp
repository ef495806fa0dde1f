#include "files/fileformat.h"

#include <QFileInfo>
#include <cstring>

namespace {
QString lowerSuffix(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toLower();
}
}  // namespace

OpenFormat OpenFormatForPath(const QString& path) {
    const QString ext = lowerSuffix(path);
    if (ext == QLatin1String(".vul") || ext == QLatin1String(".vuc")) return OpenFormat::LogFile;
    if (ext == QLatin1String(".csv")) return OpenFormat::CsvImport;
    return OpenFormat::Unsupported;
}

SaveFormat SaveFormatForPath(const QString& path, int filterIndex) {
    const QString ext = lowerSuffix(path);
    if (ext == QLatin1String(".vul")) return SaveFormat::Plain;
    if (ext == QLatin1String(".vuc")) return SaveFormat::Compressed;
    if (ext == QLatin1String(".xml")) return SaveFormat::Xml;
    return filterIndex == kFilterCsvExcel ? SaveFormat::CsvExcel : SaveFormat::Csv;
}

QString OpenDialogFilter() {
    return QStringLiteral(
        "Altitude log (*.vul,*.vuc)|*.vul;*.vuc|CSV files|*.csv|Text files|*.txt|All files|*.*");
}

QString SaveDialogFilter() {
    return QStringLiteral(
        "Altitude log (*.vul)|*.vul|Altitude log compressed (*.vuc)|*.vuc|CSV files|*.csv|"
        "CSV files (MS Excel style)|*.csv|Text files|*.txt|XML file|*.xml|All files|*.*");
}

QString ExtensionForFilter(int filterIndex) {
    switch (filterIndex) {
        case kFilterVul:
            return QStringLiteral(".vul");
        case kFilterVuc:
            return QStringLiteral(".vuc");
        case kFilterCsv:
        case kFilterCsvExcel:
            return QStringLiteral(".csv");
        case kFilterText:
            return QStringLiteral(".txt");
        case kFilterXml:
            return QStringLiteral(".xml");
        default:
            return QString();
    }
}

QString ChangeFileExtension(const QString& path, const QString& ext) {
    const qsizetype slash = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot > slash) return path.left(dot) + ext;
    return path + ext;
}

QString DefaultSaveName(const QString& currentFileName, const QDateTime& now) {
    if (!currentFileName.isEmpty()) return ChangeFileExtension(currentFileName, QStringLiteral(".vul"));
    return now.toString(QStringLiteral("yyyy-MM-dd hh-mm")) + QStringLiteral(" fly.vul");
}

bool HasCompressedTag(QByteArrayView bytes) {
    return bytes.size() >= 4 && std::memcmp(bytes.data(), "Vuc\0", 4) == 0;
}

bool HasImageReference(const TData& logs) {
    for (const TMeas& log : logs) {
        if (!log.ImageFile.trimmed().isEmpty()) return true;
    }
    return false;
}

QString SaveNameRule::onFilterChanged(int filterIndex, const QString& currentName,
                                      const QString& selectedLogName) {
    const QString ext = ExtensionForFilter(filterIndex);
    if (ext.isEmpty()) return currentName;
    const bool textExport = ext == QLatin1String(".csv") || ext == QLatin1String(".txt");
    if (textExport && !selectedLogName.isEmpty()) {
        if (!m_hasRemembered) {
            m_remembered = currentName;
            m_hasRemembered = true;
        }
        return selectedLogName + ext;
    }
    const QString base = m_hasRemembered ? m_remembered : currentName;
    m_remembered.clear();
    m_hasRemembered = false;
    return ChangeFileExtension(base, ext);
}
