// vuma-cli info / convert: log files without the window.
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

#include "app/cli/clicommand.h"
#include "app/cli/streamconvert.h"
#include "files/csvimport.h"
#include "files/fileerrors.h"
#include "files/fileformat.h"
#include "files/logexport.h"
#include "files/logfile.h"
#include "support/textfiles.h"

namespace {

// Reads a log file (plain or compressed, by its header tag) or imports a ".csv" file.
LogFileResult readAnyLogFile(const QString& path) {
    if (OpenFormatForPath(path) == OpenFormat::CsvImport) {
        LogFileResult result;
        CsvImportResult imported = LoadCsvImport(path, {});
        result.error = imported.error;
        if (imported.ok()) {
            result.content.logs.append(std::move(imported.log));
            result.content.names.append(imported.name);
        }
        return result;
    }
    return LoadLogFile(path, LogFileReadContext());
}

QString tableText(QString text) {
    // A name must not break the table apart.
    for (QChar& c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) c = QLatin1Char(' ');
    }
    return text;
}

int runInfo(const QStringList& args) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    if (args.isEmpty()) {
        err << "usage: vuma-cli info FILE...\n";
        return kExitFileOrUsage;
    }
    const bool withFile = args.size() > 1;
    if (withFile) out << "file\t";
    out << "index\tname\tsamples\tperiod_ms\tmin_alt_m\tmax_alt_m\tautostops\n";
    int exitCode = kExitOk;
    for (const QString& path : args) {
        const LogFileResult result = readAnyLogFile(path);
        if (!result.ok()) {
            out.flush();
            err << path << ": " << result.error << "\n";
            err.flush();
            exitCode = kExitFileOrUsage;
            continue;
        }
        const LogFileContent& c = result.content;
        for (qsizetype i = 0; i < c.logs.size(); ++i) {
            const TMeas& log = c.logs[i];
            QString minText, maxText;
            qint64 autoStops = 0;
            if (!log.Samples.empty()) {
                double lowest = log.Samples.front().Altitude;
                double highest = lowest;
                for (const TLogSample& s : log.Samples) {
                    lowest = qMin(lowest, s.Altitude);
                    highest = qMax(highest, s.Altitude);
                    if (s.AutoStop) ++autoStops;
                }
                minText = QString::number(lowest, 'f', 2);
                maxText = QString::number(highest, 'f', 2);
            }
            if (withFile) out << tableText(path) << '\t';
            out << (i + 1) << '\t' << tableText(c.names.value(i)) << '\t' << qint64(log.Samples.size())
                << '\t' << log.SamplePeriod << '\t' << minText << '\t' << maxText << '\t' << autoStops
                << '\n';
        }
    }
    return exitCode;
}

int runConvert(const QStringList& arguments) {
    // A raw download stream is decoded as the download does it.
    if (arguments.contains(QStringLiteral("--stream"))) return RunConvertStream(arguments);
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    const QString usage = QStringLiteral("usage: vuma-cli convert IN OUT [--log N] [--excel]\n");
    QStringList paths;
    int logNumber = 1;
    bool excel = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--excel")) {
            excel = true;
        } else if (a == QLatin1String("--log") && i + 1 < arguments.size()) {
            bool ok = false;
            logNumber = arguments[++i].toInt(&ok);
            if (!ok) {
                err << usage;
                return kExitFileOrUsage;
            }
        } else if (a.startsWith(QLatin1String("--"))) {
            err << usage;
            return kExitFileOrUsage;
        } else {
            paths.append(a);
        }
    }
    if (paths.size() != 2) {
        err << usage;
        return kExitFileOrUsage;
    }
    const QString& inPath = paths[0];
    const QString& outPath = paths[1];
    auto fail = [&err](const QString& path, const QString& text) {
        err << path << ": " << text << "\n";
        return kExitFileOrUsage;
    };

    const QString ext = QFileInfo(outPath).suffix().toLower();
    const bool knownOut = ext == QLatin1String("vul") || ext == QLatin1String("vuc") ||
                          ext == QLatin1String("xml") || ext == QLatin1String("csv") ||
                          ext == QLatin1String("txt");
    if (!knownOut) return fail(outPath, UnsupportedFormatText());

    const LogFileResult in = readAnyLogFile(inPath);
    if (!in.ok()) return fail(inPath, in.error);
    const LogFileContent& content = in.content;
    const NumberSeparators separators = NumberSeparators::fromLocale(QLocale::system());

    QString error;
    if (ext == QLatin1String("vul") || ext == QLatin1String("vuc")) {
        error = SaveLogFile(outPath, content, ext == QLatin1String("vuc"));
    } else if (ext == QLatin1String("xml")) {
        SaveStringToFile(outPath, ExportXml(content.logs, content.names, separators), &error);
    } else {
        if (logNumber < 1 || logNumber > content.logs.size()) {
            return fail(inPath, QStringLiteral("There is no log %1 in the file.").arg(logNumber));
        }
        const QByteArray csv =
            ExportCsv(content.logs[logNumber - 1], excel ? CsvStyle::Excel : CsvStyle::Plain, separators);
        SaveStringToFile(outPath, csv, &error);
    }
    if (!error.isEmpty()) return fail(outPath, error);
    return kExitOk;
}

}  // namespace

VUMA_CLI_COMMAND("info", "info FILE...                   list the logs of log files (tab-separated)",
                 runInfo);
VUMA_CLI_COMMAND("convert",
                 "convert IN OUT [--log N] [--excel]\n"
                 "                                 read .vul .vuc .csv, write .vul .vuc .csv .txt .xml\n"
                 "  convert --stream RAW OUT [--log N] [--excel]\n"
                 "                                 decode a received log stream (dump or archive)",
                 runConvert);
