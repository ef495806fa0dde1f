#include "logs/logdownload.h"

#include <QFileInfo>

#include "link/devicelink.h"
#include "logs/altitude.h"
#include "logs/lognaming.h"
#include "logs/logpalette.h"
#include "logs/logstreamdecoder.h"
#include "support/delay.h"
#include "support/paths.h"
#include "support/textfiles.h"

namespace {

const QByteArray kReadCommand = QByteArrayLiteral("lgr b\n");
// The echo of "lgr b" and its line end come before the stream and are not log memory.
constexpr qint64 kEchoBytes = 12;
constexpr int kEndMarkerBytes = 4;
constexpr int kPumpWaitMs = 100;

QString serialNumber(const QString& snText) {
    QString sn = snText.startsWith(QLatin1String("SN:")) ? snText.mid(3) : snText;
    sn = sn.trimmed();
    // Only what is safe in a file name on every platform.
    QString safe;
    for (const QChar c : sn) {
        if (c.isLetterOrNumber() && c.unicode() < 128) safe += c;
    }
    return safe.isEmpty() ? QStringLiteral("unknown") : safe;
}

// Keeps the raw bytes before anything is decoded, so no download is ever lost to a decoding
// fault; a second download within the same second gets its own file.
QString archiveDownload(const QString& folder, const QString& name, const QByteArray& bytes, QString* error) {
    if (!ForceFolder(folder)) {
        *error = QStringLiteral("Cannot create the folder %1.").arg(folder);
        return {};
    }
    const QString base = name.chopped(4);
    QString path = folder + name;
    for (int k = 2; QFileInfo::exists(path); ++k) {
        path = folder + base + QLatin1Char('-') + QString::number(k) + QStringLiteral(".bin");
    }
    QString reason;
    if (!SaveStringToFile(path, bytes, &reason)) {
        *error = path + QStringLiteral(": ") + reason;
        return {};
    }
    return path;
}

}  // namespace

QString DownloadInfoLine(const QString& hwText, const QString& deviceName) {
    return hwText.mid(3) + QStringLiteral(" [") + deviceName + QLatin1Char(']');
}

QString DownloadStatusText(qint64 received, quint32 elapsedMs) {
    return QStringLiteral("Reading log (%1 / %2s)").arg(received).arg(elapsedMs / 1000);
}

QString DownloadPercentText(qint64 received, qint32 memUsedBytes) {
    if (memUsedBytes <= 0) return QStringLiteral("0%");
    const qint64 percent = qBound(qint64(0), (received - kEchoBytes) * 100 / memUsedBytes, qint64(100));
    return QString::number(percent) + QLatin1Char('%');
}

DownloadedLogs DecodeDownload(const QByteArray& received) {
    DownloadedLogs out;
    const qsizetype start = FindLogStreamStart(received);
    if (start < 0) return out;
    out.hasLogs = true;
    out.stream = received.mid(start);
    LogStreamDecodeResult decoded = DecodeLogStream(out.stream);
    out.endMarkerSeen = decoded.endMarkerSeen;
    out.logs = std::move(decoded.logs);
    for (qsizetype i = 0; i < out.logs.size(); ++i) {
        TMeas& log = out.logs[i];
        const int count = int(log.Samples.size());
        const int position = int(i) + 1;
        out.names.append(DeviceLogName(position, count));
        if (count < kMinChartedSamples) {
            log.ChartColor = kEmptyLogColor;
            log.ChartType = 1;
        } else {
            log.ChartColor = LogPalette(int(i));
        }
        log.BackColor = 0;
        log.ImageFile.clear();
        log.ViewFirst = 0;
        log.ViewLast = qMax(0, count - 1);
        log.BaseAlt = LowestAltitude(log);
    }
    return out;
}

DownloadFiles DefaultDownloadFiles() {
    return DownloadFiles{DocumentsFolder() + QStringLiteral("vuma.log"), DownloadArchiveFolder()};
}

QString DownloadArchiveName(const QDateTime& when, const QString& snText) {
    return when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral("-SN") + serialNumber(snText) +
           QStringLiteral(".bin");
}

DownloadResult DownloadLogs(DeviceLink& link, DownloadObserver& observer, const DownloadFiles& files) {
    Clock& clock = link.clock();
    DownloadResult result;

    link.LinkMode = LinkModes::kDownload;
    link.writeRaw(kReadCommand);
    link.ReceiveBuffer.clear();

    observer.downloadShown();
    Delay(clock, kProgressStartDelayMs);
    observer.downloadStarted(DownloadInfoLine(link.HwText, link.DeviceName), link.MemUsedBytes);

    const quint32 tStart = clock.tickCount();
    quint32 tIdle = tStart;
    qint64 n = 0;
    qint64 markerSearchFrom = 0;
    bool markerSeen = false;
    while (link.LinkMode == LinkModes::kDownload && clock.tickCount() - tIdle < kDownloadIdleTimeoutMs) {
        const QByteArray& buffer = link.ReceiveBuffer;
        const quint32 now = clock.tickCount();
        if (n < buffer.size()) {
            tIdle = now;
            n = buffer.size();
        }
        // Only the new bytes and the three before them can complete a marker.
        if (ContainsLogStreamEnd(QByteArrayView(buffer).sliced(markerSearchFrom))) {
            markerSeen = true;
            link.LinkMode = LinkModes::kIdle;
        }
        markerSearchFrom = qMax<qint64>(0, buffer.size() - (kEndMarkerBytes - 1));
        observer.downloadProgress(DownloadStatusText(n, now - tStart), n,
                                  DownloadPercentText(n, link.MemUsedBytes));
        if (link.LinkMode != LinkModes::kDownload) break;
        clock.pumpEvents(kPumpWaitMs);
    }
    observer.downloadFinished();
    result.timedOut = !markerSeen;
    result.received = link.ReceiveBuffer;

    if (FindLogStreamStart(result.received) < 0) return result;
    if (!files.archiveFolder.isEmpty()) {
        result.archivePath = archiveDownload(files.archiveFolder,
                                             DownloadArchiveName(QDateTime::currentDateTime(), link.SnText),
                                             result.received, &result.archiveError);
    }
    result.decoded = DecodeDownload(result.received);
    QString reason;
    // The documents folder may not exist yet in a fresh account.
    if (!files.dumpPath.isEmpty() && !(ForceFolder(QFileInfo(files.dumpPath).absolutePath()) &&
                                       SaveStringToFile(files.dumpPath, result.decoded.stream, &reason))) {
        if (reason.isEmpty()) reason = QStringLiteral("Cannot create the folder.");
        result.dumpError = files.dumpPath + QStringLiteral(": ") + reason;
    }
    return result;
}
