#include "link/demologs.h"

#include <QFile>
#include <QList>
#include <cmath>
#include <random>

namespace {

// Builds a log from an altitude profile: one call per sample with the altitude change.
class ProfileBuilder {
public:
    ProfileBuilder(quint16 periodMs, double startAltM) : m_alt(startAltM) { m_log.periodMs = periodMs; }
    void step(double climbM) {
        m_alt += climbM;
        m_log.samples.push_back({AltitudeToPressurePa(m_alt), 0});
    }
    void markLast(qint32 autoStopTime) { m_log.samples.back().autoStopTime = autoStopTime; }
    double altitude() const { return m_alt; }
    DeviceLog take() { return std::move(m_log); }

private:
    DeviceLog m_log;
    double m_alt;
};

constexpr double kCloudBaseM = 3000;

DeviceLog paragliderFlight(std::mt19937& rng) {
    std::normal_distribution<double> jitter(0.0, 0.15);
    ProfileBuilder b(1000, 1620);  // launch site
    const int seconds = 2 * 3600;
    int t = 0;
    while (t < seconds) {
        // Glide in sink, then core a thermal for a few minutes, over and over.
        const int glide = 120 + int(rng() % 240);
        const double sink = -0.9 - double(rng() % 60) / 100.0;
        for (int i = 0; i < glide && t < seconds; ++i, ++t) b.step(sink + jitter(rng));
        if (b.altitude() < 700 || t > seconds - 600) continue;
        const int climb = 90 + int(rng() % 300);
        const double rate = 1.2 + double(rng() % 280) / 100.0;
        // Cloud base at 3000 m: a thermal ends there (the device's records reach about 3500 m).
        for (int i = 0; i < climb && t < seconds && b.altitude() < kCloudBaseM; ++i, ++t) {
            const double ramp =
                std::min(1.0, std::min(i, climb - i) / 20.0);  // entering and leaving the core
            b.step(rate * ramp + jitter(rng) * 3);
        }
    }
    return b.take();
}

DeviceLog bikeRide(std::mt19937& rng) {
    std::normal_distribution<double> jitter(0.0, 0.2);
    ProfileBuilder b(2000, 310);
    for (int i = 0; i < 2700; ++i) b.step(std::sin(i / 180.0) * 0.9 + std::sin(i / 37.0) * 0.3 + jitter(rng));
    return b.take();
}

DeviceLog trek(std::mt19937& rng) {
    std::normal_distribution<double> jitter(0.0, 0.3);
    ProfileBuilder b(5000, 890);
    const int legs = 4;
    for (int leg = 0; leg < legs; ++leg) {
        const double rate = leg < 2 ? 1.6 : -1.9;
        for (int i = 0; i < 600; ++i) b.step(rate + jitter(rng));
        // A rest: the logger stops by itself and starts again when walking resumes.
        if (leg + 1 < legs) b.markLast(600 + int(rng() % 1800));
    }
    b.markLast(-1);  // stopped for good at the end of the day
    return b.take();
}

DeviceLog shortLog() {
    ProfileBuilder b(1000, 420);
    for (int i = 0; i < 4; ++i) b.step(0.1);
    return b.take();
}

bool fail(QString* error, const QString& text) {
    if (error) *error = text;
    return false;
}

bool loadCsv(const QList<QByteArray>& lines, DeviceLog* log, QString* error) {
    QList<qint64> times;
    std::vector<DeviceLogSample> samples;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.isEmpty()) continue;
        const QList<QByteArray> f = line.split(',');
        bool okT = false, okA = false;
        const qint64 t = f.value(0).trimmed().toLongLong(&okT);
        const double a = f.value(1).trimmed().toDouble(&okA);
        if (f.size() != 2 || !okT || !okA || !std::isfinite(a)) {
            if (times.isEmpty() && i == 0) continue;  // a header line
            return fail(error, QStringLiteral("Line %1 is not \"time_ms,altitude_m\".").arg(i + 1));
        }
        times.append(t);
        samples.push_back({AltitudeToPressurePa(a), 0});
    }
    if (samples.empty()) return fail(error, QStringLiteral("The trace holds no samples."));
    qint64 step = times.size() > 1 ? times[1] - times[0] : 1000;
    for (int i = 2; i < times.size(); ++i)
        if (times[i] - times[i - 1] != step)
            return fail(error, QStringLiteral("The time step changes at sample %1.").arg(i + 1));
    if (step < 1 || step > 65535) return fail(error, QStringLiteral("The time step must be 1 to 65535 ms."));
    log->periodMs = static_cast<quint16>(step);
    log->samples = std::move(samples);
    return true;
}

bool loadIgc(const QList<QByteArray>& lines, DeviceLog* log, QString* error) {
    QList<int> seconds;
    std::vector<DeviceLogSample> samples;
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        // B record: time HHMMSS at 1, pressure altitude (5 characters) at 25.
        if (line.size() < 35 || line[0] != 'B') continue;
        bool okT = false, okA = false;
        const int hms = line.mid(1, 6).toInt(&okT);
        const int alt = line.mid(25, 5).toInt(&okA);
        if (!okT || !okA) continue;
        seconds.append(hms / 10000 * 3600 + hms / 100 % 100 * 60 + hms % 100);
        samples.push_back({AltitudeToPressurePa(alt), 0});
    }
    if (samples.empty()) return fail(error, QStringLiteral("The IGC file holds no fixes."));
    int step = 1;
    if (seconds.size() > 1) step = (seconds[1] - seconds[0] + 86400) % 86400;
    if (step < 1 || step > 65) step = 1;
    log->periodMs = static_cast<quint16>(step * 1000);
    log->samples = std::move(samples);
    return true;
}

}  // namespace

qint32 AltitudeToPressurePa(double altitudeM) {
    const double base = 1.0 - altitudeM * 0.000022558;
    const double hpa = base > 0 ? 1013.25 * std::pow(base, 1.0 / 0.19) : 0.0;
    const double pa = std::round(hpa * 100.0);
    return static_cast<qint32>(qBound<double>(kMinRecordPressurePa, pa, kMaxRecordPressurePa));
}

std::vector<DeviceLog> MakeDemoLogs(quint32 seed) {
    std::mt19937 rng(seed);
    std::vector<DeviceLog> logs;
    logs.push_back(paragliderFlight(rng));
    logs.push_back(shortLog());
    logs.push_back(bikeRide(rng));
    logs.push_back(trek(rng));
    return logs;
}

bool LoadTraceLog(const QString& path, DeviceLog* log, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.read(64 * 1024 * 1024);
    const QList<QByteArray> lines = bytes.split('\n');
    const bool igc = path.endsWith(QLatin1String(".igc"), Qt::CaseInsensitive) || bytes.startsWith('A');
    const bool ok = igc ? loadIgc(lines, log, error) : loadCsv(lines, log, error);
    if (!ok && error) *error = path + QStringLiteral(": ") + *error;
    return ok;
}
