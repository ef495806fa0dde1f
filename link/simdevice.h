#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "link/logstreamencoder.h"
#include "link/simulatedport.h"

class Clock;

/// How the simulated device misbehaves.
enum class SimFault {
    None,
    Silent,  // answers nothing at all
    Stall,   // the log stream stops half-way
    Garble,  // echoes come back garbled
};

struct SimDeviceOptions {
    QString name = QStringLiteral("VUMA demo");
    quint32 seed = 1;
    SimFault fault = SimFault::None;
    /// How long "lgc" keeps the device silent while it erases.
    int eraseSilenceMs = 10000;
    /// Status lines on its own every so often; 0 = only after a restart.
    int statusEveryMs = 0;
    /// Send at the 38400-baud wire rate (about 3.84 bytes per ms) instead of all at once.
    bool pace = false;
    /// From the end of a restart pulse to the status lines.
    int bootMs = 200;
    /// From a complete command line to the first byte of its answer.
    int answerDelayMs = 2;
};

/// The configuration the device reports with "cfg".
struct SimDeviceConfig {
    qint32 mafl = 9;   // moving average filter length
    qint32 sd = 100;   // sample delay, ms
    qint32 lr = 10;    // log ratio
    qint32 lass = 30;  // auto stop/start delay, s
    qint32 ce = 1;     // compression
};

/// The VUMA device as the program knows it: echoes each command line and ends with ">",
/// identifies itself ("csv c"), reports live values ("meas"), its configuration ("cfg" and its
/// writes), status lines after every restart (DTR/RTS pulse), streams its logs ("lgr b") and
/// erases them ("lgc"). Every delay runs on the clock's peer events, so in virtual time a whole
/// session costs no real time.
class SimDevice : public SimulatedPeer {
public:
    SimDevice(Clock& clock, SimDeviceOptions options = {});
    ~SimDevice() override;

    void setLogs(std::vector<DeviceLog> logs);
    const std::vector<DeviceLog>& logs() const { return m_logs; }
    /// The stream "lgr b" sends after its echo.
    QByteArray logStream() const { return m_stream; }
    const SimDeviceConfig& config() const { return m_config; }
    QString name() const { return m_name; }
    SimDeviceOptions& options() { return m_options; }
    /// Every command line received, in order (without line end).
    const QStringList& receivedLines() const { return m_lines; }
    /// Total up time in minutes now.
    qint32 uptimeMinutes() const;
    /// The base pressure of the live values, in Pa.
    void setAirPressure(double pa) { m_pressurePa = pa; }

    /// Queues the status lines for sending now.
    void sendStatus();

    // SimulatedPeer
    void connected(SimulatedLink& link) override;
    void disconnected() override;
    void receive(const QByteArray& fromHost) override;
    void modemLinesChanged(bool dtr, bool rts) override;

private:
    void handleLine(const QByteArray& line);
    void answer(const QByteArray& echo, const QByteArray& body, bool prompt = true);
    void queueOut(const QByteArray& bytes);
    void flushOut();
    void later(int ms, std::function<void()> fn);
    void scheduleStatusTimer();
    void restart();
    QByteArray garbled(const QByteArray& echo);

    Clock& m_clock;
    SimDeviceOptions m_options;
    SimDeviceConfig m_config;
    QString m_name;
    std::vector<DeviceLog> m_logs;
    QByteArray m_stream;
    QStringList m_lines;
    SimulatedLink* m_link = nullptr;
    QByteArray m_input;
    QByteArray m_out;
    bool m_flushing = false;
    bool m_held = false;  // DTR or RTS low: the device is in reset
    bool m_busyErasing = false;
    bool m_dtr = true, m_rts = true;
    quint32 m_uptimeZero = 0;  // tick count at which the up time was m_uptimeBase
    qint32 m_uptimeBase = 0;
    double m_pressurePa = 98520;
    double m_temperature = 21.5;
    quint64 m_generation = 0;  // bumps on reset and disconnect: stale answers are dropped
    std::mt19937 m_rng;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

/// Parses a "--fault" name ("silent", "stall", "garble"); false for an unknown name.
bool ParseSimFault(const QString& text, SimFault* fault);
