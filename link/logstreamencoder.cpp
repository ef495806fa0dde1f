#include "link/logstreamencoder.h"

namespace {

constexpr char kFill = char(0x80);

struct Record {
    char b[4];
    // A short delta record keeps its samples' pressures so it can become absolute records.
    std::vector<qint32> deltaPressures;
};

int leadingFill(const Record& r) {
    int n = 0;
    while (n < 4 && r.b[n] == kFill) ++n;
    return n;
}

int trailingFill(const Record& r) {
    int n = 0;
    while (n < 4 && r.b[3 - n] == kFill) ++n;
    return n;
}

Record absoluteRecord(qint32 pa) {
    const quint32 v = static_cast<quint32>(pa - 65536);
    return Record{{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(0x7E)}, {}};
}

Record controlRecord(quint16 value, quint8 kind) {
    return Record{{char(value & 0xFF), char(value >> 8), char(kind), char(0x7F)}, {}};
}

class Writer {
public:
    void append(Record r) {
        // Four 0x80 in a row anywhere end the reading. Only the fill of a short delta record ends
        // in 0x80, so such a record before one that starts with 0x80 is rewritten as absolutes.
        while (!m_records.empty() && !m_records.back().deltaPressures.empty() &&
               trailingFill(m_records.back()) + leadingFill(r) >= 4) {
            const std::vector<qint32> pressures = std::move(m_records.back().deltaPressures);
            m_records.pop_back();
            for (const qint32 pa : pressures) append(absoluteRecord(pa));
        }
        m_records.push_back(std::move(r));
    }

    QByteArray bytes() const {
        QByteArray out;
        out.reserve(static_cast<qsizetype>(m_records.size()) * 4 + 4);
        for (const Record& r : m_records) out.append(r.b, 4);
        out.append("\x80\x80\x80\x80", 4);
        return out;
    }

private:
    std::vector<Record> m_records;
};

class DeltaGroup {
public:
    bool empty() const { return m_count == 0; }
    /// Whether a delta may go into the next slot: the last slot decides the record's kind.
    bool accepts(int delta) const { return m_count < 3 || (delta != 0x7E && delta != 0x7F && delta != -127); }
    void add(int delta, qint32 pa) {
        m_bytes[m_count++] = char(static_cast<qint8>(delta));
        m_pressures.push_back(pa);
    }
    bool full() const { return m_count == 4; }
    void flushTo(Writer& w) {
        if (m_count == 0) return;
        Record r{{kFill, kFill, kFill, kFill}, {}};
        for (int i = 0; i < m_count; ++i) r.b[i] = m_bytes[i];
        if (m_count < 4) r.deltaPressures = std::move(m_pressures);
        w.append(std::move(r));
        m_count = 0;
        m_pressures.clear();
    }

private:
    char m_bytes[4] = {};
    int m_count = 0;
    std::vector<qint32> m_pressures;
};

bool fail(QString* error, const QString& text) {
    if (error) *error = text;
    return false;
}

bool checkLog(const DeviceLog& log, int index, QString* error) {
    const size_t n = log.samples.size();
    for (size_t i = 0; i < n; ++i) {
        const DeviceLogSample& s = log.samples[i];
        const QString where = QStringLiteral("log %1, sample %2").arg(index + 1).arg(i + 1);
        if (s.pressurePa < kMinRecordPressurePa || s.pressurePa > kMaxRecordPressurePa)
            return fail(error, QStringLiteral("Pressure out of range in %1.").arg(where));
        if (s.autoStopTime == -1 && i + 1 != n)
            return fail(error, QStringLiteral("Final auto stop before the last sample in %1.").arg(where));
        if (s.autoStopTime > 0 && i + 1 == n)
            return fail(error, QStringLiteral("Auto stop on the last sample in %1.").arg(where));
        if (s.autoStopTime < -1 || s.autoStopTime > kMaxAutoStopTimeS)
            return fail(error, QStringLiteral("Auto-stop time out of range in %1.").arg(where));
    }
    return true;
}

}  // namespace

QByteArray EncodeLogStream(const std::vector<DeviceLog>& logs, QString* error) {
    for (size_t i = 0; i < logs.size(); ++i)
        if (!checkLog(logs[i], static_cast<int>(i), error)) return QByteArray();

    Writer w;
    // The reader finds the first log by its first 0x7F byte; a period with a 0x7F byte would
    // be taken for it, so such a stream opens with an ignored control record.
    if (!logs.empty() && ((logs[0].periodMs & 0xFF) == 0x7F || (logs[0].periodMs >> 8) == 0x7F))
        w.append(controlRecord(0, 0x00));

    for (const DeviceLog& log : logs) {
        w.append(controlRecord(log.periodMs, 0x01));
        DeltaGroup group;
        const auto& s = log.samples;
        for (size_t j = 0; j < s.size(); ++j) {
            // A mark reaches sample 0 or 1 through a time record before that sample itself, and
            // a later sample k through a time record before the absolute record of sample k + 1.
            qint32 markBefore = 0;
            if (j <= 1 && s[j].autoStopTime > 0) markBefore = s[j].autoStopTime;
            if (j >= 3 && s[j - 1].autoStopTime > 0) markBefore = s[j - 1].autoStopTime;
            const qint64 delta = j == 0 ? 0 : qint64(s[j].pressurePa) - s[j - 1].pressurePa;
            const bool asDelta = j > 0 && markBefore == 0 && delta >= -127 && delta <= 127;
            if (asDelta && group.accepts(static_cast<int>(delta))) {
                group.add(static_cast<int>(delta), s[j].pressurePa);
                if (group.full()) group.flushTo(w);
                continue;
            }
            if (asDelta) {
                // Its byte would change the record's kind in the last slot: start a new record.
                group.flushTo(w);
                group.add(static_cast<int>(delta), s[j].pressurePa);
                continue;
            }
            group.flushTo(w);
            if (markBefore > 0) w.append(controlRecord(static_cast<quint16>(markBefore), 0x02));
            w.append(absoluteRecord(s[j].pressurePa));
        }
        group.flushTo(w);
        if (!s.empty() && s.back().autoStopTime == -1) w.append(Record{{0, 0, 0, char(0x81)}, {}});
    }
    // The end marker itself is no record the fill rule has to watch: it is meant to read as the end.
    QByteArray out = w.bytes();
    return out;
}
