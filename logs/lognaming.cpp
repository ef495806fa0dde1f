#include "logs/lognaming.h"

QString NumberedLogName(int position1Based) {
    return QStringLiteral("Log ") + QString::number(position1Based);
}

QString EmptyLogName() { return QStringLiteral("-- empty log --"); }

QString DeviceLogName(int position1Based, int sampleCount) {
    return sampleCount < kMinChartedSamples ? EmptyLogName() : NumberedLogName(position1Based);
}

namespace {
bool containsName(const QStringList& names, const QString& name) {
    return names.contains(name, Qt::CaseInsensitive);
}
}  // namespace

QString ImportedLogName(const QString& filePath, const QStringList& existingNames) {
    // Both separators count: the path may come from either platform's dialogs.
    QString fileName = filePath;
    const qsizetype slash =
        qMax(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\')));
    if (slash >= 0) fileName = fileName.mid(slash + 1);
    const QString base = fileName.left(qMax<qsizetype>(0, fileName.size() - 4));
    if (!containsName(existingNames, base)) return base;
    // Every name in the list takes at most one suffix, so this ends within count + 1 tries.
    for (qsizetype k = 1;; ++k) {
        const QString candidate = base + QLatin1Char('_') + QString::number(k);
        if (!containsName(existingNames, candidate)) return candidate;
    }
}

QString SplitPieceName(int piece1Based, const QString& sourceName) {
    const QString name = QChar(char16_t(96 + piece1Based)) + QStringLiteral(" - ") + sourceName;
    return name.left(kLogNameMaxChars);
}
