#include "support/fileversion.h"

QString FileVersionString(int selector) {
    const QString version = QStringLiteral(VUMA_VERSION);
    if (selector == 1) return version.mid(version.lastIndexOf(QLatin1Char('.')) + 1);
    return version;
}
