#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "files/cp1250.h"
#include "files/fileerrors.h"
#include "files/logfile.h"
#include "logfixtures.h"
#include "logs/logpalette.h"

namespace {

DeviceConfig sampleConfig() {
    DeviceConfig c;
    c.Valid = 1;
    c.MAFL = 4;
    c.SD = 250;
    c.LR = 4;
    c.TCR = -7;
    c.Reserved1[0] = 0xAA;
    c.Reserved1[1] = 0xBB;
    c.LASS = 60;
    c.CE = 1;
    c.Reserved2 = 0xCC;
    c.LE = 1;
    c.DP = ',';
    return c;
}

// The configuration record as the file stores it, built field by field.
QByteArray sampleConfigBytes() {
    return QByteArray(1, 1) + le32(4) + le32(250) + le32(4) + le32(-7) + QByteArray("\xAA\xBB", 2) +
           le32(60) + QByteArray(1, 1) + QByteArray(1, char(0xCC)) + QByteArray(1, 1) + QByteArray(1, ',');
}

// Two logs of 3 and 0 samples with every stored field set.
LogFileContent twoLogs() {
    LogFileContent c;
    c.config = sampleConfig();
    TMeas a = logOf({100.5, 101.25, 99.0}, 500);
    a.Samples[1].AutoStop = 1;
    a.Samples[1].AutoStopTime = 30;
    a.Samples[2].SampleNo = 2;
    a.ChartColor = 0x123456;
    a.BackColor = 0x654321;
    a.ImageFile = QStringLiteral("/tmp/bg.png");
    a.ImageLevel = 256;
    a.ZoomRect[0] = 1;
    a.ZoomRect[1] = 2;
    a.ZoomRect[2] = 3;
    a.ZoomRect[3] = 4;
    a.LockZoom = 1;
    a.ZoomLevel = 5;
    a.ViewFirst = 6;
    a.ViewLast = 7;
    a.ChartType = 1;
    a.BaseAlt = 99.0;
    TMeas b;
    b.SamplePeriod = 1000;
    b.ChartColor = 0xFFFFFF;
    c.logs = {a, b};
    c.names = {QStringLiteral("Alpha"), QStringLiteral("Beta")};
    return c;
}

QByteArray twoLogsExpected() {
    RecordFields a;
    a.index = 0;
    a.sampleCount = 3;
    a.name = "Alpha";
    a.period = 500;
    a.chartColor = 0x123456;
    a.backColor = 0x654321;
    a.imageFile = "/tmp/bg.png";
    a.imageLevel = 256;
    a.zoomRect[0] = 1;
    a.zoomRect[1] = 2;
    a.zoomRect[2] = 3;
    a.zoomRect[3] = 4;
    a.lockZoom = 1;
    a.zoomLevel = 5;
    a.viewFirst = 6;
    a.viewLast = 7;
    a.chartType = 1;
    a.baseAlt = 99.0;
    RecordFields b;
    b.index = 1;
    b.name = "Beta";
    b.chartColor = 0xFFFFFF;
    b.zoomLevel = -1;
    return fileHeader("Vul", kLogFileVersion, 2) + sampleConfigBytes() + le32(293) + recordBytes(a) +
           sampleBytes(100.5) + sampleBytes(101.25, true, 30) + sampleBytes(99.0, false, 0, 2) + le32(293) +
           recordBytes(b);
}

QByteArray writePlain(const LogFileContent& c) {
    QString error;
    const std::optional<QByteArray> bytes = LogFileBytes(c, false, &error);
    EXPECT_TRUE(bytes.has_value()) << error.toStdString();
    return bytes.value_or(QByteArray());
}

LogFileResult parse(const QByteArray& bytes, int existingCount = 0, DeviceConfig config = DeviceConfig()) {
    LogFileReadContext context;
    context.existingCount = existingCount;
    context.config = config;
    return ParseLogFile(bytes, context);
}

}  // namespace

TEST(LogFileWrite, TwoLogsAreByteExact) {
    const QByteArray bytes = writePlain(twoLogs());
    EXPECT_EQ(bytes.size(), 705);
    EXPECT_EQ(bytes, twoLogsExpected());
}

TEST(LogFileWrite, NotesAddMarkerLengthAndCrLfText) {
    LogFileContent c = twoLogs();
    c.notes = QStringLiteral("first\nsecond");
    const QByteArray bytes = writePlain(c);
    const QByteArray notes = "first\r\nsecond";
    EXPECT_EQ(bytes.size(), 705 + 8 + notes.size());
    EXPECT_EQ(bytes, twoLogsExpected() + le32(1) + le32(qint32(notes.size())) + notes);
}

TEST(LogFileWrite, NamesAndPathsAreCutAndStoredInWindows1250) {
    LogFileContent c;
    TMeas log;
    log.ImageFile = QString(250, QLatin1Char('p'));
    c.logs = {log, log};
    c.names = {QString(35, QLatin1Char('n')), QStringLiteral("Žďár")};
    const QByteArray bytes = writePlain(c);
    const qsizetype record0 = kLogFileHeaderSize + DeviceConfig::kSize + 4;
    EXPECT_EQ(bytes.mid(record0 + 8, 30), QByteArray(29, 'n') + QByteArray(1, '\0'));
    EXPECT_EQ(bytes.mid(record0 + 50, 201), QByteArray(200, 'p') + QByteArray(1, '\0'));
    const qsizetype record1 = record0 + 293 + 4;
    EXPECT_EQ(bytes.mid(record1 + 8, 5), QByteArray("\x8E\xEF\xE1r\0", 5));
}

TEST(LogFileRead, RoundTripKeepsWhatFilesCarry) {
    LogFileContent c = twoLogs();
    c.logs[1].Samples.push_back(sample(-12.75, true, -1));
    c.logs[1].Samples[0].Padding[1] = 9;
    c.names = {QString(35, QLatin1Char('x')), QStringLiteral("Žilina – Ústí")};
    c.notes = QStringLiteral("Line one\nŘádek dva\n");
    const LogFileResult r = parse(writePlain(c), 0, DeviceConfig());
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.content.names, QStringList({QString(29, QLatin1Char('x')), QStringLiteral("Žilina – Ústí")}));
    EXPECT_EQ(r.content.notes, c.notes);
    EXPECT_EQ(r.content.config, c.config);
    ASSERT_EQ(r.content.logs.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const TMeas& in = c.logs[i];
        const TMeas& out = r.content.logs[i];
        EXPECT_EQ(out.SamplePeriod, in.SamplePeriod);
        EXPECT_EQ(out.ChartColor, in.ChartColor);
        EXPECT_EQ(out.BackColor, in.BackColor);
        EXPECT_EQ(out.ImageFile, in.ImageFile);
        EXPECT_EQ(out.ImageLevel, in.ImageLevel);
        EXPECT_EQ(out.LockZoom, in.LockZoom);
        EXPECT_EQ(out.ChartType, in.ChartType);
        EXPECT_EQ(out.BaseAlt, in.BaseAlt);
        ASSERT_EQ(out.Samples.size(), in.Samples.size());
        EXPECT_EQ(std::memcmp(out.Samples.data(), in.Samples.data(), in.Samples.size() * sizeof(TLogSample)),
                  0);
        // The saved view is not restored.
        EXPECT_EQ(out.ZoomLevel, -1);
        EXPECT_EQ(out.ViewFirst, 0);
        EXPECT_EQ(out.ViewLast, 0);
        for (qint32 z : out.ZoomRect) EXPECT_EQ(z, 0);
    }
}

TEST(LogFileRead, HeaderErrors) {
    struct Case {
        QByteArray bytes;
        QString error;
    };
    const Case cases[] = {
        {fileHeader("Vul", 0x00010008, 0), VersionNotImplementedText()},
        {fileHeader("Vul", 0x00010000, 0), VersionNotImplementedText()},
        {fileHeader("Vuc", 0x00020007, 0), VersionNotImplementedText()},
        {fileHeader("Vux", kLogFileVersion, 0), WrongFileFormatText()},
        {fileHeader("Vul1", kLogFileVersion, 0), WrongFileFormatText()},
        {fileHeader("vul", kLogFileVersion, 0), WrongFileFormatText()},
        {QByteArray("Vul\0\x07\x00\x01", 7), WrongFileFormatText()},
        {QByteArray(), WrongFileFormatText()},
    };
    for (const Case& c : cases) {
        const LogFileResult r = parse(c.bytes);
        EXPECT_EQ(r.error, c.error) << c.bytes.toHex().toStdString();
    }
}

namespace {
// A one-log file of an older version: samples at 120 m and 100 m, stored name "Old", stored chart
// colour 0xABCDEF and base altitude 55 where the version has them.
struct OldFile {
    int version;
    bool withConfig;
    qint32 sd, lr;  // of the stored configuration
    qint32 rate;    // versions 4 to 6: points per minute; version 7: the period
    qint32 prefix;  // versions 5 to 7: the record's length prefix
};

QByteArray oldFileBytes(const OldFile& f) {
    QByteArray body;
    if (f.withConfig) {
        DeviceConfig c;
        c.SD = f.sd;
        c.LR = f.lr;
        c.MAFL = 3;
        body += c.toBytes();
    }
    RecordFields r;
    r.sampleCount = 2;
    r.name = "Old";
    r.period = f.rate;
    r.chartColor = 0xABCDEF;
    r.imageLevel = 77;
    r.lockZoom = 1;
    r.chartType = 1;
    r.baseAlt = 55;
    QByteArray record = recordBytes(r);
    switch (f.version) {
        case 1:
            record = record.left(8);
            break;
        case 2:
        case 3:
            record = record.left(38);
            break;
        case 4:
            record = record.left(42);
            break;
        default:
            record = record.left(f.prefix) + QByteArray(qMax(0, f.prefix - 293), '\x5A');
            body += le32(f.prefix);
    }
    body += record + sampleBytes(120) + sampleBytes(100);
    if (f.version >= 6) body += le32(1) + le32(2) + QByteArray("hi");
    return fileHeader("Vul", 0x00010000 + quint32(f.version), 1) + body;
}
}  // namespace

TEST(LogFileRead, OlderVersionsFollowTheirPeriodAndBaseRules) {
    struct Case {
        OldFile file;
        qint32 period;
        double baseAlt;
        const char* name;
    };
    const Case cases[] = {
        {{1, false, 0, 0, 0, 0}, 1000, 100, "Log 4"},
        {{2, false, 0, 0, 0, 0}, 1000, 100, "Old"},
        {{3, true, 100, 10, 0, 0}, 1000, 100, "Old"},
        {{3, true, 200, 5, 0, 0}, 1000, 100, "Old"},
        {{3, true, 250, 2, 0, 0}, 500, 100, "Old"},
        {{3, true, 250, 0, 0, 0}, 1000, 100, "Old"},
        {{4, true, 250, 2, 60, 0}, 1000, 100, "Old"},
        {{4, true, 250, 2, 7, 0}, 8571, 100, "Old"},
        {{4, true, 250, 2, 0, 0}, 1000, 100, "Old"},  // no rate stored: no division by zero
        {{5, true, 250, 2, 30, 285}, 2000, 100, "Old"},
        {{5, true, 250, 2, 30, 293}, 2000, 100, "Old"},
        {{6, true, 250, 2, 120, 293}, 500, 55, "Old"},
        {{6, true, 250, 2, 0, 293}, 1000, 55, "Old"},
        {{7, true, 250, 2, 120, 293}, 120, 55, "Old"},
        {{7, true, 250, 2, 40, 300}, 40, 55, "Old"},  // a longer record: the rest is skipped
    };
    DeviceConfig current;
    current.MAFL = 9;
    current.LASS = 11;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << c.file.version << " rate " << c.file.rate);
        const LogFileResult r = parse(oldFileBytes(c.file), 3, current);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        ASSERT_EQ(r.content.logs.size(), 1);
        const TMeas& log = r.content.logs[0];
        EXPECT_EQ(log.SamplePeriod, c.period);
        EXPECT_EQ(log.BaseAlt, c.baseAlt);
        EXPECT_EQ(r.content.names.value(0), QString::fromLatin1(c.name));
        EXPECT_EQ(log.Samples.size(), 2u);
        EXPECT_EQ(r.content.notes, c.file.version >= 6 ? QStringLiteral("hi") : QString());
        if (c.file.version <= 4) {
            EXPECT_EQ(log.ChartColor, LogPalette(3));
            EXPECT_EQ(log.ImageLevel, 256);
            EXPECT_EQ(log.LockZoom, 0);
            EXPECT_EQ(log.ChartType, 0);
        } else {
            EXPECT_EQ(log.ChartColor, 0xABCDEFu);
            EXPECT_EQ(log.ImageLevel, 77);
            EXPECT_EQ(log.LockZoom, 1);
            EXPECT_EQ(log.ChartType, 1);
        }
        if (c.file.withConfig) {
            EXPECT_EQ(r.content.config.SD, c.file.sd);
            EXPECT_EQ(r.content.config.MAFL, 3);  // the file's snapshot replaces the whole record
        } else {
            EXPECT_EQ(r.content.config.SD, 100);
            EXPECT_EQ(r.content.config.LR, 10);
            EXPECT_EQ(r.content.config.MAFL, 9);  // versions 1 and 2 only set SD and LR
            EXPECT_EQ(r.content.config.LASS, 11);
        }
    }
}

TEST(LogFileRead, FileEndingAfterLastLogIsWholeAnyEarlierEndIsDamaged) {
    LogFileContent c = twoLogs();
    c.notes = QStringLiteral("note");
    const QByteArray full = writePlain(c);
    const qsizetype endOfLogs = 705;
    for (qsizetype cut = kLogFileHeaderSize; cut < full.size(); ++cut) {
        const LogFileResult r = parse(full.left(cut));
        if (cut == endOfLogs) {
            ASSERT_TRUE(r.ok()) << r.error.toStdString();
            EXPECT_EQ(r.content.notes, QString());
            EXPECT_EQ(r.content.logs.size(), 2);
        } else {
            EXPECT_EQ(r.error, DamagedFileText()) << "cut at " << cut;
            EXPECT_TRUE(r.content.logs.isEmpty());
        }
    }
    // Version 3 has no notes block: its end is the end of the last log.
    const QByteArray v3 = oldFileBytes({3, true, 100, 10, 0, 0});
    EXPECT_TRUE(parse(v3).ok());
    for (qsizetype cut = kLogFileHeaderSize; cut < v3.size(); ++cut) {
        EXPECT_EQ(parse(v3.left(cut)).error, DamagedFileText()) << "cut at " << cut;
    }
}

TEST(LogFileRead, CountsThatCannotFitAreDamagedBeforeAnyAllocation) {
    const QByteArray good = writePlain(twoLogs());
    const qsizetype record0 = kLogFileHeaderSize + DeviceConfig::kSize;  // at the length prefix
    auto patched = [&good](qsizetype at, QByteArray bytes) {
        QByteArray b = good;
        b.replace(at, bytes.size(), bytes);
        return b;
    };
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"huge log count", patched(8, le32(0x7FFFFFFF))},
        {"negative log count", patched(8, le32(-1))},
        {"one log too many", patched(8, le32(3))},
        {"huge sample count", patched(record0 + 4 + 4, le32(0x7FFFFFFF))},
        {"negative sample count", patched(record0 + 4 + 4, le32(-5))},
        {"sample count one too many", patched(record0 + 4 + 4, le32(4))},
        {"short record prefix", patched(record0, le32(292))},
        {"negative record prefix", patched(record0, le32(-293))},
        {"huge record prefix", patched(record0, le32(0x7FFFFFFF))},
        {"version 5 prefix below 285", oldFileBytes({5, true, 250, 2, 30, 284})},
        {"version 6 prefix below 293", oldFileBytes({6, true, 250, 2, 30, 292})},
        {"notes longer than the file", good + le32(1) + le32(1000) + QByteArray("abc")},
        {"negative notes length", good + le32(1) + le32(-1)},
        {"part of a notes marker", good + QByteArray(2, '\1')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parse(c.bytes).error, DamagedFileText()) << c.what;
    }
}

TEST(LogFileRead, OtherNotesMarkerMeansNoNotes) {
    const LogFileResult r = parse(writePlain(twoLogs()) + le32(0) + le32(3) + QByteArray("abc"));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.content.notes, QString());
}

TEST(LogFileRead, VersionOneNamesAndColoursFollowTheListPosition) {
    const QByteArray v1 =
        fileHeader("Vul", 0x00010001, 2) + le32(0) + le32(1) + sampleBytes(5) + le32(1) + le32(0);
    const LogFileResult r = parse(v1, 30);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.content.names, QStringList({QStringLiteral("Log 31"), QStringLiteral("Log 32")}));
    EXPECT_EQ(r.content.logs[0].ChartColor, LogPalette(0));  // the 31st item wraps to the first colour
    EXPECT_EQ(r.content.logs[1].ChartColor, LogPalette(1));
    EXPECT_EQ(r.content.logs[0].BaseAlt, 5.0);
    EXPECT_EQ(r.content.logs[1].BaseAlt, 0.0);
}

TEST(LogFileStore, SaveAndLoadThroughDisk) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.vul"));
    EXPECT_EQ(SaveLogFile(path, twoLogs(), false), QString());
    const LogFileResult r = LoadLogFile(path, LogFileReadContext());
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.content.names, twoLogs().names);
    QFile device(path);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadLogFile(device, LogFileReadContext()).content.names, twoLogs().names);

    // A failed save reports the system's reason and creates nothing.
    const QString unwritable = dir.filePath(QStringLiteral("missing/b.vul"));
    EXPECT_NE(SaveLogFile(unwritable, twoLogs(), false), QString());
    EXPECT_FALSE(QFile::exists(unwritable));
    EXPECT_FALSE(LoadLogFile(unwritable, LogFileReadContext()).ok());
}
