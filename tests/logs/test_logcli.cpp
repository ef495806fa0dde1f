#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "app/cli/clicommand.h"
#include "app/cli/streamconvert.h"
#include "common/testenv.h"
#include "files/logfile.h"
#include "link/demologs.h"
#include "logs/altitude.h"
#include "support/paths.h"
#include "support/textfiles.h"

// The command file is built into this test to call RunConvertStream directly; its commands
// register here instead of in vuma-cli's table.
bool CliRegistry::add(const CliCommand&) { return true; }
const QList<CliCommand>& CliRegistry::all() {
    static const QList<CliCommand> none;
    return none;
}

namespace {

const QString kSim = QStringLiteral(VUMA_BINARY_DIR "/vuma-sim");
const QString kCli = QStringLiteral(VUMA_BINARY_DIR "/vuma-cli");

class SimProcess {
public:
    explicit SimProcess(QStringList extra = {}) {
        m_process.start(kSim, QStringList{QStringLiteral("--pty"), QStringLiteral("--status-every"),
                                          QStringLiteral("0")} +
                                  extra);
        if (!m_process.waitForStarted(5000)) return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
        }
        path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~SimProcess() {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) m_process.kill();
    }
    QString path;

private:
    QProcess m_process;
};

struct CliResult {
    int code;
    QString err;
};

CliResult runCli(const QStringList& args, int waitMs = 20000) {
    QProcess p;
    p.start(kCli, args);
    p.waitForFinished(waitMs);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError())};
}

// Sample counts, periods and altitudes of a written file against the device's logs.
void expectDemoLogs(const QString& path, const std::vector<DeviceLog>& demo, bool whole) {
    const LogFileResult file = LoadLogFile(path, LogFileReadContext());
    ASSERT_TRUE(file.ok()) << file.error.toStdString();
    const TData& logs = file.content.logs;
    if (whole) ASSERT_EQ(logs.size(), qsizetype(demo.size()));
    ASSERT_GE(logs.size(), 1);
    for (qsizetype i = 0; i < logs.size(); ++i) {
        const auto& want = demo[size_t(i)].samples;
        if (whole) ASSERT_EQ(logs[i].Samples.size(), want.size());
        ASSERT_LE(logs[i].Samples.size(), want.size());
        for (size_t j = 0; j < logs[i].Samples.size(); ++j) {
            ASSERT_NEAR(logs[i].Samples[j].Altitude, PressureToAltitude(want[j].pressurePa / 100.0), 0.09)
                << "log " << i << " sample " << j;
            ASSERT_EQ(logs[i].Samples[j].AutoStopTime, want[j].autoStopTime);
        }
    }
}

TEST(LogCli, DownloadWritesTheDemoLogsTheDumpAndTheArchive) {
    TestHome home;
    SimProcess sim;
    ASSERT_TRUE(sim.path.startsWith(QStringLiteral("/dev/"))) << sim.path.toStdString();
    const QString out = home.path() + QStringLiteral("/all.vul");
    const CliResult r = runCli({QStringLiteral("download"), QStringLiteral("--port"), sim.path, out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("warning"))) << r.err.toStdString();
    const std::vector<DeviceLog> demo = MakeDemoLogs(1);
    expectDemoLogs(out, demo, true);

    const QString dump = home.documentsFolder() + QStringLiteral("/vuma.log");
    EXPECT_EQ(LoadStringFromFile(dump).value_or(QByteArray()), EncodeLogStream(demo));
    const QStringList archive = QDir(DownloadArchiveFolder()).entryList(QDir::Files);
    ASSERT_EQ(archive.size(), 1);

    // The archived bytes convert to the same logs as the download gave.
    const QString again = home.path() + QStringLiteral("/again.vul");
    EXPECT_EQ(
        RunConvertStream({QStringLiteral("--stream"), DownloadArchiveFolder() + archive.first(), again}), 0);
    expectDemoLogs(again, demo, true);
    const QString fromDump = home.path() + QStringLiteral("/dump.xml");
    EXPECT_EQ(RunConvertStream({dump, fromDump}), 0);
    EXPECT_TRUE(LoadStringFromFile(fromDump).value_or(QByteArray()).contains("Log 1"));
}

TEST(LogCli, StalledDownloadKeepsWhatCameWithAWarning) {
    TestHome home;
    SimProcess sim({QStringLiteral("--fault"), QStringLiteral("stall")});
    const QString out = home.path() + QStringLiteral("/part.vuc");
    const CliResult r = runCli({QStringLiteral("download"), QStringLiteral("--port"), sim.path, out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("warning"))) << r.err.toStdString();
    expectDemoLogs(out, MakeDemoLogs(1), false);
}

TEST(LogCli, EmptyDeviceAndBadArguments) {
    TestHome home;
    SimProcess sim({QStringLiteral("--logs"), QStringLiteral("none")});
    const QString out = home.path() + QStringLiteral("/none.vul");
    const CliResult empty = runCli({QStringLiteral("download"), QStringLiteral("--port"), sim.path, out});
    EXPECT_EQ(empty.code, 4);
    EXPECT_TRUE(empty.err.contains(QStringLiteral("There is no log."))) << empty.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_TRUE(QDir(DownloadArchiveFolder()).entryList(QDir::Files).isEmpty());

    const QStringList bad[] = {
        {QStringLiteral("download"), QStringLiteral("--port"), sim.path},                          // no OUT
        {QStringLiteral("download"), QStringLiteral("--port"), sim.path, home.path() + "/x.doc"},  // type
        {QStringLiteral("clear"), QStringLiteral("--port"), sim.path},                             // no --yes
    };
    for (const QStringList& args : bad) EXPECT_EQ(runCli(args).code, 2) << args.join(' ').toStdString();

    const QString raw = home.path() + QStringLiteral("/text.bin");
    ASSERT_TRUE(SaveStringToFile(raw, "lgr b\nUnknown command\n>"));
    EXPECT_EQ(RunConvertStream({QStringLiteral("--stream"), raw, out}), 4);
    EXPECT_EQ(RunConvertStream({QStringLiteral("--stream"), home.path() + "/missing.bin", out}), 2);
}

// Runs the whole 13 s countdown in real time.
TEST(LogCli, ClearErasesTheDevice) {
    TestHome home;
    SimProcess sim({QStringLiteral("--erase-ms"), QStringLiteral("2000")});
    const CliResult cleared =
        runCli({QStringLiteral("clear"), QStringLiteral("--port"), sim.path, QStringLiteral("--yes")}, 40000);
    EXPECT_EQ(cleared.code, 0) << cleared.err.toStdString();
    const CliResult after =
        runCli({QStringLiteral("download"), QStringLiteral("--port"), sim.path, home.path() + "/after.vul"});
    EXPECT_EQ(after.code, 4) << after.err.toStdString();
}

}  // namespace
