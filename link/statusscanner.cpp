#include "link/statusscanner.h"

#include <cmath>

#include "support/lenientparse.h"

namespace {
const char* const kKeys[kStatusKeyCount] = {"UN:", "Uptime:", "HW:", "FW:", "SN:", "EE:", "Mem used:"};
constexpr qint32 kDeviceMemoryBytes = 131072;
}  // namespace

bool StatusScanResult::any() const {
    for (const auto& v : values)
        if (v) return true;
    return false;
}

QByteArray StatusScanner::keyText(StatusKey key) { return QByteArray(kKeys[static_cast<int>(key)]); }

StatusScanResult StatusScanner::scan(const QByteArray& history) {
    StatusScanResult result;
    const qsizetype size = history.size();
    for (int k = 0; k < kStatusKeyCount; ++k) {
        KeyState& st = m_state[k];
        const QByteArray key(kKeys[k]);
        for (;;) {
            if (st.keyAt < 0) {
                const qsizetype at = history.indexOf(key, qMax(st.searchFrom, st.resume));
                if (at < 0) {
                    // A key cannot start where it would not fit; later bytes may complete it.
                    st.searchFrom = qMax(st.searchFrom, size - key.size() + 1);
                    break;
                }
                st.keyAt = at;
                st.lfFrom = at + key.size();
            }
            const qsizetype lf = history.indexOf('\n', st.lfFrom);
            if (lf < 0) {
                st.lfFrom = size;
                break;
            }
            result.values[k] = history.mid(st.keyAt, lf - st.keyAt);  // key included, line feed not
            st.resume = lf;
            st.searchFrom = lf;
            st.keyAt = -1;
        }
    }
    return result;
}

int MemoryPercent(qint32 memUsedBytes) {
    return static_cast<int>(
        std::nearbyint(double(memUsedBytes) * 0.000762939453125));  // default mode: half to even
}

int FreeMemoryKb(qint32 memUsedBytes) { return (kDeviceMemoryBytes - memUsedBytes) / 1024; }

QString FormatUptime(const QString& text) {
    const qint32 m = ParseIntLenient(text);
    const qint32 d = m / 1440;
    const qint32 h = (m % 1440) / 60;
    const qint32 r = m % 60;
    QString out;
    if (d > 0) out += QString::number(d) + (d == 1 ? QStringLiteral("day") : QStringLiteral("days"));
    out += QLatin1Char(' ');
    if (d > 0 || h > 0) out += QString::number(h) + QStringLiteral("h");
    out += QLatin1Char(' ');
    out += QString::number(r) + QStringLiteral("min");
    return out;
}
