#pragma once

// DeviceLink: the link state of the main window and the engines that run on it.
//
//   DeviceLink link(clock, portProvider, observer);
//   QString err = link.openPort("ttyUSB0");   // btnOpenClick "Open"; empty on success
//   link.adoptPort(std::move(portFromScan));  // start-up: take the scan's port, start Timer1
//   link.RestartDevice();                     // DTR/RTS pulse, 500 ms wait
//   QString reply = link.SendAndWait("csv r", 1000);
//   std::optional<QByteArray> body = link.ReadDeviceConfigBody();  // the "cfg" reply body
//   link.closePort();                         // btnOpenClick "Close"
//
// State named as the program names it (ComHandle, LinkMode, ReceiveBuffer, MeasBuffer, RxHistory,
// LastActivity, MissedPolls, MeasSentAt, MeasPaused, Timer1, tmCurrMeas, DeviceName, UptimeText,
// HwText, FwText, SnText, EeText, MemUsedBytes, DeviceConnected) is public: the log download,
// log deletion and configuration cycle work on it directly. Screen effects go to LinkObserver.
// The link closes its port when destroyed, so a simulated device must outlive it.
//
// Related pieces: link/terminal.h (display text, command history, Enter), link/portscanner.h
// (start-up scan), link/simdevice.h + link/demologs.h (the device model for --demo and tests),
// logs/logstreamdecoder.h (the "lgr b" stream to logs).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "link/linkobserver.h"
#include "link/serialport.h"
#include "link/statusscanner.h"
#include "support/clock.h"

/// Values of LinkMode: where received bytes go.
namespace LinkModes {
constexpr quint8 kIdle = 0;         // terminal
constexpr quint8 kDownload = 2;     // ReceiveBuffer, no status scan
constexpr quint8 kConfigRead = 4;   // ReceiveBuffer
constexpr quint8 kCommand = 5;      // ReceiveBuffer
constexpr quint8 kMeasurement = 6;  // MeasBuffer
}  // namespace LinkModes

constexpr int kReceiveTickMs = 100;
constexpr int kMeasIntervalMs = 1000;
constexpr quint32 kMeasAnswerLimitMs = 1000;
constexpr quint32 kTerminalQuietMs = 1000;
constexpr quint32 kConfigReadTimeoutMs = 1000;
constexpr int kRestartPulseMs = 500;
constexpr int kOpenSettleMs = 500;
constexpr int kReceiveChunkBytes = 10;
constexpr int kWatchdogLimit = 10;  // empty ticks counted before the device is declared absent
inline const QString kPortOpenError = QStringLiteral("Com port couldn't be open.");

class DeviceLink {
public:
    DeviceLink(Clock& clock, SerialPortProvider& ports, LinkObserver& observer);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    Clock& clock() { return m_clock; }
    SerialPortProvider& portProvider() { return m_ports; }

    // --- Port --------------------------------------------------------------------------------
    /// The machine's ports in natural order (ttyS2 before ttyS10, COM3 before COM12).
    QStringList ListComPorts() const;
    /// 38400 8N1, read time-out, purge, RTS then DTR raised.
    static void SetupPort(SerialPort& port, int readTimeoutMs);
    /// Opens the named port (btnOpenClick while "Open"): set-up, Timer1, 500 ms, tmCurrMeas,
    /// LastActivity 0. Returns the error text when it cannot be opened ("Com port couldn't be
    /// open.", with advice on a missing permission), empty on success. The caller stores the port
    /// name in the settings and applies the window's port-opened state.
    QString openPort(const QString& name);
    /// Closes the port (btnOpenClick while "Close"): stops both timers, device absent.
    void closePort();
    /// Takes a port that is already open and set up (the start-up scan's) and starts Timer1.
    void adoptPort(std::unique_ptr<SerialPort> port);
    bool isPortOpen() const { return ComHandle && ComHandle->isOpen(); }
    /// Drops DTR and RTS for 500 ms; events keep running meanwhile.
    void RestartDevice();
    /// Tool bar "Restart device": stops the live measurement first.
    void btnDeviceRestartClick();
    /// Writes bytes to the open port; false without a port or when the write failed.
    bool writeRaw(const QByteArray& bytes);

    // --- Command exchange --------------------------------------------------------------------
    /// Writes the command and a line feed and waits for its echo followed by ">". The reply runs
    /// from the echo up to the prompt (without it); empty on time-out.
    QString SendAndWait(const QString& command, quint32 timeoutMs);
    /// Waits for an outstanding "meas" answer (Escape ends that wait), writes "cfg" and waits up to
    /// 1000 ms for a line feed and a later ">". Returns the body between them, or nothing.
    std::optional<QByteArray> ReadDeviceConfigBody();

    // --- Receive loop and live measurement ---------------------------------------------------
    /// The 100 ms receive tick: drains the port in 10-byte chunks, runs the watchdog.
    void Timer1Timer();
    /// Hands one received chunk to the dispatcher (also used by tests).
    void dispatch(const QByteArray& chunk);
    /// Each firing of tmCurrMeas: writes "meas" with LinkMode 6.
    void tmCurrMeasTimer();
    /// Terminal traffic or a command-line key: holds the live measurement off for a second.
    void noteTerminalActivity();
    /// Device menu "Reset total up time".
    void miResetTimerClick();

    // --- State -------------------------------------------------------------------------------
    std::unique_ptr<SerialPort> ComHandle;
    quint8 LinkMode = LinkModes::kIdle;
    QByteArray ReceiveBuffer;
    QByteArray MeasBuffer;
    QByteArray RxHistory;
    quint32 LastActivity = 0;
    qint32 MissedPolls = 0;
    quint32 MeasSentAt = 0;
    bool MeasPaused = false;
    Timer Timer1;
    Timer tmCurrMeas;

    bool DeviceConnected = false;
    QString DeviceName;
    QString UptimeText;
    QString HwText, FwText, SnText, EeText;
    qint32 MemUsedBytes = 0;
    /// The last measurement fields as received (temperature, pressure, altitude).
    QString MeasTemp, MeasPress, MeasAlt;

    const StatusScanner& statusScanner() const { return m_scanner; }

    void SetDeviceConnected(bool connected);
    void SetDeviceName(const QString& name);

private:
    void runStatusScan();
    void checkMeasurementReply();

    Clock& m_clock;
    SerialPortProvider& m_ports;
    LinkObserver& m_observer;
    StatusScanner m_scanner;
};

/// Explains how to get access to a serial device the user may not open ("...group dialout...").
/// Empty when the device file cannot be examined.
QString PortPermissionAdvice(const QString& portName);
/// "Com port couldn't be open." for a port that failed to open, with advice when access was denied.
QString PortOpenErrorText(const SerialPort& port, const QString& portName);
/// The device path the program shows and opens for a port name.
QString PortPath(const QString& portName);
