#include "support/paths.h"

#include <QDir>
#include <QStandardPaths>

namespace {
QString withSeparator(QString path) {
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path;
}
}  // namespace

QString SettingsFolder() {
#ifdef Q_OS_WIN
    const auto base = QStandardPaths::GenericDataLocation;  // %LOCALAPPDATA%
#else
    const auto base = QStandardPaths::GenericConfigLocation;
#endif
    return withSeparator(QStandardPaths::writableLocation(base)) + QStringLiteral("vuma/");
}

QString DocumentsFolder() {
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString TempFolder() { return withSeparator(QDir::tempPath()); }

QString DownloadArchiveFolder() {
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
           QStringLiteral("vuma/downloads/");
}
