#include "support/textfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

bool AppendLogLine(const QString& path, const QString& text, bool withTimeStamp) {
    ForceFolder(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    QString line;
    if (withTimeStamp) {
        const QLocale locale = QLocale::system();
        const QDateTime now = QDateTime::currentDateTime();
        line = locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
               locale.toString(now.time(), QLocale::LongFormat) + QStringLiteral(" - ");
    }
    line += text;
    const QByteArray bytes = line.toUtf8() + "\r\n";
    return file.write(bytes) == bytes.size();
}

bool ForceFolder(const QString& path) {
    if (path.isEmpty()) return false;
    return QDir().mkpath(path);
}

bool SaveStringToFile(const QString& path, const QByteArray& bytes, QString* errorText) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (errorText) *errorText = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

std::optional<QByteArray> LoadStringFromFile(const QString& path, QString* errorText) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText) *errorText = file.errorString();
        return std::nullopt;
    }
    return file.readAll();
}
