#pragma once

// Reading every log from the device in one "lgr b" transfer, and turning the received bytes
// into the named, coloured logs of the list. The screen follows through DownloadObserver.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include "logs/logmodel.h"

class DeviceLink;

/// What the progress window shows while the logs are read.
class DownloadObserver {
public:
    virtual ~DownloadObserver() = default;
    /// The window opens; the reading starts 100 ms later.
    virtual void downloadShown() {}
    /// The reading starts: infoLine is the hardware version and the device name, maximum the
    /// device's used memory (the progress bar's range).
    virtual void downloadStarted(const QString& /*infoLine*/, qint32 /*maximum*/) {}
    /// One pass of the reading loop: "Reading log (n / s s)", bytes so far, "p%".
    virtual void downloadProgress(const QString& /*status*/, qint64 /*received*/,
                                  const QString& /*percent*/) {}
    /// The reading ended (end marker or idle time-out); the window closes.
    virtual void downloadFinished() {}
};

/// Reading ends this long after the last received byte.
constexpr quint32 kDownloadIdleTimeoutMs = 3000;
/// The progress window starts the reading this long after it is shown.
constexpr quint32 kProgressStartDelayMs = 100;

inline const QString kNoLogText = QStringLiteral("There is no log.");

/// "2.1 [VUMA 42]": the hardware line without its "HW:" key and the device name.
QString DownloadInfoLine(const QString& hwText, const QString& deviceName);
/// "Reading log (n / ss)".
QString DownloadStatusText(qint64 received, quint32 elapsedMs);
/// The share of the used memory received so far, "0%" to "100%"; the first 12 bytes are the echo.
QString DownloadPercentText(qint64 received, qint32 memUsedBytes);

/// The received bytes turned into the list's logs.
struct DownloadedLogs {
    /// False when the bytes hold no record: "There is no log." and the list stays as it was.
    bool hasLogs = false;
    /// The records from the first log start on (what the dump file keeps).
    QByteArray stream;
    /// Named, coloured and ready for the chart, parallel to names.
    TData logs;
    QStringList names;
    bool endMarkerSeen = false;
};

/// Decodes received bytes (echo included or not) exactly as a download does. Pure.
DownloadedLogs DecodeDownload(const QByteArray& received);

/// Where a download keeps its raw bytes.
struct DownloadFiles {
    /// The dump of the stream ("vuma.log" in the documents folder), replaced by each download.
    QString dumpPath;
    /// The archive folder; each download adds one file, named by date, time and serial number.
    QString archiveFolder;
};

/// The default places: DocumentsFolder() + "vuma.log" and DownloadArchiveFolder().
DownloadFiles DefaultDownloadFiles();

/// The archive file name of a download: "yyyyMMdd-HHmmss-SN<serial>.bin" (serial "unknown" when
/// the device never told it).
QString DownloadArchiveName(const QDateTime& when, const QString& snText);

struct DownloadResult {
    /// Every byte received after the command was written, echo included.
    QByteArray received;
    DownloadedLogs decoded;
    /// The reading ended by its idle time-out, not by the end marker.
    bool timedOut = false;
    /// The archive file written, or empty.
    QString archivePath;
    /// Reasons the dump file or the archive could not be written (the logs are decoded anyway).
    QString dumpError;
    QString archiveError;
};

/// One log download on an open link: LinkMode 2, "lgr b", the reading loop with its 3 s idle
/// time-out (every wait runs through the link's clock, so receive ticks go on), then the archive,
/// the dump file and the decoding. The caller pauses and resumes the live measurement.
DownloadResult DownloadLogs(DeviceLink& link, DownloadObserver& observer, const DownloadFiles& files);
