#include "support/lenientparse.h"

#include <limits>

namespace {

QString stripControl(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32) ++begin;
    while (end > begin && text[end - 1].unicode() <= 32) --end;
    return text.mid(begin, end - begin);
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

}  // namespace

qint32 ParseIntLenient(const QString& text) {
    const QString s = stripControl(text);
    qsizetype i = 0;
    const bool negative = i < s.size() && s[i] == QLatin1Char('-');
    if (negative) ++i;
    qint64 value = 0;
    constexpr qint64 kLimit = qint64(std::numeric_limits<qint32>::max()) + 1;
    for (; i < s.size() && isDigit(s[i]); ++i) {
        value = qMin(kLimit, value * 10 + (s[i].unicode() - '0'));
    }
    if (negative) value = -value;
    constexpr qint64 kMin = std::numeric_limits<qint32>::min();
    constexpr qint64 kMax = std::numeric_limits<qint32>::max();
    return static_cast<qint32>(qBound(kMin, value, kMax));
}

double ParseFloatLenient(const QString& text) {
    const QString s = stripControl(text);
    QString run;
    qsizetype i = 0;
    if (i < s.size() && s[i] == QLatin1Char('-')) run += s[i++];
    bool pointSeen = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (isDigit(c)) {
            run += c;
        } else if (!pointSeen && (c == QLatin1Char('.') || c == QLatin1Char(','))) {
            pointSeen = true;
            run += QLatin1Char('.');
        } else {
            break;
        }
    }
    bool ok = false;
    // "-", ".", "-." and the like hold no digit: they read as 0.
    const double value = run.toDouble(&ok);
    return ok ? value : 0.0;
}
