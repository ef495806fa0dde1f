#include "link/serialport.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// Compares text runs without regard to case and digit runs by their value, so "ttyUSB2" comes
// before "ttyUSB10". (The toolkit's collator does this only when built with ICU.)
bool naturalLess(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i;
            qsizetype ej = j;
            while (ei < a.size() && a[ei].isDigit()) ++ei;
            while (ej < b.size() && b[ej].isDigit()) ++ej;
            const QString na = a.mid(i, ei - i).remove(QRegularExpression(QStringLiteral("^0+(?=.)")));
            const QString nb = b.mid(j, ej - j).remove(QRegularExpression(QStringLiteral("^0+(?=.)")));
            if (na.size() != nb.size()) return na.size() < nb.size();
            if (na != nb) return na < nb;
            i = ei;
            j = ej;
            continue;
        }
        const QChar ca = a[i].toCaseFolded();
        const QChar cb = b[j].toCaseFolded();
        if (ca != cb) return ca < cb;
        ++i;
        ++j;
    }
    return (a.size() - i) < (b.size() - j);
}

}  // namespace

void SortPortNamesNaturally(QStringList& names) { std::stable_sort(names.begin(), names.end(), naturalLess); }
