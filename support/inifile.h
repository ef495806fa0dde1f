#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// A Windows-style profile file ("vu.ini"): [sections] and key=value lines.
///
/// Section and key names compare without regard to case; values are read trimmed (one pair of
/// enclosing quotes removed) and written verbatim, so back-slashes and spaces in paths survive.
/// Writing a value touches only that key's line: every other line, comment and section is
/// kept byte for byte. Saving replaces the file atomically.
class IniFile {
public:
    IniFile() = default;
    /// Parses the bytes of a file; never fails (anything that is not a section or key line is
    /// kept as it stands).
    explicit IniFile(const QByteArray& bytes);
    /// Reads the file at path; a missing or unreadable file reads as empty.
    static IniFile load(const QString& path);

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    /// Decimal, or hexadecimal with "0x"/"$"; anything else (or a missing key) gives the default.
    int readInt(const QString& section, const QString& key, int defaultValue) const;
    /// "0" is false, any other integer true, anything else the default.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    bool hasKey(const QString& section, const QString& key) const;

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInt(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);

    QByteArray toBytes() const;
    /// Writes the file atomically; on failure the old file is left whole.
    bool save(const QString& path, QString* errorText = nullptr) const;

private:
    struct Line {
        QByteArray text;  // without its line end
        QByteArray end;   // "\r\n", "\n", "\r" or empty for a last line without one
    };
    /// Index of the section header line, or -1.
    int findSection(const QString& section) const;
    /// Index of the key's line inside the section starting at sectionLine, or -1.
    int findKey(int sectionLine, const QString& key) const;
    int sectionEnd(int sectionLine) const;
    QByteArray newLineEnd() const;

    QList<Line> m_lines;
};

/// Writes one value into the ini file at path (read, change, atomic save).
bool WriteIniText(const QString& path, const QString& section, const QString& key, const QString& text);
