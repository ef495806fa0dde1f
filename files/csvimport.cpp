#include "files/csvimport.h"

#include <limits>

#include "files/cp1250.h"
#include "files/fileerrors.h"
#include "logs/altitude.h"
#include "logs/lognaming.h"
#include "logs/logpalette.h"
#include "support/lenientparse.h"
#include "support/textfiles.h"

namespace {

constexpr int kFieldCount = 4;

// The first four fields of a line. A field ends at a separator outside a quoted part; a quoted
// part runs from ' or " to the next equal quote not preceded by a backslash.
void splitFields(QStringView line, QChar separator, QString (&fields)[kFieldCount]) {
    int field = 0;
    qsizetype start = 0;
    bool quoted = false;
    QChar quote;
    bool hadQuote = false;
    auto finish = [&](qsizetype end) {
        QStringView text = line.mid(start, end - start);
        // Fields 2 to 4 lose their enclosing quotes.
        if (hadQuote && field > 0) text = text.size() >= 2 ? text.mid(1, text.size() - 2) : QStringView();
        fields[field] = text.toString();
        ++field;
        start = end + 1;
        hadQuote = false;
    };
    for (qsizetype i = 0; i < line.size() && field < kFieldCount; ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == quote && (i == 0 || line[i - 1] != QLatin1Char('\\'))) quoted = false;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quoted = true;
            quote = c;
            hadQuote = true;
        } else if (c == separator) {
            finish(i);
        }
    }
    if (field < kFieldCount && start <= line.size()) finish(line.size());
    for (int i = field; i < kFieldCount; ++i) fields[i].clear();
}

qint32 clampToI32(qint64 v) {
    if (v > std::numeric_limits<qint32>::max()) return std::numeric_limits<qint32>::max();
    if (v < std::numeric_limits<qint32>::min()) return std::numeric_limits<qint32>::min();
    return qint32(v);
}

}  // namespace

CsvImportResult ImportCsv(QByteArrayView bytes, const QString& filePath, const QStringList& existingNames,
                          const ProgressCallback& progress) {
    CsvImportResult result;
    const QString text = FromCp1250(bytes);

    // Lines are the pieces between LF characters; a final LF opens no further line.
    QList<QStringView> lines;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) end = text.size();
        lines.append(QStringView(text).mid(start, end - start));
        start = end + 1;
    }
    if (lines.isEmpty()) {
        result.error = NoSamplesText();
        return result;
    }
    const QChar separator = text.contains(QLatin1Char(';')) ? QLatin1Char(';') : QLatin1Char(',');

    result.name = ImportedLogName(filePath, existingNames);
    TMeas& log = result.log;
    log.ChartColor = LogPalette(int(existingNames.size()));
    log.BackColor = 0;
    log.ImageLevel = 256;
    log.LockZoom = 1;
    log.ViewFirst = 0;
    log.ZoomLevel = -1;
    log.ChartType = 0;
    log.Samples.resize(size_t(lines.size()));

    constexpr qint64 kUnset = -1;
    qint64 firstTime = kUnset;
    qint64 lastTime = kUnset;
    QString fields[kFieldCount];
    const qint64 total = lines.size();
    for (qint64 i = 0; i < total; ++i) {
        if (progress) progress(i, total);
        QStringView line = lines[i];
        // The line end of CR LF text; the last character of other lines is data.
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        splitFields(line, separator, fields);
        const qint32 time = ParseIntLenient(fields[0]);
        if (firstTime == kUnset) {
            firstTime = time;
        } else {
            lastTime = time;
        }
        TLogSample& s = log.Samples[size_t(i)];
        s.SampleNo = double(i);
        s.Altitude = ParseFloatLenient(fields[1]);
        s.AutoStop = fields[2] == QLatin1String("1") ? 1 : 0;
        s.AutoStopTime = ParseIntLenient(fields[3]);
    }
    if (progress) progress(total, total);

    // One line carries no interval: it gets the period of a source that gives none.
    if (total < 2 || lastTime == kUnset) {
        log.SamplePeriod = 1000;
    } else {
        log.SamplePeriod = clampToI32((lastTime - firstTime) / (total - 1));
    }
    log.ViewLast = int(total - 1);
    log.BaseAlt = LowestAltitude(log);
    return result;
}

CsvImportResult LoadCsvImport(const QString& path, const QStringList& existingNames,
                              const ProgressCallback& progress) {
    CsvImportResult result;
    const std::optional<QByteArray> bytes = LoadStringFromFile(path, &result.error);
    if (!bytes) return result;
    return ImportCsv(*bytes, path, existingNames, progress);
}
