#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "files/fileerrors.h"
#include "files/logfile.h"
#include "logfixtures.h"

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun runCli(const QStringList& args, const QString& locale = QStringLiteral("C")) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VUMA_BINARY_DIR "/vuma-cli"), args);
    CliRun r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

LogFileContent flight() {
    LogFileContent c;
    TMeas a = logOf({100.123, 250.5, 99.994}, 500);
    a.Samples[1].AutoStop = 1;
    a.Samples[1].AutoStopTime = 30;
    a.Samples[2].AutoStop = 1;
    a.Samples[2].AutoStopTime = -1;
    c.logs = {a, logOf({})};
    c.names = {QStringLiteral("Flight"), QStringLiteral("Žďár")};
    c.notes = QStringLiteral("calm");
    return c;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

const QString kHeader = QStringLiteral("index\tname\tsamples\tperiod_ms\tmin_alt_m\tmax_alt_m\tautostops\n");

}  // namespace

TEST(CliInfo, ListsEveryLogOfOneFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.vuc"));
    ASSERT_EQ(SaveLogFile(path, flight(), true), QString());
    const CliRun r = runCli({QStringLiteral("info"), path});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, kHeader + QStringLiteral("1\tFlight\t3\t500\t99.99\t250.50\t2\n"
                                              "2\tŽďár\t0\t1000\t\t\t0\n"));
}

TEST(CliInfo, SeveralFilesAddAFileColumnAndDamageFailsWithExitTwo) {
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.vul"));
    const QString b = dir.filePath(QStringLiteral("b.csv"));
    ASSERT_EQ(SaveLogFile(a, flight(), false), QString());
    writeFile(b, "0,5\r\n100,7.256\r\n");
    CliRun r = runCli({QStringLiteral("info"), a, b});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("file\t") + kHeader + a +
                         QStringLiteral("\t1\tFlight\t3\t500\t99.99\t250.50\t2\n") + a +
                         QStringLiteral("\t2\tŽďár\t0\t1000\t\t\t0\n") + b +
                         QStringLiteral("\t1\tb\t2\t100\t5.00\t7.26\t0\n"));

    const QString damaged = dir.filePath(QStringLiteral("d.vul"));
    writeFile(damaged, readFile(a).left(600));
    r = runCli({QStringLiteral("info"), a, damaged});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(DamagedFileText())) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(damaged));

    const QString missing = dir.filePath(QStringLiteral("none.vul"));
    r = runCli({QStringLiteral("info"), missing});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(r.err.isEmpty());
}

TEST(CliInfo, CraftedCountsInALargeFileAreRefused) {
    QTemporaryDir dir;
    const QByteArray filler(4 * 1024 * 1024, '\x41');
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"log count", fileHeader("Vul", kLogFileVersion, 0x7FFFFFFF) + DeviceConfig().toBytes() + filler},
        {"sample count", fileHeader("Vul", 0x00010001, 1) + le32(0) + le32(0x7FFFFFF0) + filler},
        {"version 4 log count", fileHeader("Vul", 0x00010004, 3000000) + filler},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("big.vul"));
        writeFile(path, c.bytes);
        const CliRun r = runCli({QStringLiteral("info"), path});
        EXPECT_EQ(r.exitCode, 2) << c.what;
        EXPECT_TRUE(r.err.contains(DamagedFileText())) << c.what << ": " << r.err.toStdString();
    }
}

TEST(CliConvert, BetweenAllFormats) {
    QTemporaryDir dir;
    const QString vul = dir.filePath(QStringLiteral("in.vul"));
    ASSERT_EQ(SaveLogFile(vul, flight(), false), QString());
    const QString vuc = dir.filePath(QStringLiteral("x.vuc"));
    const QString back = dir.filePath(QStringLiteral("back.vul"));
    EXPECT_EQ(runCli({QStringLiteral("convert"), vul, vuc}).exitCode, 0);
    EXPECT_EQ(readFile(vuc).left(4), QByteArray("Vuc\0", 4));
    EXPECT_EQ(runCli({QStringLiteral("convert"), vuc, back}).exitCode, 0);
    EXPECT_EQ(readFile(back), readFile(vul));

    const QString xml = dir.filePath(QStringLiteral("all.xml"));
    EXPECT_EQ(runCli({QStringLiteral("convert"), vuc, xml}).exitCode, 0);
    EXPECT_TRUE(readFile(xml).contains("\t\t<value autostop=\"30\">250.5</value>\r\n"));

    const QString csv = dir.filePath(QStringLiteral("one.csv"));
    EXPECT_EQ(runCli({QStringLiteral("convert"), vul, csv}).exitCode, 0);
    EXPECT_EQ(readFile(csv), QByteArray("0,100.12,,0\r\n500,250.5,1,30\r\n1000,99.99,1,-1\r\n"));
    const QString excel = dir.filePath(QStringLiteral("excel.txt"));
    const CliRun r = runCli({QStringLiteral("convert"), vul, excel, QStringLiteral("--excel"),
                             QStringLiteral("--log"), QStringLiteral("1")},
                            QStringLiteral("cs_CZ.UTF-8"));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(readFile(excel),
              QByteArray("0;\"100,12\";;0\r\n500;\"250,5\";1;30\r\n1000;\"99,99\";1;-1\r\n"));

    // A CSV file comes in as one imported log.
    const QString imported = dir.filePath(QStringLiteral("imported.vul"));
    EXPECT_EQ(runCli({QStringLiteral("convert"), csv, imported}).exitCode, 0);
    const LogFileResult in = LoadLogFile(imported, LogFileReadContext());
    ASSERT_TRUE(in.ok());
    EXPECT_EQ(in.content.names, QStringList({QStringLiteral("one")}));
    EXPECT_EQ(in.content.logs[0].SamplePeriod, 500);
}

TEST(CliConvert, ErrorsLeaveTheTargetAlone) {
    QTemporaryDir dir;
    const QString vul = dir.filePath(QStringLiteral("in.vul"));
    ASSERT_EQ(SaveLogFile(vul, flight(), false), QString());
    const QString damaged = dir.filePath(QStringLiteral("damaged.vul"));
    writeFile(damaged, readFile(vul).left(100));
    const QString target = dir.filePath(QStringLiteral("target.vul"));
    writeFile(target, "previous");

    struct Case {
        const char* what;
        QStringList args;
        const char* text;
    };
    const Case cases[] = {
        {"damaged input", {damaged, target}, "The file is damaged or incomplete."},
        {"wrong format",
         {dir.filePath(QStringLiteral("target.vul")), dir.filePath(QStringLiteral("o.vuc"))},
         "Wrong file format."},
        {"unknown output type",
         {vul, dir.filePath(QStringLiteral("o.pdf"))},
         "This file format is not supported."},
        {"no such log",
         {vul, dir.filePath(QStringLiteral("o.csv")), QStringLiteral("--log"), QStringLiteral("3")},
         "There is no log 3"},
        {"missing input", {dir.filePath(QStringLiteral("none.vul")), target}, ""},
        {"missing output", {vul}, "usage"},
        {"unwritable output", {vul, dir.filePath(QStringLiteral("no/such/dir/o.vul"))}, ""},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(QStringList({QStringLiteral("convert")}) + c.args);
        EXPECT_EQ(r.exitCode, 2) << c.what;
        EXPECT_FALSE(r.err.isEmpty()) << c.what;
        EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.text))) << c.what << ": " << r.err.toStdString();
        EXPECT_EQ(readFile(target), QByteArray("previous")) << c.what;
    }
}

TEST(CliConvert, SavesRunningAtOnceDoNotDisturbEachOther) {
    QTemporaryDir dir;
    constexpr int kRuns = 4;
    QList<LogFileContent> contents;
    QList<QProcess*> processes;
    for (int i = 0; i < kRuns; ++i) {
        LogFileContent c;
        TMeas log;
        for (int k = 0; k < 20000; ++k) log.Samples.push_back(sample(i * 1000 + k * 0.5));
        c.logs = {log};
        c.names = {QStringLiteral("run %1").arg(i)};
        contents.append(c);
        ASSERT_EQ(SaveLogFile(dir.filePath(QStringLiteral("in%1.vul").arg(i)), c, false), QString());
    }
    for (int i = 0; i < kRuns; ++i) {
        auto* p = new QProcess;
        p->start(QStringLiteral(VUMA_BINARY_DIR "/vuma-cli"),
                 {QStringLiteral("convert"), dir.filePath(QStringLiteral("in%1.vul").arg(i)),
                  dir.filePath(QStringLiteral("out%1.vuc").arg(i))});
        processes.append(p);
    }
    for (int i = 0; i < kRuns; ++i) {
        ASSERT_TRUE(processes[i]->waitForFinished(60000));
        EXPECT_EQ(processes[i]->exitCode(), 0);
        delete processes[i];
        const LogFileResult r =
            LoadLogFile(dir.filePath(QStringLiteral("out%1.vuc").arg(i)), LogFileReadContext());
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.content.names, contents[i].names);
        ASSERT_EQ(r.content.logs[0].Samples.size(), 20000u);
        EXPECT_EQ(r.content.logs[0].Samples[19999].Altitude, i * 1000 + 19999 * 0.5);
    }
}
