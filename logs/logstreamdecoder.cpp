#include "logs/logstreamdecoder.h"

#include "logs/altitude.h"

namespace {
constexpr quint8 kAbsolute = 0x7E;
constexpr quint8 kControl = 0x7F;
constexpr quint8 kFinalAutoStop = 0x81;
constexpr quint8 kUnusedSlot = 0x80;
constexpr quint8 kLogStart = 0x01;
constexpr quint8 kAutoStopTime = 0x02;
constexpr qint32 kDefaultPeriodMs = 1000;
}  // namespace

qsizetype FindLogStreamStart(QByteArrayView received) {
    const qsizetype first = received.indexOf(char(kControl));
    return first >= 3 ? first - 3 : -1;
}

bool ContainsLogStreamEnd(QByteArrayView received) {
    return received.indexOf(QByteArrayView("\x80\x80\x80\x80", 4)) >= 0;
}

LogStreamDecodeResult DecodeLogStream(QByteArrayView stream) {
    LogStreamDecodeResult result;
    TMeas* log = nullptr;
    std::vector<qint32>* pressures = nullptr;
    double running = 0;    // hPa, accumulated as the device's deltas arrive
    qint64 runningPa = 0;  // the same in whole Pa, exact
    qint32 pending = 0;

    auto appendSample = [&](qint64 pa) {
        TLogSample s;
        s.Altitude = PressureToAltitude(running);
        log->Samples.push_back(s);
        pressures->push_back(static_cast<qint32>(qBound(qint64(INT32_MIN), pa, qint64(INT32_MAX))));
    };

    const qsizetype whole = stream.size() / 4 * 4;
    if (whole != stream.size()) ++result.ignoredRecords;  // a last record cut short carries nothing
    for (qsizetype pos = 0; pos < whole; pos += 4) {
        const auto b0 = static_cast<quint8>(stream[pos]);
        const auto b1 = static_cast<quint8>(stream[pos + 1]);
        const auto b2 = static_cast<quint8>(stream[pos + 2]);
        const auto b3 = static_cast<quint8>(stream[pos + 3]);
        if (b0 == kUnusedSlot && b1 == kUnusedSlot && b2 == kUnusedSlot && b3 == kUnusedSlot) {
            result.endMarkerSeen = true;
            break;
        }
        if (b3 == kControl) {
            if (b2 == kLogStart) {
                TMeas m;
                const qint32 period = b0 + 256 * b1;
                m.SamplePeriod = period == 0 ? kDefaultPeriodMs : period;
                m.ZoomLevel = -1;
                m.ChartType = 0;
                m.LockZoom = 1;
                result.logs.append(std::move(m));
                result.pressurePa.append(std::vector<qint32>());
                log = &result.logs.last();
                pressures = &result.pressurePa.last();
                running = 0;
                runningPa = 0;
                pending = 0;
            } else if (b2 == kAutoStopTime) {
                pending = b0 + 256 * b1;
            }
            continue;
        }
        if (!log) {
            // Samples before the first log start belong to no log.
            ++result.ignoredRecords;
            continue;
        }
        if (b3 == kAbsolute) {
            const qint64 pa = qint64(b0) + 256 * qint64(b1) + 65536 * qint64(b2) + 65536;
            running = double(pa) / 100.0;
            runningPa = pa;
            appendSample(pa);
            const qsizetype c = static_cast<qsizetype>(log->Samples.size()) - 1;
            TLogSample& target = (c >= 2 && pending > 0) ? log->Samples[c - 1] : log->Samples[c];
            target.AutoStop = pending > 0 ? 1 : 0;
            target.AutoStopTime = pending;
            pending = 0;
        } else if (b3 == kFinalAutoStop) {
            if (!log->Samples.empty()) {
                log->Samples.back().AutoStop = 1;
                log->Samples.back().AutoStopTime = -1;
            }
        } else {
            for (const quint8 b : {b0, b1, b2, b3}) {
                if (b == kUnusedSlot) continue;
                const auto delta = static_cast<qint8>(b);
                running += double(delta) / 100.0;
                runningPa += delta;
                appendSample(runningPa);
                pending = 0;
            }
        }
    }
    return result;
}
