#include "link/terminal.h"

#include "link/devicelink.h"

QString FormatTerminalChunk(const QByteArray& chunk) {
    static const char kHex[] = "0123456789ABCDEF";
    QString text;
    text.reserve(chunk.size() * 2);
    for (const char c : chunk) {
        const auto b = static_cast<quint8>(c);
        if (b == 0x0A) {
            text += QStringLiteral("\r\n");
        } else if (b == 0x0D || b == 0xB0 || (b >= 0x20 && b < 0x80)) {
            text += QChar(b);
        } else {
            text += QStringLiteral("0x");
            text += QLatin1Char(kHex[b >> 4]);
            text += QLatin1Char(kHex[b & 0x0F]);
            text += QLatin1Char(';');
        }
    }
    return text;
}

void CommandHistory::add(const QString& text) {
    if (m_entries.isEmpty() || m_entries.last() != text) m_entries.append(text);
}

std::optional<QString> CommandHistory::up() {
    if (m_index <= 0) return std::nullopt;
    --m_index;
    return m_entries.value(m_index);
}

QString CommandHistory::down() {
    if (m_index < m_entries.size() - 1) {
        ++m_index;
        return m_entries.at(m_index);
    }
    m_index = static_cast<int>(m_entries.size());
    return QString();
}

void SendTerminalLine(DeviceLink& link, CommandHistory& history, const QString& text) {
    link.noteTerminalActivity();
    history.add(text);
    const QByteArray bytes = history.entries().last().toLatin1();
    for (const char c : bytes) link.writeRaw(QByteArray(1, c));
    link.writeRaw(QByteArray(1, '\n'));
    history.resetIndex();
    link.tmCurrMeas.start();
}
