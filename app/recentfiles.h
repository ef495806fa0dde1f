#pragma once

#include <QString>
#include <QStringList>

class IniFile;

/// The 20 most recently used files, slot 0 the most recent; an empty text is an unused slot.
class RecentFiles {
public:
    static constexpr int kSlots = 20;

    RecentFiles();
    const QString& slot(int index) const { return m_slots[index]; }
    void setSlot(int index, const QString& path) { m_slots[index] = path; }
    const QStringList& slots() const { return m_slots; }

    /// Puts an existing file into slot 0: the slot that holds the same path (case-sensitive),
    /// or the last slot, makes room by moving the slots above it down. Empty paths and missing
    /// files change nothing; returns whether the list changed.
    bool add(const QString& path);

    /// Slots as the settings keep them: [files] file1 ... file20.
    void load(const IniFile& ini);
    /// Writes the non-empty slots; an empty slot's older key stays as it is in the file.
    void store(IniFile& ini) const;

    /// The slots worth offering in a menu: non-empty, and the file is there (a path on a
    /// missing volume or a deleted file stays in the list but is not offered).
    QList<int> availableSlots() const;

private:
    QStringList m_slots;
};
