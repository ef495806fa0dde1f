#include <QTextStream>
#include <functional>

#include "app/cli/clicommand.h"
#include "link/devicelink.h"
#include "link/qtserialport.h"
#include "support/lenientparse.h"
#include "support/realclock.h"

// Device commands: list the ports, read the device's status, send one command line.

namespace {

constexpr quint32 kStatusWaitMs = 3000;
constexpr quint32 kMeasWaitMs = 1500;
constexpr quint32 kSendTimeoutMs = 1000;

class StatusObserver : public LinkObserver {
public:
    void showMemory(int, const QString&) override { memReported = true; }
    bool memReported = false;
};

QString optionValue(const QStringList& args, const QString& name) {
    const int i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
}

// Opens the named port for a headless session: no automatic "meas" polling.
bool openForCli(DeviceLink& link, const QString& portName, QTextStream& err) {
    auto port = link.portProvider().createPort();
    if (!port->open(portName)) {
        err << "vuma-cli: " << portName << ": " << PortOpenErrorText(*port, portName);
        if (!port->errorText().isEmpty()) err << " (" << port->errorText() << ")";
        err << "\n";
        return false;
    }
    DeviceLink::SetupPort(*port, 0);
    link.MeasPaused = true;
    link.adoptPort(std::move(port));
    return true;
}

void waitUntil(Clock& clock, quint32 ms, const std::function<bool()>& done) {
    const quint32 t0 = clock.tickCount();
    while (!done() && clock.tickCount() - t0 < ms) clock.pumpEvents(20);
}

QString afterKey(const QString& line, int keyLength) { return line.mid(keyLength).trimmed(); }

int runPorts(const QStringList& args) {
    QTextStream out(stdout);
    if (!args.isEmpty()) {
        QTextStream(stderr) << "usage: vuma-cli ports\n";
        return kExitFileOrUsage;
    }
    QtSerialPortProvider ports;
    RealClock clock;
    LinkObserver none;
    DeviceLink link(clock, ports, none);
    for (const QString& name : link.ListComPorts()) out << name << "\n";
    return kExitOk;
}

int runStatus(const QStringList& args) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString portName = optionValue(args, QStringLiteral("--port"));
    if (portName.isEmpty()) {
        err << "usage: vuma-cli status --port PORT\n";
        return kExitFileOrUsage;
    }
    RealClock clock;
    QtSerialPortProvider ports;
    StatusObserver observer;
    DeviceLink link(clock, ports, observer);
    if (!openForCli(link, portName, err)) return kExitFileOrUsage;

    link.RestartDevice();
    // "Mem used:" closes the device's status report.
    waitUntil(clock, kStatusWaitMs, [&] { return observer.memReported; });
    link.tmCurrMeas.stop();
    link.tmCurrMeasTimer();
    waitUntil(clock, kMeasWaitMs, [&] { return link.LinkMode != LinkModes::kMeasurement; });
    link.tmCurrMeas.stop();
    const bool measured = link.DeviceConnected;
    const bool answered =
        measured || observer.memReported || !link.DeviceName.isEmpty() || !link.HwText.isEmpty();
    link.closePort();

    const QList<std::pair<const char*, QString>> rows = {
        {"name", link.DeviceName},
        {"uptime", link.UptimeText.isEmpty() ? QString() : FormatUptime(link.UptimeText).trimmed()},
        {"total_uptime",
         link.UptimeText.isEmpty() ? QString() : QString::number(ParseIntLenient(link.UptimeText))},
        {"hw", afterKey(link.HwText, 3)},
        {"fw", afterKey(link.FwText, 3)},
        {"sn", afterKey(link.SnText, 3)},
        {"ee", afterKey(link.EeText, 3)},
        {"mem_used_bytes", observer.memReported ? QString::number(link.MemUsedBytes) : QString()},
        {"temperature_c", measured ? link.MeasTemp.trimmed() : QString()},
        {"pressure_hpa", measured ? link.MeasPress.trimmed() : QString()},
        {"altitude_m", measured ? link.MeasAlt.trimmed() : QString()},
    };
    for (const auto& [key, value] : rows) out << key << "\t" << value << "\n";
    if (!answered) {
        err << "vuma-cli: the device on " << portName << " did not answer\n";
        return kExitNoAnswer;
    }
    return kExitOk;
}

int runSend(const QStringList& args) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString portName = optionValue(args, QStringLiteral("--port"));
    QStringList rest = args;
    const int at = rest.indexOf(QStringLiteral("--port"));
    if (at >= 0) rest.remove(at, qMin<qsizetype>(2, rest.size() - at));
    if (portName.isEmpty() || rest.size() != 1) {
        err << "usage: vuma-cli send --port PORT \"COMMAND\"\n";
        return kExitFileOrUsage;
    }
    RealClock clock;
    QtSerialPortProvider ports;
    LinkObserver none;
    DeviceLink link(clock, ports, none);
    if (!openForCli(link, portName, err)) return kExitFileOrUsage;
    link.tmCurrMeas.stop();
    const QString reply = link.SendAndWait(rest.first(), kSendTimeoutMs);
    link.closePort();
    if (reply.isEmpty()) {
        err << "vuma-cli: no answer to \"" << rest.first() << "\" within " << kSendTimeoutMs << " ms\n";
        return kExitNoAnswer;
    }
    // The reply starts with the echo line; the answer is what follows it.
    const qsizetype lf = reply.indexOf(QLatin1Char('\n'));
    QString answer = lf >= 0 ? reply.mid(lf + 1) : QString();
    answer.remove(QLatin1Char('\r'));
    out << answer;
    if (!answer.isEmpty() && !answer.endsWith(QLatin1Char('\n'))) out << "\n";
    return kExitOk;
}

}  // namespace

VUMA_CLI_COMMAND("ports", "ports                          list the serial ports", runPorts);
VUMA_CLI_COMMAND("status", "status --port PORT             restart the device and print its status",
                 runStatus);
VUMA_CLI_COMMAND("send", "send --port PORT \"COMMAND\"     send one command line and print the answer",
                 runSend);
