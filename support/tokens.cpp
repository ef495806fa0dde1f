#include "support/tokens.h"

int CountTokens(const QString& text, QChar separator) {
    if (text.isEmpty()) return 0;
    int count = 1 + static_cast<int>(text.count(separator));
    if (text.endsWith(separator)) --count;  // a trailing separator opens no field
    return count;
}

QString GetToken(const QString& text, int n, QChar separator) {
    if (n < 1 || n > CountTokens(text, separator)) return {};
    qsizetype start = 0;
    for (int field = 1; field < n; ++field) start = text.indexOf(separator, start) + 1;
    const qsizetype end = text.indexOf(separator, start);
    return text.mid(start, end < 0 ? -1 : end - start);
}
