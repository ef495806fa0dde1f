#include "link/simdevice.h"

#include <cmath>

#include "logs/altitude.h"
#include "support/clock.h"

namespace {
constexpr int kDeviceMemoryBytes = 131072;
// 38400 baud with 8N1 framing is 3840 bytes per second; sent in 10 ms slices.
constexpr int kPaceSliceMs = 10;
constexpr int kPaceSliceBytes = 38;
}  // namespace

bool ParseSimFault(const QString& text, SimFault* fault) {
    if (text == QLatin1String("none"))
        *fault = SimFault::None;
    else if (text == QLatin1String("silent"))
        *fault = SimFault::Silent;
    else if (text == QLatin1String("stall"))
        *fault = SimFault::Stall;
    else if (text == QLatin1String("garble"))
        *fault = SimFault::Garble;
    else
        return false;
    return true;
}

SimDevice::SimDevice(Clock& clock, SimDeviceOptions options)
    : m_clock(clock), m_options(std::move(options)), m_name(m_options.name), m_rng(m_options.seed) {
    m_uptimeZero = m_clock.tickCount();
    m_uptimeBase = 1000 + static_cast<qint32>(m_rng() % 50000);
    m_pressurePa = 97000 + double(m_rng() % 4000);
    m_stream = EncodeLogStream(m_logs);
    scheduleStatusTimer();
}

SimDevice::~SimDevice() { *m_alive = false; }

void SimDevice::later(int ms, std::function<void()> fn) {
    std::weak_ptr<bool> alive = m_alive;
    m_clock.schedulePeerEvent(ms, [alive, fn = std::move(fn)] {
        const auto a = alive.lock();
        if (a && *a) fn();
    });
}

void SimDevice::scheduleStatusTimer() {
    if (m_options.statusEveryMs <= 0) return;
    later(m_options.statusEveryMs, [this] {
        if (m_link && !m_held && !m_busyErasing) sendStatus();
        scheduleStatusTimer();
    });
}

void SimDevice::setLogs(std::vector<DeviceLog> logs) {
    QString error;
    QByteArray stream = EncodeLogStream(logs, &error);
    if (stream.isEmpty()) {
        qWarning("simulated device: logs not stored: %s", qPrintable(error));
        logs.clear();
        stream = EncodeLogStream(logs);
    }
    m_logs = std::move(logs);
    m_stream = std::move(stream);
}

qint32 SimDevice::uptimeMinutes() const {
    return m_uptimeBase + static_cast<qint32>((m_clock.tickCount() - m_uptimeZero) / 60000);
}

void SimDevice::connected(SimulatedLink& link) {
    m_link = &link;
    m_input.clear();
    m_out.clear();
    ++m_generation;
}

void SimDevice::disconnected() {
    m_link = nullptr;
    m_input.clear();
    m_out.clear();
    ++m_generation;
}

void SimDevice::modemLinesChanged(bool dtr, bool rts) {
    m_dtr = dtr;
    m_rts = rts;
    if (!dtr || !rts) {
        // Held in reset: whatever it was saying is cut off and input is lost.
        if (!m_held) ++m_generation;
        m_held = true;
        m_input.clear();
        m_out.clear();
        m_busyErasing = false;
        return;
    }
    if (m_held) {
        m_held = false;
        restart();
    }
}

void SimDevice::restart() {
    const quint64 gen = m_generation;
    later(m_options.bootMs, [this, gen] {
        if (gen == m_generation && !m_held) sendStatus();
    });
}

void SimDevice::sendStatus() {
    const qint32 memUsed = qMin<qint32>(static_cast<qint32>(m_stream.size()) - 4, kDeviceMemoryBytes);
    QByteArray s;
    s += "UN: " + m_name.toLatin1() + "\n";
    s += "Uptime: " + QByteArray::number(uptimeMinutes()) + "\n";
    s += "HW: 2.1\n";
    s += "FW: 1.0.93\n";
    s += "SN: " + QByteArray::number(10000 + m_options.seed % 90000) + "\n";
    s += "EE: 24LC1025 OK\n";
    s += "Mem used: " + QByteArray::number(qMax(0, memUsed) / 4) + "\n";
    queueOut(s);
}

void SimDevice::receive(const QByteArray& fromHost) {
    if (m_held || m_busyErasing || m_options.fault == SimFault::Silent) return;
    m_input += fromHost;
    for (;;) {
        const qsizetype lf = m_input.indexOf('\n');
        if (lf < 0) break;
        QByteArray line = m_input.left(lf);
        m_input.remove(0, lf + 1);
        if (line.endsWith('\r')) line.chop(1);
        const quint64 gen = m_generation;
        later(m_options.answerDelayMs, [this, gen, line] {
            if (gen == m_generation && !m_held) handleLine(line);
        });
    }
    // A line that never ends must not grow without bound.
    if (m_input.size() > 4096) m_input.clear();
}

QByteArray SimDevice::garbled(const QByteArray& echo) {
    QByteArray g = echo;
    for (char& c : g) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
        else if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    }
    g.insert(static_cast<qsizetype>(m_rng() % (g.size() + 1)), char(0x80 + m_rng() % 0x7F));
    return g;
}

void SimDevice::answer(const QByteArray& echo, const QByteArray& body, bool prompt) {
    QByteArray out = (m_options.fault == SimFault::Garble ? garbled(echo) : echo) + "\n" + body;
    if (prompt) out += '>';
    queueOut(out);
}

void SimDevice::handleLine(const QByteArray& line) {
    m_lines.append(QString::fromLatin1(line));
    const QList<QByteArray> words = line.split(' ');
    const QByteArray cmd = words.value(0);
    const QByteArray sub = words.value(1);
    auto number = [&](int i) { return words.value(i).toInt(); };

    if (line == "csv c") {
        answer(line, "VUMA altitude logger, " + m_name.toLatin1() + "\n");
    } else if (line == "meas") {
        // Small drift so the live values move like a real sensor's.
        std::normal_distribution<double> noise(0.0, 3.0);
        m_pressurePa += noise(m_rng);
        m_temperature += noise(m_rng) / 30.0;
        const double hpa = m_pressurePa / 100.0;
        answer(line, QByteArray::number(m_temperature, 'f', 1) + ' ' + QByteArray::number(hpa, 'f', 2) + ' ' +
                         QByteArray::number(PressureToAltitude(hpa), 'f', 1) + "\n");
    } else if (line == "cfg") {
        // No line end before the prompt: the reader takes the last field up to the ">".
        answer(line, QByteArray::number(m_config.mafl) + ' ' + QByteArray::number(m_config.sd) + ' ' +
                         QByteArray::number(m_config.lr) + ' ' + QByteArray::number(m_config.lass) + ' ' +
                         QByteArray::number(m_config.ce));
    } else if (cmd == "cfg" && words.size() >= 2) {
        if (sub == "m")
            m_config.mafl = number(2);
        else if (sub == "s")
            m_config.sd = number(2);
        else if (sub == "x")
            m_config.lr = number(2);
        else if (sub == "l")
            m_config.lass = number(2);
        else if (sub == "c")
            m_config.ce = number(2) ? 1 : 0;
        answer(line, "OK\n");
    } else if (cmd == "csv" && sub == "u") {
        m_name = QString::fromLatin1(line.mid(6));
        answer(line, "OK\n");
    } else if (line == "csv r") {
        m_uptimeBase = 0;
        m_uptimeZero = m_clock.tickCount();
        answer(line, "OK\n");
        sendStatus();
    } else if (line == "lgr b") {
        answer(line, QByteArray(), false);
        if (m_options.fault == SimFault::Stall) {
            queueOut(m_stream.left(m_stream.size() / 2));
        } else {
            queueOut(m_stream);
        }
    } else if (line == "lgc") {
        answer(line, QByteArray(), false);
        // Erasing the flash takes a while; the device hears nothing until it is done.
        m_busyErasing = true;
        const quint64 gen = m_generation;
        later(m_options.eraseSilenceMs, [this, gen] {
            if (gen != m_generation) return;
            m_busyErasing = false;
            setLogs({});
            queueOut(">");
        });
    } else if (line.isEmpty()) {
        queueOut("\n>");
    } else {
        answer(line, "Unknown command\n");
    }
}

void SimDevice::queueOut(const QByteArray& bytes) {
    if (!m_link || m_options.fault == SimFault::Silent) return;
    m_out += bytes;
    if (!m_flushing) flushOut();
}

void SimDevice::flushOut() {
    if (!m_link || m_out.isEmpty()) {
        m_flushing = false;
        return;
    }
    if (!m_options.pace) {
        const QByteArray out = std::move(m_out);
        m_out.clear();
        m_flushing = false;
        m_link->sendToHost(out);
        return;
    }
    m_flushing = true;
    m_link->sendToHost(m_out.left(kPaceSliceBytes));
    m_out.remove(0, kPaceSliceBytes);
    const quint64 gen = m_generation;
    later(kPaceSliceMs, [this, gen] {
        if (gen != m_generation) {
            // Reset meanwhile: what was queued before is gone, what came after still goes out.
            m_flushing = false;
            if (!m_out.isEmpty()) flushOut();
            return;
        }
        flushOut();
    });
}
