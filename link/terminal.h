#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class DeviceLink;

/// The terminal display text of one received chunk: printable bytes and the degree sign as they
/// are, line feed as CR LF, carriage return unchanged, every other byte as "0x1B;".
QString FormatTerminalChunk(const QByteArray& chunk);

/// The terminal command line's history of sent lines and the up/down navigation over it.
class CommandHistory {
public:
    /// Adds the text unless it equals the last entry.
    void add(const QString& text);
    /// Up arrow: the previous entry, or nothing when already at the first.
    std::optional<QString> up();
    /// Down arrow: the next entry; past the last one the line empties (an empty text).
    QString down();
    /// After a line was sent the navigation starts below the last entry.
    void resetIndex() { m_index = static_cast<int>(m_entries.size()); }

    const QStringList& entries() const { return m_entries; }
    int index() const { return m_index; }

private:
    QStringList m_entries;
    int m_index = 0;
};

/// Enter on the command line: records the text in the history and writes it to the device one
/// byte per write, then a line feed; the live measurement resumes a second later at the earliest.
void SendTerminalLine(DeviceLink& link, CommandHistory& history, const QString& text);
