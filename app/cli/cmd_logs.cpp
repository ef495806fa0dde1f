// vuma-cli download / clear, and convert --stream: the device's logs without the window.
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

#include "app/cli/clicommand.h"
#include "app/cli/streamconvert.h"
#include "files/fileerrors.h"
#include "files/logexport.h"
#include "files/logfile.h"
#include "link/devicelink.h"
#include "link/qtserialport.h"
#include "logs/logdeletion.h"
#include "logs/logdownload.h"
#include "support/realclock.h"
#include "support/textfiles.h"

namespace {

struct OutputOptions {
    QString port;
    bool yes = false;
    bool excel = false;
    int logNumber = 1;
    QStringList paths;
};

// Parses the options shared by the log commands; false on anything unknown or malformed.
bool parseOptions(const QStringList& args, OutputOptions* o) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--port") && i + 1 < args.size()) {
            o->port = args[++i];
        } else if (a == QLatin1String("--log") && i + 1 < args.size()) {
            bool ok = false;
            o->logNumber = args[++i].toInt(&ok);
            if (!ok) return false;
        } else if (a == QLatin1String("--excel")) {
            o->excel = true;
        } else if (a == QLatin1String("--yes")) {
            o->yes = true;
        } else if (a == QLatin1String("--stream")) {
            // convert --stream arrives here with its switch
        } else if (a.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            o->paths.append(a);
        }
    }
    return true;
}

bool knownOutput(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    return ext == QLatin1String("vul") || ext == QLatin1String("vuc") || ext == QLatin1String("xml") ||
           ext == QLatin1String("csv") || ext == QLatin1String("txt");
}

// Writes the logs by the file's extension: all of them to .vul, .vuc and .xml, the chosen one
// to .csv and .txt.
int writeLogs(const QString& outPath, const DownloadedLogs& logs, const OutputOptions& o, QTextStream& err) {
    const QString ext = QFileInfo(outPath).suffix().toLower();
    const NumberSeparators separators = NumberSeparators::fromLocale(QLocale::system());
    QString error;
    if (ext == QLatin1String("vul") || ext == QLatin1String("vuc")) {
        LogFileContent content;
        content.logs = logs.logs;
        content.names = logs.names;
        error = SaveLogFile(outPath, content, ext == QLatin1String("vuc"));
    } else if (ext == QLatin1String("xml")) {
        SaveStringToFile(outPath, ExportXml(logs.logs, logs.names, separators), &error);
    } else {
        if (o.logNumber < 1 || o.logNumber > logs.logs.size()) {
            err << "vuma-cli: there is no log " << o.logNumber << " in the download\n";
            return kExitFileOrUsage;
        }
        const QByteArray csv =
            ExportCsv(logs.logs[o.logNumber - 1], o.excel ? CsvStyle::Excel : CsvStyle::Plain, separators);
        SaveStringToFile(outPath, csv, &error);
    }
    if (!error.isEmpty()) {
        err << outPath << ": " << error << "\n";
        return kExitFileOrUsage;
    }
    return kExitOk;
}

// Opens the port for a headless session: the live measurement stays off.
bool openPort(DeviceLink& link, const QString& portName, QTextStream& err) {
    auto port = link.portProvider().createPort();
    if (!port->open(portName)) {
        err << "vuma-cli: " << portName << ": " << PortOpenErrorText(*port, portName) << "\n";
        return false;
    }
    DeviceLink::SetupPort(*port, 0);
    link.MeasPaused = true;
    link.adoptPort(std::move(port));
    return true;
}

// A device that has just been plugged in or restarted sends its status lines unasked; they must
// not mix into the log stream. Waits until the line has been quiet for a moment (the status scan
// meanwhile picks up the serial number the archive is named by).
void waitForQuietLine(DeviceLink& link) {
    constexpr quint32 kQuietMs = 300;
    constexpr quint32 kMaxWaitMs = 3000;
    Clock& clock = link.clock();
    const quint32 t0 = clock.tickCount();
    quint32 lastGrowth = t0;
    qsizetype seen = link.RxHistory.size();
    while (clock.tickCount() - lastGrowth < kQuietMs && clock.tickCount() - t0 < kMaxWaitMs) {
        clock.pumpEvents(50);
        if (link.RxHistory.size() != seen) {
            seen = link.RxHistory.size();
            lastGrowth = clock.tickCount();
        }
    }
}

class StderrProgress : public DownloadObserver, public DeletionObserver {
public:
    explicit StderrProgress(QTextStream& err) : m_err(err) {}
    void downloadStarted(const QString& infoLine, qint32) override { m_err << infoLine << "\n" << Qt::flush; }
    void downloadProgress(const QString& status, qint64, const QString& percent) override {
        const QString line = status + QLatin1Char(' ') + percent;
        if (line == m_last) return;
        m_last = line;
        m_err << '\r' << line << Qt::flush;
    }
    void downloadFinished() override { m_err << "\n" << Qt::flush; }
    void deletionStarted(int) override { m_err << "Delete in progress.\n" << Qt::flush; }
    void deletionTick(int, const QString& percent) override { m_err << '\r' << percent << Qt::flush; }
    void deletionChecking() override { m_err << "\nWaiting for the device...\n" << Qt::flush; }

private:
    QTextStream& m_err;
    QString m_last;
};

QString plainLines(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

int runDownload(const QStringList& args) {
    QTextStream err(stderr);
    const QString usage = QStringLiteral("usage: vuma-cli download --port PORT OUT [--log N] [--excel]\n");
    OutputOptions o;
    if (!parseOptions(args, &o) || o.port.isEmpty() || o.paths.size() != 1 || o.yes) {
        err << usage;
        return kExitFileOrUsage;
    }
    const QString outPath = o.paths[0];
    if (!knownOutput(outPath)) {
        err << outPath << ": " << UnsupportedFormatText() << "\n";
        return kExitFileOrUsage;
    }
    QtSerialPortProvider ports;
    RealClock clock;
    LinkObserver none;
    DeviceLink link(clock, ports, none);
    if (!openPort(link, o.port, err)) return kExitFileOrUsage;
    waitForQuietLine(link);
    StderrProgress progress(err);
    const DownloadResult result = DownloadLogs(link, progress, DefaultDownloadFiles());
    link.closePort();

    if (!result.decoded.hasLogs) {
        err << kNoLogText << "\n";
        return kExitNoLogs;
    }
    if (!result.archivePath.isEmpty()) err << "archived: " << result.archivePath << "\n";
    if (!result.archiveError.isEmpty()) err << "vuma-cli: " << result.archiveError << "\n";
    if (!result.dumpError.isEmpty()) err << "vuma-cli: " << result.dumpError << "\n";
    if (result.timedOut) {
        err << "vuma-cli: warning: the transfer stopped before its end marker; keeping the "
            << result.decoded.logs.size() << " log(s) received so far\n";
    }
    return writeLogs(outPath, result.decoded, o, err);
}

int runClear(const QStringList& args) {
    QTextStream err(stderr);
    OutputOptions o;
    if (!parseOptions(args, &o) || o.port.isEmpty() || !o.paths.isEmpty() || !o.yes) {
        err << "usage: vuma-cli clear --port PORT --yes\n";
        return kExitFileOrUsage;
    }
    QtSerialPortProvider ports;
    RealClock clock;
    LinkObserver none;
    DeviceLink link(clock, ports, none);
    if (!openPort(link, o.port, err)) return kExitFileOrUsage;
    waitForQuietLine(link);
    StderrProgress progress(err);
    const bool answered = DeleteLogs(link, progress);
    link.closePort();
    if (!answered) {
        err << plainLines(kLostConnectionText) << "\n";
        return kExitNoAnswer;
    }
    return kExitOk;
}

}  // namespace

int RunConvertStream(const QStringList& args) {
    QTextStream err(stderr);
    OutputOptions o;
    if (!parseOptions(args, &o) || !o.port.isEmpty() || o.yes || o.paths.size() != 2) {
        err << "usage: vuma-cli convert --stream RAW OUT [--log N] [--excel]\n";
        return kExitFileOrUsage;
    }
    const QString& inPath = o.paths[0];
    const QString& outPath = o.paths[1];
    if (!knownOutput(outPath)) {
        err << outPath << ": " << UnsupportedFormatText() << "\n";
        return kExitFileOrUsage;
    }
    QString error;
    const std::optional<QByteArray> raw = LoadStringFromFile(inPath, &error);
    if (!raw) {
        err << inPath << ": " << error << "\n";
        return kExitFileOrUsage;
    }
    const DownloadedLogs logs = DecodeDownload(*raw);
    if (!logs.hasLogs) {
        err << inPath << ": " << kNoLogText << "\n";
        return kExitNoLogs;
    }
    if (!logs.endMarkerSeen) err << inPath << ": warning: the stream ends without its end marker\n";
    return writeLogs(outPath, logs, o, err);
}

VUMA_CLI_COMMAND(
    "download",
    "download --port PORT OUT [--log N] [--excel]\n"
    "                                 read all logs from the device, write .vul .vuc .csv .txt .xml",
    runDownload);
VUMA_CLI_COMMAND("clear", "clear --port PORT --yes        erase all logs in the device", runClear);
