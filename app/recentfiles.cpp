#include "app/recentfiles.h"

#include <QFileInfo>

#include "support/inifile.h"

RecentFiles::RecentFiles() {
    for (int i = 0; i < kSlots; ++i) m_slots << QString();
}

bool RecentFiles::add(const QString& path) {
    if (path.isEmpty() || !QFileInfo::exists(path)) return false;
    int k = int(m_slots.indexOf(path));
    if (k < 0) k = kSlots - 1;
    for (int i = k; i > 0; --i) m_slots[i] = m_slots[i - 1];
    m_slots[0] = path;
    return true;
}

void RecentFiles::load(const IniFile& ini) {
    for (int i = 0; i < kSlots; ++i) {
        m_slots[i] = ini.readString(QStringLiteral("files"), QStringLiteral("file%1").arg(i + 1), QString());
    }
}

void RecentFiles::store(IniFile& ini) const {
    for (int i = 0; i < kSlots; ++i) {
        if (!m_slots[i].isEmpty())
            ini.writeString(QStringLiteral("files"), QStringLiteral("file%1").arg(i + 1), m_slots[i]);
    }
}

QList<int> RecentFiles::availableSlots() const {
    QList<int> out;
    for (int i = 0; i < kSlots; ++i) {
        // QFileInfo::exists answers from the file system without waiting on absent media
        // the way a volume query would; a path on an unmounted drive simply does not exist.
        if (!m_slots[i].isEmpty() && QFileInfo(m_slots[i]).isFile()) out << i;
    }
    return out;
}
