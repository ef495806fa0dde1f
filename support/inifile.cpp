#include "support/inifile.h"

#include "support/textfiles.h"

namespace {

QString sectionNameOf(const QByteArray& line) {
    const QByteArray t = line.trimmed();
    if (!t.startsWith('[')) return {};
    const int close = t.indexOf(']');
    if (close < 0) return {};
    return QString::fromUtf8(t.mid(1, close - 1)).trimmed();
}

bool isSectionLine(const QByteArray& line) {
    const QByteArray t = line.trimmed();
    return t.startsWith('[') && t.contains(']');
}

}  // namespace

IniFile::IniFile(const QByteArray& bytes) {
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype i = pos;
        while (i < bytes.size() && bytes[i] != '\n' && bytes[i] != '\r') ++i;
        Line line{bytes.mid(pos, i - pos), {}};
        if (i < bytes.size()) {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                line.end = "\r\n";
            } else {
                line.end = QByteArray(1, bytes[i]);
            }
        }
        pos = i + line.end.size();
        m_lines.append(line);
    }
}

IniFile IniFile::load(const QString& path) {
    const auto bytes = LoadStringFromFile(path);
    return bytes ? IniFile(*bytes) : IniFile();
}

int IniFile::findSection(const QString& section) const {
    for (int i = 0; i < m_lines.size(); ++i) {
        if (isSectionLine(m_lines[i].text) &&
            sectionNameOf(m_lines[i].text).compare(section, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

int IniFile::sectionEnd(int sectionLine) const {
    int i = sectionLine + 1;
    while (i < m_lines.size() && !isSectionLine(m_lines[i].text)) ++i;
    return i;
}

int IniFile::findKey(int sectionLine, const QString& key) const {
    const int end = sectionEnd(sectionLine);
    for (int i = sectionLine + 1; i < end; ++i) {
        const QByteArray& t = m_lines[i].text;
        const int eq = t.indexOf('=');
        if (eq < 0 || t.trimmed().startsWith(';')) continue;
        if (QString::fromUtf8(t.left(eq)).trimmed().compare(key, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

bool IniFile::hasKey(const QString& section, const QString& key) const {
    const int s = findSection(section);
    return s >= 0 && findKey(s, key) >= 0;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    const int s = findSection(section);
    const int k = s < 0 ? -1 : findKey(s, key);
    if (k < 0) return defaultValue;
    const QByteArray& t = m_lines[k].text;
    QByteArray value = t.mid(t.indexOf('=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.mid(1, value.size() - 2);
    }
    return QString::fromUtf8(value);
}

int IniFile::readInt(const QString& section, const QString& key, int defaultValue) const {
    QString text = readString(section, key, QString()).trimmed();
    int base = 10;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        text = text.mid(2);
        base = 16;
    } else if (text.startsWith(QLatin1Char('$'))) {
        text = text.mid(1);
        base = 16;
    }
    bool ok = false;
    const int value = text.toInt(&ok, base);
    return ok ? value : defaultValue;
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

QByteArray IniFile::newLineEnd() const {
    for (const Line& line : m_lines) {
        if (!line.end.isEmpty()) return line.end;
    }
#ifdef Q_OS_WIN
    return "\r\n";
#else
    return "\n";
#endif
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const QByteArray eol = newLineEnd();
    int s = findSection(section);
    if (s < 0) {
        if (!m_lines.isEmpty() && m_lines.last().end.isEmpty()) m_lines.last().end = eol;
        m_lines.append({"[" + section.toUtf8() + "]", eol});
        m_lines.append({key.toUtf8() + "=" + value.toUtf8(), eol});
        return;
    }
    const int k = findKey(s, key);
    if (k >= 0) {
        // Keep the key's own spelling so an unchanged value leaves the line byte for byte.
        const QByteArray& t = m_lines[k].text;
        m_lines[k].text = t.left(t.indexOf('=')).trimmed() + "=" + value.toUtf8();
        return;
    }
    // After the section's last non-empty line, so blank lines between sections stay put.
    int insertAt = sectionEnd(s);
    while (insertAt - 1 > s && m_lines[insertAt - 1].text.trimmed().isEmpty()) --insertAt;
    if (m_lines[insertAt - 1].end.isEmpty()) m_lines[insertAt - 1].end = eol;
    m_lines.insert(insertAt, {key.toUtf8() + "=" + value.toUtf8(), eol});
}

void IniFile::writeInt(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QByteArray IniFile::toBytes() const {
    QByteArray out;
    for (const Line& line : m_lines) out += line.text + line.end;
    return out;
}

bool IniFile::save(const QString& path, QString* errorText) const {
    return SaveStringToFile(path, toBytes(), errorText);
}

bool WriteIniText(const QString& path, const QString& section, const QString& key, const QString& text) {
    IniFile ini = IniFile::load(path);
    ini.writeString(section, key, text);
    return ini.save(path);
}
