#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

/// The status keys the device starts its report lines with, in scan order.
enum class StatusKey { Name, Uptime, Hw, Fw, Sn, Ee, MemUsed };
constexpr int kStatusKeyCount = 7;

/// The newest complete line found for each key by one scan; keys without a new line are empty.
struct StatusScanResult {
    std::array<std::optional<QByteArray>, kStatusKeyCount> values;
    bool any() const;
    const std::optional<QByteArray>& value(StatusKey key) const { return values[static_cast<int>(key)]; }
};

/// Finds the device's status lines in the growing receive history.
///
/// A key is found anywhere in the history (also inside other text); its line ends at the next
/// line feed. After a complete line the key's search resumes at that line feed, so the same line
/// is never reported twice, and a line without its line feed yet is picked up once it arrives.
/// The scanner remembers how far it has searched, so each call costs about the size of the new
/// bytes, however long the history has grown.
class StatusScanner {
public:
    /// Scans history (which only ever grows) for lines completed since the last call.
    StatusScanResult scan(const QByteArray& history);

    /// 1-based position in the history where the key's next search begins.
    qsizetype resumePos(StatusKey key) const { return m_state[static_cast<int>(key)].resume + 1; }

    static QByteArray keyText(StatusKey key);

private:
    struct KeyState {
        qsizetype resume = 0;      // 0-based; the line feed of the last complete line
        qsizetype searchFrom = 0;  // no occurrence of the key starts in [resume, searchFrom)
        qsizetype keyAt = -1;      // key found, its line not complete yet
        qsizetype lfFrom = 0;      // no line feed in [keyAt, lfFrom)
    };
    std::array<KeyState, kStatusKeyCount> m_state;
};

/// Used memory in percent of the device's 131072 bytes, rounded half to even.
int MemoryPercent(qint32 memUsedBytes);
/// Free device memory in whole kB.
int FreeMemoryKb(qint32 memUsedBytes);
/// The total up time in minutes as "1day 1h 0min", "  0min", " 1h 15min".
QString FormatUptime(const QString& text);
