#include "link/devicelink.h"

#include <QFile>
#include <limits>

#include "link/terminal.h"
#include "support/delay.h"
#include "support/keystate.h"
#include "support/lenientparse.h"
#include "support/tokens.h"

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#endif

namespace {
// Device texts are single-byte characters; the degree sign and the like pass through unchanged.
QString deviceText(const QByteArray& bytes) { return QString::fromLatin1(bytes); }
}  // namespace

DeviceLink::DeviceLink(Clock& clock, SerialPortProvider& ports, LinkObserver& observer)
    : Timer1(clock, kReceiveTickMs, [this] { Timer1Timer(); }),
      tmCurrMeas(clock, kMeasIntervalMs, [this] { tmCurrMeasTimer(); }),
      m_clock(clock),
      m_ports(ports),
      m_observer(observer) {}

DeviceLink::~DeviceLink() {
    Timer1.stop();
    tmCurrMeas.stop();
}

QStringList DeviceLink::ListComPorts() const {
    QStringList names = m_ports.availablePorts();
    SortPortNamesNaturally(names);
    return names;
}

void DeviceLink::SetupPort(SerialPort& port, int readTimeoutMs) {
    port.setLineSettings();
    port.setReadTimeout(readTimeoutMs);
    port.purge();
    port.setRts(true);
    port.setDtr(true);
}

QString PortPath(const QString& portName) {
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\") + portName;
#else
    if (portName.startsWith(QLatin1Char('/'))) return portName;
    return QStringLiteral("/dev/") + portName;
#endif
}

QString PortPermissionAdvice(const QString& portName) {
#ifdef Q_OS_UNIX
    struct stat st;
    const QByteArray path = QFile::encodeName(PortPath(portName));
    if (::stat(path.constData(), &st) != 0) return QString();
    const struct group* gr = ::getgrgid(st.st_gid);
    if (!gr || !gr->gr_name) return QString();
    const QString group = QString::fromLocal8Bit(gr->gr_name);
    return QStringLiteral(
               "%1 belongs to the group \"%2\"; join it with \"sudo usermod -aG %2 $USER\" "
               "and log in again.")
        .arg(PortPath(portName), group);
#else
    Q_UNUSED(portName);
    return QString();
#endif
}

QString PortOpenErrorText(const SerialPort& port, const QString& portName) {
    QString text = kPortOpenError;
    if (port.openError() == PortOpenError::PermissionDenied) {
        const QString advice = PortPermissionAdvice(portName);
        if (!advice.isEmpty()) text += QLatin1Char('\n') + advice;
    }
    return text;
}

QString DeviceLink::openPort(const QString& name) {
    auto port = m_ports.createPort();
    const bool ok = port->open(name);
    if (!ok) return PortOpenErrorText(*port, name);
    SetupPort(*port, 0);
    ComHandle = std::move(port);
    Timer1.start();
    Delay(m_clock, kOpenSettleMs);
    tmCurrMeas.start();
    LastActivity = 0;
    return QString();
}

void DeviceLink::adoptPort(std::unique_ptr<SerialPort> port) {
    if (!port || !port->isOpen()) return;
    ComHandle = std::move(port);
    Timer1.start();
}

void DeviceLink::closePort() {
    tmCurrMeas.stop();
    Timer1.stop();
    if (ComHandle) ComHandle->close();
    ComHandle.reset();
    SetDeviceConnected(false);
}

void DeviceLink::RestartDevice() {
    if (ComHandle) {
        ComHandle->setDtr(false);
        ComHandle->setRts(false);
    }
    Delay(m_clock, kRestartPulseMs);
    // The port may have been closed while the wait ran events.
    if (ComHandle) {
        ComHandle->setDtr(true);
        ComHandle->setRts(true);
    }
}

void DeviceLink::btnDeviceRestartClick() {
    tmCurrMeas.stop();
    RestartDevice();
}

bool DeviceLink::writeRaw(const QByteArray& bytes) {
    if (!ComHandle) return false;
    return ComHandle->write(bytes) == bytes.size();
}

QString DeviceLink::SendAndWait(const QString& command, quint32 timeoutMs) {
    QString reply;
    const QByteArray cmd = command.toLatin1();
    LinkMode = LinkModes::kCommand;
    writeRaw(cmd + '\n');
    ReceiveBuffer.clear();
    const quint32 t0 = m_clock.tickCount();
    for (;;) {
        const quint32 elapsed = m_clock.tickCount() - t0;
        if (LinkMode != LinkModes::kCommand || elapsed >= timeoutMs) break;
        const qsizetype p = ReceiveBuffer.indexOf(cmd);
        if (p >= 0) {
            const qsizetype q = ReceiveBuffer.indexOf('>', p);
            if (q > p) {
                LinkMode = LinkModes::kIdle;
                reply = deviceText(ReceiveBuffer.mid(p, q - p));
            }
        }
        // Once recognised, only what is pending runs; the loop ends without waiting for more.
        const int wait = LinkMode == LinkModes::kCommand
                             ? static_cast<int>(qMin<quint32>(timeoutMs - elapsed, kReceiveTickMs))
                             : 0;
        m_clock.pumpEvents(wait);
    }
    LinkMode = LinkModes::kIdle;
    return reply;
}

std::optional<QByteArray> DeviceLink::ReadDeviceConfigBody() {
    // An outstanding "meas" answer comes first, or the "cfg" reply would land in MeasBuffer.
    // A device that never answers would leave LinkMode at 6 for good, so the wait also ends
    // once the measurement has had its full second and the watchdog's grace.
    const quint32 waitStart = m_clock.tickCount();
    constexpr quint32 kMeasWaitLimitMs =
        kMeasAnswerLimitMs + kWatchdogLimit * kReceiveTickMs + 2 * kReceiveTickMs;
    while (LinkMode == LinkModes::kMeasurement && !IsKeyDown(kVkEscape) &&
           m_clock.tickCount() - waitStart < kMeasWaitLimitMs) {
        m_clock.pumpEvents(kReceiveTickMs);
    }
    LinkMode = LinkModes::kConfigRead;
    writeRaw(QByteArrayLiteral("cfg\n"));
    ReceiveBuffer.clear();
    const quint32 t0 = m_clock.tickCount();
    std::optional<QByteArray> body;
    for (;;) {
        const quint32 elapsed = m_clock.tickCount() - t0;
        if (LinkMode != LinkModes::kConfigRead || elapsed >= kConfigReadTimeoutMs) break;
        const qsizetype p = ReceiveBuffer.indexOf('\n');
        if (p >= 0) {
            const qsizetype q = ReceiveBuffer.indexOf('>', p);
            if (q > p) {
                LinkMode = LinkModes::kIdle;
                body = ReceiveBuffer.mid(p + 1, q - p - 1);
            }
        }
        const int wait = LinkMode == LinkModes::kConfigRead
                             ? static_cast<int>(qMin<quint32>(kConfigReadTimeoutMs - elapsed, kReceiveTickMs))
                             : 0;
        m_clock.pumpEvents(wait);
    }
    // Only a recognised reply counts: a measurement answer completing inside the wait also
    // returns LinkMode to idle, but brings no configuration.
    return body;
}

void DeviceLink::Timer1Timer() {
    Timer1.stop();
    bool firstRead = true;
    for (;;) {
        char buf[kReceiveChunkBytes];
        const qint64 n = ComHandle ? ComHandle->read(buf, kReceiveChunkBytes) : -1;
        if (LinkMode == LinkModes::kMeasurement && firstRead && n <= 0) {
            if (MissedPolls <= kWatchdogLimit) {
                ++MissedPolls;
            } else {
                SetDeviceConnected(false);
                SetDeviceName(QString());
                MissedPolls = 0;
            }
        }
        firstRead = false;
        if (n <= 0) break;
        dispatch(QByteArray(buf, static_cast<qsizetype>(n)));
        MissedPolls = 0;
    }
    if (m_clock.tickCount() - LastActivity > kTerminalQuietMs && !MeasPaused && ComHandle) tmCurrMeas.start();
    // A dispatcher effect (closing the port) may have ended the link meanwhile.
    if (ComHandle) Timer1.start();
}

void DeviceLink::dispatch(const QByteArray& chunk) {
    if (LinkMode == LinkModes::kIdle) {
        tmCurrMeas.stop();
        LastActivity = m_clock.tickCount();
    }
    RxHistory += chunk;
    if (LinkMode != LinkModes::kDownload) runStatusScan();
    switch (LinkMode) {
        case LinkModes::kIdle:
            m_observer.appendTerminalText(FormatTerminalChunk(chunk));
            LastActivity = m_clock.tickCount();
            tmCurrMeas.stop();
            break;
        case LinkModes::kDownload:
        case LinkModes::kConfigRead:
        case LinkModes::kCommand:
            ReceiveBuffer += chunk;
            break;
        case LinkModes::kMeasurement:
            MeasBuffer += chunk;
            checkMeasurementReply();
            break;
        default:
            break;
    }
}

void DeviceLink::tmCurrMeasTimer() {
    tmCurrMeas.stop();
    MeasBuffer.clear();
    LinkMode = LinkModes::kMeasurement;
    writeRaw(QByteArrayLiteral("meas\n"));
    MeasSentAt = m_clock.tickCount();
}

void DeviceLink::noteTerminalActivity() {
    tmCurrMeas.stop();
    LastActivity = m_clock.tickCount();
}

void DeviceLink::checkMeasurementReply() {
    const qsizetype p = MeasBuffer.indexOf("meas");
    const qsizetype q = p >= 0 ? MeasBuffer.indexOf('>', p) : -1;
    if (q >= 0) {
        const qsizetype len = q - p - 6;  // echo and its line end skipped, the character before ">" dropped
        const QString body = len > 0 ? deviceText(MeasBuffer.mid(p + 5, len)) : QString();
        if (!DeviceConnected) SetDeviceConnected(true);
        MeasTemp = GetToken(body, 1, QLatin1Char(' '));
        MeasPress = GetToken(body, 2, QLatin1Char(' '));
        MeasAlt = GetToken(body, 3, QLatin1Char(' '));
        m_observer.showMeasurement(MeasTemp + QStringLiteral("\u00B0C"), MeasPress + QStringLiteral("hPa"),
                                   MeasAlt + QStringLiteral("m"));
    } else if (m_clock.tickCount() - MeasSentAt <= kMeasAnswerLimitMs) {
        return;
    }
    LinkMode = LinkModes::kIdle;
    tmCurrMeas.start();
}

void DeviceLink::runStatusScan() {
    const StatusScanResult found = m_scanner.scan(RxHistory);
    if (!found.any()) return;
    // Values start after the key and one separator character.
    auto after = [](const QByteArray& line, int skip) { return deviceText(line.mid(skip)); };
    if (const auto& v = found.value(StatusKey::Name)) SetDeviceName(after(*v, 4));
    if (const auto& v = found.value(StatusKey::Uptime)) {
        UptimeText = after(*v, 8);
        m_observer.showUptime(FormatUptime(UptimeText));
    }
    bool texts = false;
    if (const auto& v = found.value(StatusKey::Hw)) HwText = deviceText(*v), texts = true;
    if (const auto& v = found.value(StatusKey::Fw)) FwText = deviceText(*v), texts = true;
    if (const auto& v = found.value(StatusKey::Sn)) SnText = deviceText(*v), texts = true;
    if (const auto& v = found.value(StatusKey::Ee)) EeText = deviceText(*v), texts = true;
    if (texts) m_observer.statusTextsChanged();
    if (const auto& v = found.value(StatusKey::MemUsed)) {
        // Saturate: a garbled count must not overflow the byte figure.
        const qint64 bytes = 4 * qint64(ParseIntLenient(after(*v, 9)));
        MemUsedBytes = static_cast<qint32>(qBound(qint64(std::numeric_limits<qint32>::min()), bytes,
                                                  qint64(std::numeric_limits<qint32>::max())));
        m_observer.showMemory(MemoryPercent(MemUsedBytes),
                              QStringLiteral("Free device memory %1kB").arg(FreeMemoryKb(MemUsedBytes)));
    }
}

void DeviceLink::SetDeviceConnected(bool connected) {
    DeviceConnected = connected;
    m_observer.setDeviceConnected(connected);
}

void DeviceLink::SetDeviceName(const QString& name) {
    DeviceName = name;
    m_observer.setDeviceName(name);
}

void DeviceLink::miResetTimerClick() {
    SendAndWait(QStringLiteral("csv r"), 1000);
    m_observer.showUptime(QStringLiteral("0 min"));
    RestartDevice();
}
