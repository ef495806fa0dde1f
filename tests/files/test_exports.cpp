#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "files/csvimport.h"
#include "files/fileerrors.h"
#include "files/logexport.h"
#include "logfixtures.h"
#include "logs/logpalette.h"

namespace {
const NumberSeparators kPoint{QLatin1Char('.'), QLatin1Char(',')};

TMeas exampleLog() {
    TMeas log = logOf({412.371, 413.004, 415.1}, 1000);
    log.Samples[2].AutoStop = 1;
    log.Samples[2].AutoStopTime = 30;
    return log;
}
}  // namespace

TEST(CsvExport, PlainStyleLines) {
    EXPECT_EQ(ExportCsv(exampleLog(), CsvStyle::Plain, kPoint),
              QByteArray("0,412.37,,0\r\n1000,413,,0\r\n2000,415.1,1,30\r\n"));
}

TEST(CsvExport, AltitudesRoundToTwoDecimalsWithoutTrailingZeros) {
    struct Case {
        double altitude;
        const char* text;
    };
    const Case cases[] = {{120, "120"},         {120.5, "120.5"},     {120.567, "120.57"}, {-3.456, "-3.46"},
                          {-0.001, "0"},        {0.004, "0"},         {1234.5, "1234.5"},  {99.999, "100"},
                          {8848.86, "8848.86"}, {-412.126, "-412.13"}};
    for (const Case& c : cases) {
        TMeas log = logOf({c.altitude});
        EXPECT_EQ(ExportCsv(log, CsvStyle::Plain, kPoint), QByteArray("0,") + c.text + ",,0\r\n")
            << c.altitude;
    }
}

TEST(CsvExport, DecimalCommaLocaleQuotesTheAltitude) {
    const NumberSeparators comma = NumberSeparators::fromLocale(QLocale(QLocale::Czech, QLocale::Czechia));
    EXPECT_EQ(comma.decimal, QLatin1Char(','));
    EXPECT_EQ(comma.list, QLatin1Char(';'));
    const TMeas log = exampleLog();
    EXPECT_EQ(ExportCsv(log, CsvStyle::Plain, comma),
              QByteArray("0,\"412,37\",,0\r\n1000,\"413\",,0\r\n2000,\"415,1\",1,30\r\n"));
    EXPECT_EQ(ExportCsv(log, CsvStyle::Excel, comma),
              QByteArray("0;\"412,37\";;0\r\n1000;\"413\";;0\r\n2000;\"415,1\";1;30\r\n"));
    const NumberSeparators point =
        NumberSeparators::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(ExportCsv(log, CsvStyle::Excel, point), ExportCsv(log, CsvStyle::Plain, kPoint));
}

TEST(CsvExport, TimeColumnFollowsThePeriod) {
    struct Case {
        qint32 period;
        const char* times;
    };
    const Case cases[] = {{100, "0 100 200"}, {0, "0 1000 2000"}, {-20, "0 1000 2000"}, {250, "0 250 500"}};
    for (const Case& c : cases) {
        const QByteArray csv = ExportCsv(logOf({1, 2, 3}, c.period), CsvStyle::Plain, kPoint);
        QByteArrayList times;
        for (const QByteArray& line : csv.split('\n')) {
            if (!line.isEmpty()) times.append(line.split(',').first());
        }
        EXPECT_EQ(times.join(' '), QByteArray(c.times)) << "period " << c.period;
    }
}

TEST(CsvExport, ProgressRunsToTheEnd) {
    QList<QPair<qint64, qint64>> calls;
    ExportCsv(logOf({1, 2, 3}), CsvStyle::Plain, kPoint, [&calls](qint64 d, qint64 t) {
        calls.append({d, t});
    });
    ASSERT_FALSE(calls.isEmpty());
    EXPECT_EQ(calls.first(), qMakePair(qint64(0), qint64(3)));
    EXPECT_EQ(calls.last(), qMakePair(qint64(3), qint64(3)));
}

TEST(XmlExport, OneLogOfTwoSamplesIsSevenLines) {
    TMeas log = logOf({412.371, 20.5});
    log.Samples[1].AutoStop = 1;
    log.Samples[1].AutoStopTime = 20;
    EXPECT_EQ(ExportXml({log}, {QStringLiteral("Log 1")}, kPoint),
              QByteArray("<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n"
                         "<vuma>\r\n"
                         "\t<log name=\"Log 1\">\r\n"
                         "\t\t<value >412.371</value>\r\n"
                         "\t\t<value autostop=\"20\">20.5</value>\r\n"
                         "\t</log>\r\n"
                         "</vuma>\r\n"));
    const QByteArray comma =
        ExportXml({logOf({1.25})}, {QStringLiteral("L")}, {QLatin1Char(','), QLatin1Char(';')});
    EXPECT_TRUE(comma.contains("<value >1,25</value>"));
}

TEST(XmlExport, AnyNameGivesWellFormedXml) {
    const TData logs = {logOf({1.5, 2}), logOf({}), logOf({-3})};
    const QStringList names = {QStringLiteral("a&b<\"c\">"), QStringLiteral("Žďár – Ústí"),
                               QStringLiteral("plain")};
    const QByteArray xml = ExportXml(logs, names, kPoint);
    EXPECT_TRUE(xml.contains("<log name=\"a&amp;b&lt;&quot;c&quot;&gt;\">"));
    EXPECT_TRUE(xml.contains("<log name=\"\x8E\xEF\xE1r \x96 \xDAst\xED\">"));
    EXPECT_TRUE(xml.contains("<log name=\"plain\">"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logs.xml"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(xml);
    f.close();
    QProcess lint;
    lint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), path});
    ASSERT_TRUE(lint.waitForFinished(30000));
    EXPECT_EQ(lint.exitCode(), 0) << lint.readAllStandardError().toStdString();
}

TEST(CsvImport, ExportedLogComesBack) {
    TMeas log = logOf({412.371, 413.004, 415.1, 380}, 250);
    log.Samples[2].AutoStop = 1;
    log.Samples[2].AutoStopTime = 30;
    log.Samples[3].AutoStop = 1;
    log.Samples[3].AutoStopTime = -1;
    const NumberSeparators comma{QLatin1Char(','), QLatin1Char(';')};
    const QByteArray exports[] = {ExportCsv(log, CsvStyle::Plain, kPoint),
                                  ExportCsv(log, CsvStyle::Excel, comma),
                                  ExportCsv(log, CsvStyle::Plain, comma)};
    for (const QByteArray& csv : exports) {
        SCOPED_TRACE(csv.toStdString());
        const CsvImportResult r = ImportCsv(csv, QStringLiteral("/data/flight.csv"), {});
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.name, QStringLiteral("flight"));
        EXPECT_EQ(r.log.SamplePeriod, 250);
        ASSERT_EQ(r.log.Samples.size(), 4u);
        const double expected[] = {412.37, 413.0, 415.1, 380};
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_DOUBLE_EQ(r.log.Samples[i].Altitude, expected[i]);
            EXPECT_EQ(r.log.Samples[i].AutoStop, log.Samples[i].AutoStop);
            EXPECT_EQ(r.log.Samples[i].AutoStopTime, log.Samples[i].AutoStopTime);
            EXPECT_EQ(r.log.Samples[i].SampleNo, double(i));
        }
        EXPECT_EQ(r.log.ViewLast, 3);
        EXPECT_EQ(r.log.BaseAlt, 380);
        EXPECT_EQ(r.log.LockZoom, 1);
        EXPECT_EQ(r.log.ImageLevel, 256);
        EXPECT_EQ(r.log.ZoomLevel, -1);
    }
}

TEST(CsvImport, LinesAndFieldsTable) {
    struct Case {
        const char* what;
        QByteArray text;
        qint32 period;
        QList<double> altitudes;
        QList<int> stopTimes;
    };
    const Case cases[] = {
        {"one line", "5,10.5,,0", 1000, {10.5}, {0}},
        {"LF lines keep their last character", "0,1.5,1,30\n2000,2.5,1,45\n", 2000, {1.5, 2.5}, {30, 45}},
        {"last line without line end", "0,1,,0\r\n100,2,1,12", 100, {1, 2}, {0, 12}},
        {"a semicolon anywhere splits at semicolons", "'a;b',1\r\n0;7,5;;3\r\n", 0, {0, 7.5}, {0, 3}},
        {"quoted fields lose their quotes",
         "0,\"3,25\",\"1\",'9'\r\n300,'4.5',,\r\n",
         300,
         {3.25, 4.5},
         {9, 0}},
        {"escaped quote stays inside", "0,\"1\\\",5\",,7\r\n", 1000, {1}, {7}},
        {"missing fields read as zero", "0\r\nx\r\n1000,abc\r\n", 500, {0, 0, 0}, {0, 0, 0}},
        {"period truncates toward zero", "0,1\n1000,1\n1001,1\n", 500, {1, 1, 1}, {0, 0, 0}},
        {"falling times", "1000,1\n0,1\n", -1000, {1, 1}, {0, 0}},
    };
    for (const Case& c : cases) {
        const CsvImportResult r = ImportCsv(c.text, QStringLiteral("x.csv"), {});
        ASSERT_TRUE(r.ok()) << c.what;
        EXPECT_EQ(r.log.SamplePeriod, c.period) << c.what;
        ASSERT_EQ(r.log.Samples.size(), size_t(c.altitudes.size())) << c.what;
        for (qsizetype i = 0; i < c.altitudes.size(); ++i) {
            EXPECT_DOUBLE_EQ(r.log.Samples[size_t(i)].Altitude, c.altitudes[i]) << c.what << " line " << i;
            EXPECT_EQ(r.log.Samples[size_t(i)].AutoStopTime, c.stopTimes[i]) << c.what << " line " << i;
        }
    }
}

TEST(CsvImport, AutoStopOnlyForExactlyOne) {
    const CsvImportResult r =
        ImportCsv("0,1,1,5\n1,1,01,5\n2,1, 1,5\n3,1,\"1\",5\n", QStringLiteral("a.csv"), {});
    ASSERT_EQ(r.log.Samples.size(), 4u);
    EXPECT_EQ(r.log.Samples[0].AutoStop, 1);
    EXPECT_EQ(r.log.Samples[1].AutoStop, 0);
    EXPECT_EQ(r.log.Samples[2].AutoStop, 0);
    EXPECT_EQ(r.log.Samples[3].AutoStop, 1);
}

TEST(CsvImport, EmptyFileAddsNothing) {
    const CsvImportResult r = ImportCsv(QByteArray(), QStringLiteral("a.csv"), {});
    EXPECT_EQ(r.error, NoSamplesText());
}

TEST(CsvImport, NameTakesTheFirstFreeSuffixAndNextPaletteColour) {
    const QStringList existing = {QStringLiteral("Log 1"), QStringLiteral("FLIGHT"),
                                  QStringLiteral("flight_1")};
    const CsvImportResult r = ImportCsv("0,1\n", QStringLiteral("C:\\logs\\flight.csv"), existing);
    EXPECT_EQ(r.name, QStringLiteral("flight_2"));
    EXPECT_EQ(r.log.ChartColor, LogPalette(3));
}

TEST(CsvImport, ReadsFromDisk) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trek.csv"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0,10\r\n100,20\r\n");
    f.close();
    const CsvImportResult r = LoadCsvImport(path, {});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.name, QStringLiteral("trek"));
    EXPECT_EQ(r.log.SamplePeriod, 100);
    EXPECT_FALSE(LoadCsvImport(dir.filePath(QStringLiteral("none.csv")), {}).ok());
}
