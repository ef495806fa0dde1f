#include "link/serialport.h"

#include <QCollator>
#include <algorithm>

void SortPortNamesNaturally(QStringList& names) {
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(),
                     [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
}
