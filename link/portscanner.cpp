#include "link/portscanner.h"

#include "link/devicelink.h"
#include "support/clock.h"
#include "support/delay.h"
#include "support/paths.h"
#include "support/textfiles.h"

namespace {

constexpr int kScanReadTimeoutMs = 10;
constexpr int kSettleMs = 100;
constexpr int kAnswerDelayMs = 50;
constexpr int kAnswerBytes = 50;
constexpr int kRestartPulseScanMs = 10;
// A device that keeps talking would hold the drain forever; what it sends past this is left
// for the identity read to sort out.
constexpr int kMaxDrainBytes = 4096;

}  // namespace

QString PortScanLogPath() { return TempFolder() + QStringLiteral("vuma.log"); }

std::unique_ptr<SerialPort> ScanForDevice(Clock& clock, SerialPortProvider& ports,
                                          const PortScanSettings& settings, QString& portName,
                                          PortScanObserver* observer, const QString& logPath) {
    PortScanObserver none;
    PortScanObserver& ui = observer ? *observer : none;
    const QString logFile = logPath.isEmpty() ? PortScanLogPath() : logPath;
    auto log = [&](const QString& text) { AppendLogLine(logFile, text, true); };

    std::unique_ptr<SerialPort> result;
    if (!settings.scanPorts && !settings.portAutoOpen) return result;

    const QString lastKnown = portName;
    QStringList list;
    if (settings.scanPorts) {
        list = ports.availablePorts();
        SortPortNamesNaturally(list);
    }
    ui.scanStarted(static_cast<int>(list.size()));
    qsizetype knownAt = -1;
    for (qsizetype i = 0; i < list.size() && !lastKnown.isEmpty(); ++i) {
        if (list[i].compare(lastKnown, Qt::CaseInsensitive) == 0) {
            knownAt = i;
            break;
        }
    }
    if (knownAt > 0) list.swapItemsAt(0, knownAt);

    int handles = 0;
    for (const QString& name : list) {
        const QString path = PortPath(name);
        ui.setText(QStringLiteral("Connecting to port ") + path);
        ui.advance();
        clock.pumpEvents(0);
        log(QStringLiteral("Open port ") + path);
        auto port = ports.createPort();
        const bool opened = port->open(name);
        log(QStringLiteral("ComHandle = ") + QString::number(opened ? ++handles : -1));
        if (!opened) {
            log(QStringLiteral("GetLastError = ") + port->errorText() + QStringLiteral(" (") +
                QString::number(static_cast<int>(port->openError())) + QStringLiteral(")"));
            continue;
        }
        log(QStringLiteral("Inicialize port"));
        DeviceLink::SetupPort(*port, kScanReadTimeoutMs);
        Delay(clock, kSettleMs);
        char byte;
        for (int drained = 0; drained < kMaxDrainBytes && port->read(&byte, 1) > 0; ++drained) {
        }
        log(QStringLiteral("Writing command ECHO"));
        const qint64 written = port->write(QByteArrayLiteral("csv c\n"));
        if (written < 0) {
            log(QStringLiteral("Writing command ECHO - error"));
            continue;
        }
        if (written < 6) continue;
        Delay(clock, kAnswerDelayMs);
        log(QStringLiteral("Reading command ECHO"));
        char buf[kAnswerBytes];
        const qint64 n = port->read(buf, kAnswerBytes);
        if (n < 0) {
            log(QStringLiteral("Reading command ECHO - error no data"));
            continue;
        }
        const QByteArray answer(buf, static_cast<qsizetype>(n));
        log((QStringLiteral("\nRead data ") + QString::fromLatin1(answer)).left(60));
        if (n >= 3 && answer.contains("VUMA")) {
            portName = name;
            log(QStringLiteral("Found port with vuma00 ") + path);
            DeviceLink::SetupPort(*port, 0);
            port->setDtr(false);
            port->setRts(false);
            Delay(clock, kRestartPulseScanMs);
            port->setDtr(true);
            port->setRts(true);
            result = std::move(port);
            break;
        }
        log(QStringLiteral("Wrong data ($00D0 expected)"));
    }

    if (!result && !lastKnown.isEmpty()) {
        const QString path = PortPath(lastKnown);
        portName = lastKnown;
        ui.setText(QStringLiteral("Connecting to last known port ") + path);
        ui.advance();
        clock.pumpEvents(0);
        auto port = ports.createPort();
        if (port->open(lastKnown)) {
            DeviceLink::SetupPort(*port, 0);
            result = std::move(port);
        }
    }
    if (!settings.portAutoOpen && result) {
        result->close();
        result.reset();
    }
    return result;
}
