#include "files/logfile.h"

#include <QtEndian>
#include <cstring>

#include "files/compressedlogfile.h"
#include "files/cp1250.h"
#include "files/fileerrors.h"
#include "logs/altitude.h"
#include "logs/lognaming.h"
#include "logs/logpalette.h"
#include "support/textfiles.h"

namespace {

constexpr int kNameBytes = 30;
constexpr int kImageBytes = kImageFileMaxChars + 1;
constexpr int kSampleSize = sizeof(TLogSample);
constexpr qint32 kNotesMarker = 1;
// Versions 5 to 7 use the record fields up to the chart type (5) or the base altitude (6, 7).
constexpr int kVersion5RecordSize = 285;

int versionNumber(quint32 version) { return int(version - kLogFileFirstVersion) + 1; }

// Reads little-endian fields with a bound check before every read; after the first short read
// every later read fails too, so a caller checks once per record.
class ByteReader {
public:
    explicit ByteReader(QByteArrayView bytes) : m_bytes(bytes) {}
    qsizetype remaining() const { return m_bytes.size() - m_pos; }
    bool failed() const { return m_failed; }
    const char* take(qsizetype n) {
        if (m_failed || n < 0 || n > remaining()) {
            m_failed = true;
            return nullptr;
        }
        const char* p = m_bytes.data() + m_pos;
        m_pos += n;
        return p;
    }
    qint32 i32() {
        const char* p = take(4);
        return p ? qFromLittleEndian<qint32>(p) : 0;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

qint32 i32At(const char* p, int offset) { return qFromLittleEndian<qint32>(p + offset); }

// Text of a fixed-size field: the characters up to the first NUL, at most maxChars.
QString textField(const char* p, int size, int maxChars) {
    const char* end = static_cast<const char*>(std::memchr(p, 0, size_t(size)));
    const qsizetype length = end ? end - p : size;
    return FromCp1250(QByteArrayView(p, length)).left(maxChars);
}

void putTextField(char* p, int size, const QString& text, int maxChars) {
    const QByteArray bytes = ToCp1250(text.left(maxChars));
    std::memset(p, 0, size_t(size));
    std::memcpy(p, bytes.constData(), size_t(qMin<qsizetype>(bytes.size(), size - 1)));
}

void putI32(char* p, int offset, qint32 v) { qToLittleEndian(v, p + offset); }

// Stored rates of versions 4 to 6 are points per minute; a rate of 0 means no rate was known.
qint32 periodFromRate(qint32 rate) {
    if (rate == 0) return 1000;
    return qint32(qint64(60000) / qint64(rate));
}

// The smallest number of bytes one log takes in each version, to check a claimed count against
// the bytes that are really there before anything is allocated.
qsizetype minimumLogBytes(int version) {
    switch (version) {
        case 1:
            return 8;
        case 2:
        case 3:
            return 38;
        case 4:
            return 42;
        case 5:
            return 4 + kVersion5RecordSize;
        default:
            return 4 + kLogRecordSize;
    }
}

void copySamplesIn(std::vector<TLogSample>& samples, const char* p, qint32 count) {
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        // The packed sample has alignment 1 and the file layout: one block copy, no zero-fill first.
        const auto* first = reinterpret_cast<const TLogSample*>(p);
        samples.assign(first, first + count);
    } else {
        samples.resize(size_t(count));
        for (qint32 i = 0; i < count; ++i) {
            const char* s = p + qsizetype(i) * kSampleSize;
            TLogSample& d = samples[size_t(i)];
            d.SampleNo = qFromLittleEndian<double>(s);
            d.Altitude = qFromLittleEndian<double>(s + 8);
            d.AutoStop = quint8(s[16]);
            std::memcpy(d.Padding, s + 17, 3);
            d.AutoStopTime = qFromLittleEndian<qint32>(s + 20);
        }
    }
}

void copySamplesOut(char* p, const std::vector<TLogSample>& samples) {
    if (samples.empty()) return;
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        std::memcpy(p, samples.data(), samples.size() * kSampleSize);
    } else {
        for (const TLogSample& s : samples) {
            qToLittleEndian(s.SampleNo, p);
            qToLittleEndian(s.Altitude, p + 8);
            p[16] = char(s.AutoStop);
            std::memcpy(p + 17, s.Padding, 3);
            qToLittleEndian(s.AutoStopTime, p + 20);
            p += kSampleSize;
        }
    }
}

QString notesFromFile(QByteArrayView bytes) {
    return FromCp1250(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The exact inverse of notesFromFile, so notes survive any number of saves unchanged.
QByteArray notesToFile(const QString& notes) {
    QString text = notes;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToCp1250(text);
}

}  // namespace

std::optional<LogFileHeader> ParseLogFileHeader(QByteArrayView bytes, QString* error) {
    auto fail = [error](const QString& text) {
        if (error) *error = text;
        return std::nullopt;
    };
    // A file too short for a header is no log file of ours at all.
    if (bytes.size() < kLogFileHeaderSize) return fail(WrongFileFormatText());
    LogFileHeader header;
    if (std::memcmp(bytes.data(), "Vul\0", 4) == 0) {
        header.compressed = false;
    } else if (std::memcmp(bytes.data(), "Vuc\0", 4) == 0) {
        header.compressed = true;
    } else {
        return fail(WrongFileFormatText());
    }
    header.version = qFromLittleEndian<quint32>(bytes.data() + 4);
    if (header.version < kLogFileFirstVersion || header.version > kLogFileVersion) {
        return fail(VersionNotImplementedText());
    }
    header.logCount = qFromLittleEndian<qint32>(bytes.data() + 8);
    return header;
}

QByteArray LogFileHeaderBytes(qint32 logCount, bool compressed) {
    QByteArray out(kLogFileHeaderSize, '\0');
    std::memcpy(out.data(), compressed ? "Vuc\0" : "Vul\0", 4);
    qToLittleEndian(kLogFileVersion, out.data() + 4);
    qToLittleEndian(logCount, out.data() + 8);
    return out;
}

namespace {
// Writes the body after `prefix` bytes of the returned buffer, which the caller fills: the whole
// file is then built in one allocation.
QByteArray bodyBytes(const LogFileContent& content, qsizetype prefix) {
    const QByteArray notes = notesToFile(content.notes);
    qsizetype size = prefix + DeviceConfig::kSize;
    for (const TMeas& log : content.logs)
        size += 4 + kLogRecordSize + qsizetype(log.Samples.size()) * kSampleSize;
    if (!notes.isEmpty()) size += 8 + notes.size();

    QByteArray out(size, Qt::Uninitialized);
    char* p = out.data() + prefix;
    std::memcpy(p, content.config.toBytes().constData(), DeviceConfig::kSize);
    p += DeviceConfig::kSize;
    for (qsizetype i = 0; i < content.logs.size(); ++i) {
        const TMeas& log = content.logs[i];
        putI32(p, 0, kLogRecordSize);
        p += 4;
        std::memset(p, 0, kLogRecordSize);
        putI32(p, 0, qint32(i));
        putI32(p, 4, qint32(log.Samples.size()));
        putTextField(p + 8, kNameBytes, content.names.value(i), kLogNameMaxChars);
        putI32(p, 38, log.SamplePeriod);
        putI32(p, 42, qint32(log.ChartColor));
        putI32(p, 46, qint32(log.BackColor));
        putTextField(p + 50, kImageBytes, log.ImageFile, kImageFileMaxChars);
        putI32(p, 251, log.ImageLevel);
        for (int k = 0; k < 4; ++k) putI32(p, 255 + 4 * k, log.ZoomRect[k]);
        p[271] = char(log.LockZoom);
        putI32(p, 272, log.ZoomLevel);
        putI32(p, 276, log.ViewFirst);
        putI32(p, 280, log.ViewLast);
        p[284] = char(log.ChartType);
        qToLittleEndian(log.BaseAlt, p + 285);
        p += kLogRecordSize;
        copySamplesOut(p, log.Samples);
        p += qsizetype(log.Samples.size()) * kSampleSize;
    }
    if (!notes.isEmpty()) {
        putI32(p, 0, kNotesMarker);
        putI32(p, 4, qint32(notes.size()));
        std::memcpy(p + 8, notes.constData(), size_t(notes.size()));
    }
    return out;
}
}  // namespace

QByteArray LogFileBodyBytes(const LogFileContent& content) { return bodyBytes(content, 0); }

LogFileResult ParseLogFileBody(QByteArrayView body, const LogFileHeader& header,
                               const LogFileReadContext& context) {
    LogFileResult result;
    auto damaged = [&result]() {
        result = LogFileResult();
        result.error = DamagedFileText();
        return result;
    };
    const int version = versionNumber(header.version);
    if (version < 1 || version > 7) {
        result.error = VersionNotImplementedText();
        return result;
    }
    ByteReader in(body);
    LogFileContent& content = result.content;

    content.config = context.config;
    if (version >= 3) {
        const char* p = in.take(DeviceConfig::kSize);
        if (!p) return damaged();
        content.config = DeviceConfig::fromBytes(QByteArrayView(p, DeviceConfig::kSize));
    } else {
        content.config.SD = 100;
        content.config.LR = 10;
    }
    const qint32 configPeriod = content.config.loggedPointInterval();

    if (header.logCount < 0 || header.logCount > in.remaining() / minimumLogBytes(version)) return damaged();
    content.logs.resize(header.logCount);
    content.names.reserve(header.logCount);

    for (qint32 i = 0; i < header.logCount; ++i) {
        TMeas& log = content.logs[i];
        const int position = context.existingCount + i;  // 0-based list position of the new item
        qint32 recordBytes = 0;
        switch (version) {
            case 1:
                recordBytes = 8;
                break;
            case 2:
            case 3:
                recordBytes = 38;
                break;
            case 4:
                recordBytes = 42;
                break;
            default: {
                const qint32 prefix = in.i32();
                const qint32 needed = version == 5 ? kVersion5RecordSize : kLogRecordSize;
                if (in.failed() || prefix < needed) return damaged();
                recordBytes = prefix;
            }
        }
        const char* r = in.take(recordBytes);
        if (!r) return damaged();

        const qint32 sampleCount = i32At(r, 4);
        if (sampleCount < 0 || sampleCount > in.remaining() / kSampleSize) return damaged();
        const char* samples = in.take(qsizetype(sampleCount) * kSampleSize);
        if (!samples) return damaged();
        copySamplesIn(log.Samples, samples, sampleCount);

        content.names.append(version == 1 ? NumberedLogName(position + 1)
                                          : textField(r + 8, kNameBytes, kLogNameMaxChars));
        log.ZoomLevel = -1;
        log.ViewFirst = 0;
        log.ViewLast = 0;
        if (version <= 4) {
            log.SamplePeriod = version == 4 ? periodFromRate(i32At(r, 38)) : configPeriod;
            log.ChartColor = LogPalette(position);
            log.BackColor = 0;
            log.ImageLevel = 256;
            log.LockZoom = 0;
            log.ChartType = 0;
        } else {
            log.SamplePeriod = version == 7 ? i32At(r, 38) : periodFromRate(i32At(r, 38));
            log.ChartColor = TColor(i32At(r, 42));
            log.BackColor = TColor(i32At(r, 46));
            log.ImageFile = textField(r + 50, kImageBytes, kImageFileMaxChars);
            log.ImageLevel = i32At(r, 251);
            log.LockZoom = quint8(r[271]);
            log.ChartType = quint8(r[284]);
        }
        log.BaseAlt = version >= 6 ? qFromLittleEndian<double>(r + 285) : LowestAltitude(log);
    }

    // The notes block is optional: a file may end right after its last log.
    if (version >= 6 && in.remaining() > 0) {
        const qint32 marker = in.i32();
        if (in.failed()) return damaged();
        if (marker == kNotesMarker) {
            const qint32 length = in.i32();
            if (in.failed() || length < 0) return damaged();
            const char* notes = in.take(length);
            if (!notes) return damaged();
            content.notes = notesFromFile(QByteArrayView(notes, length));
        }
    }
    return result;
}

LogFileResult ParseLogFile(QByteArrayView file, const LogFileReadContext& context) {
    LogFileResult result;
    const std::optional<LogFileHeader> header = ParseLogFileHeader(file, &result.error);
    if (!header) return result;
    const QByteArrayView rest = file.sliced(kLogFileHeaderSize);
    if (header->compressed) return ParseCompressedLogBody(rest, *header, context);
    return ParseLogFileBody(rest, *header, context);
}

std::optional<QByteArray> LogFileBytes(const LogFileContent& content, bool compressed, QString* error) {
    const QByteArray header = LogFileHeaderBytes(qint32(content.logs.size()), compressed);
    if (!compressed) {
        QByteArray file = bodyBytes(content, kLogFileHeaderSize);
        std::memcpy(file.data(), header.constData(), kLogFileHeaderSize);
        return file;
    }
    const std::optional<QByteArray> cabinet = CompressLogBody(LogFileBodyBytes(content), error);
    if (!cabinet) return std::nullopt;
    return header + *cabinet;
}

LogFileResult ReadLogFile(QIODevice& device, const LogFileReadContext& context) {
    return ParseLogFile(device.readAll(), context);
}

LogFileResult LoadLogFile(const QString& path, const LogFileReadContext& context) {
    LogFileResult result;
    const std::optional<QByteArray> bytes = LoadStringFromFile(path, &result.error);
    if (!bytes) return result;
    return ParseLogFile(*bytes, context);
}

QString SaveLogFile(const QString& path, const LogFileContent& content, bool compressed) {
    QString error;
    const std::optional<QByteArray> bytes = LogFileBytes(content, compressed, &error);
    if (!bytes) return error;
    if (!SaveStringToFile(path, *bytes, &error)) return error;
    return QString();
}
