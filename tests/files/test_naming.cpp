#include <gtest/gtest.h>

#include "config/deviceconfig.h"
#include "files/cp1250.h"
#include "files/fileformat.h"
#include "logfixtures.h"
#include "logs/lognaming.h"

TEST(LogNaming, DeviceLogsAndSplitPieces) {
    EXPECT_EQ(DeviceLogName(3, 5), QStringLiteral("-- empty log --"));
    EXPECT_EQ(DeviceLogName(3, 6), QStringLiteral("Log 3"));
    EXPECT_EQ(SplitPieceName(1, QStringLiteral("Log 2")), QStringLiteral("a - Log 2"));
    EXPECT_EQ(SplitPieceName(3, QStringLiteral("Log 2")), QStringLiteral("c - Log 2"));
    const QString longName = SplitPieceName(2, QString(40, QLatin1Char('z')));
    EXPECT_EQ(longName, QStringLiteral("b - ") + QString(25, QLatin1Char('z')));
}

TEST(LogNaming, ImportedNames) {
    struct Case {
        const char* path;
        QStringList existing;
        const char* name;
    };
    const Case cases[] = {
        {"/home/u/flight.csv", {}, "flight"},
        {"C:\\logs\\Flight.CSV", {QStringLiteral("other")}, "Flight"},
        {"flight.csv", {QStringLiteral("FLIGHT")}, "flight_1"},
        {"flight.csv", {QStringLiteral("flight"), QStringLiteral("Flight_1")}, "flight_2"},
        {"flight.csv", {QStringLiteral("flight_1")}, "flight"},
        {"a.c", {}, ""},  // shorter than an extension: nothing is left
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ImportedLogName(QString::fromLatin1(c.path), c.existing), QString::fromLatin1(c.name))
            << c.path;
    }
}

TEST(Cp1250, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    const QString text = FromCp1250(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(ToCp1250(text), all);
    EXPECT_EQ(FromCp1250("\x8A\x9E\xB9\xFE\x80"), QStringLiteral("Šžąţ€"));
    // Characters the code page lacks become one "?" each, also outside the basic plane.
    EXPECT_EQ(ToCp1250(QStringLiteral("añ日😀b")), QByteArray("a??\x3F"
                                                             "b"));
}

TEST(FileFormat, OpenAndSaveFormatsByExtension) {
    EXPECT_EQ(OpenFormatForPath(QStringLiteral("/a/b.vul")), OpenFormat::LogFile);
    EXPECT_EQ(OpenFormatForPath(QStringLiteral("B.VUC")), OpenFormat::LogFile);
    EXPECT_EQ(OpenFormatForPath(QStringLiteral("x.Csv")), OpenFormat::CsvImport);
    EXPECT_EQ(OpenFormatForPath(QStringLiteral("x.txt")), OpenFormat::Unsupported);
    EXPECT_EQ(OpenFormatForPath(QStringLiteral("vul")), OpenFormat::Unsupported);

    struct Case {
        const char* path;
        int filter;
        SaveFormat format;
    };
    const Case cases[] = {
        {"flight.xml", kFilterVul, SaveFormat::Xml},      {"a.vul", kFilterCsv, SaveFormat::Plain},
        {"a.VUC", kFilterAll, SaveFormat::Compressed},    {"a.csv", kFilterCsv, SaveFormat::Csv},
        {"a.csv", kFilterCsvExcel, SaveFormat::CsvExcel}, {"a.txt", kFilterText, SaveFormat::Csv},
        {"a.dat", kFilterAll, SaveFormat::Csv},           {"noext", kFilterCsvExcel, SaveFormat::CsvExcel},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SaveFormatForPath(QString::fromLatin1(c.path), c.filter), c.format) << c.path;
    }
}

TEST(FileFormat, ProposedSaveName) {
    const QDateTime now(QDate(2012, 5, 25), QTime(14, 3, 59));
    EXPECT_EQ(DefaultSaveName(QString(), now), QStringLiteral("2012-05-25 14-03 fly.vul"));
    EXPECT_EQ(DefaultSaveName(QStringLiteral("C:\\logs\\a.vuc"), now), QStringLiteral("C:\\logs\\a.vul"));
    EXPECT_EQ(DefaultSaveName(QStringLiteral("/home/u/my.logs/a"), now),
              QStringLiteral("/home/u/my.logs/a.vul"));
}

TEST(FileFormat, NameFollowsTheChosenFileType) {
    SaveNameRule rule;
    EXPECT_EQ(rule.onFilterChanged(kFilterVuc, QStringLiteral("fly.vul"), QStringLiteral("Log 2")),
              QStringLiteral("fly.vuc"));
    // A text type names the file after the selected log and remembers the typed name ...
    EXPECT_EQ(rule.onFilterChanged(kFilterCsv, QStringLiteral("fly.vuc"), QStringLiteral("Log 2")),
              QStringLiteral("Log 2.csv"));
    EXPECT_EQ(rule.onFilterChanged(kFilterText, QStringLiteral("Log 2.csv"), QStringLiteral("Log 2")),
              QStringLiteral("Log 2.txt"));
    // ... which comes back with the next other type.
    EXPECT_EQ(rule.onFilterChanged(kFilterXml, QStringLiteral("Log 2.txt"), QStringLiteral("Log 2")),
              QStringLiteral("fly.xml"));
    EXPECT_EQ(rule.onFilterChanged(kFilterAll, QStringLiteral("fly.xml"), QString()),
              QStringLiteral("fly.xml"));
    // Without a selected log a text type only changes the extension.
    EXPECT_EQ(rule.onFilterChanged(kFilterCsvExcel, QStringLiteral("fly.xml"), QString()),
              QStringLiteral("fly.csv"));
}

TEST(FileFormat, TagAndImageChecks) {
    EXPECT_TRUE(HasCompressedTag(fileHeader("Vuc", kLogFileVersion, 0)));
    EXPECT_FALSE(HasCompressedTag(fileHeader("Vul", kLogFileVersion, 0)));
    EXPECT_FALSE(HasCompressedTag("Vu"));
    TData logs = {logOf({1}), logOf({2})};
    EXPECT_FALSE(HasImageReference(logs));
    logs[1].ImageFile = QStringLiteral("   ");
    EXPECT_FALSE(HasImageReference(logs));
    logs[1].ImageFile = QStringLiteral(" bg.png");
    EXPECT_TRUE(HasImageReference(logs));
}

TEST(DeviceConfigRecord, BytesAndIntervals) {
    DeviceConfig c;
    c.Valid = 1;
    c.SD = 0x01020304;
    c.DP = '.';
    const QByteArray b = c.toBytes();
    ASSERT_EQ(b.size(), 27);
    EXPECT_EQ(b.mid(5, 4), QByteArray("\x04\x03\x02\x01"));
    EXPECT_EQ(b.at(26), '.');
    EXPECT_EQ(DeviceConfig::fromBytes(b), c);

    struct Case {
        qint32 sd, lr, interval;
    };
    const Case cases[] = {{100, 10, 1000}, {200, 5, 1000},  {250, 2, 500},
                          {250, 0, 1000},  {250, -3, 1000}, {0x40000000, 4, 0x7FFFFFFF}};
    for (const Case& k : cases) {
        DeviceConfig d;
        d.SD = k.sd;
        d.LR = k.lr;
        EXPECT_EQ(d.loggedPointInterval(), k.interval) << k.sd << " x " << k.lr;
    }
}
