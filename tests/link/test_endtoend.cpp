#include <gtest/gtest.h>

#include <QProcess>

#include "link/devicelink.h"
#include "link/qtserialport.h"
#include "linktestsupport.h"
#include "support/delay.h"
#include "support/realclock.h"

// The built programs against each other over a real pseudo-terminal.
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
    ~SimProcess() { stop(); }
    void stop() {
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) m_process.kill();
    }
    int exitCode() const { return m_process.exitCode(); }
    QString path;

private:
    QProcess m_process;
};

struct CliResult {
    int code;
    QString out, err;
};

CliResult runCli(const QStringList& args) {
    QProcess p;
    p.start(kCli, args);
    p.waitForFinished(15000);
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

QMap<QString, QString> parseRows(const QString& out) {
    QMap<QString, QString> rows;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int tab = line.indexOf(QLatin1Char('\t'));
        rows.insert(line.left(tab), line.mid(tab + 1));
    }
    return rows;
}

TEST(EndToEnd, StatusReadsTheSimulatedDevice) {
    SimProcess sim({QStringLiteral("--name"), QStringLiteral("Ridge Runner")});
    ASSERT_TRUE(sim.path.startsWith(QStringLiteral("/dev/"))) << sim.path.toStdString();
    const CliResult r = runCli({QStringLiteral("status"), QStringLiteral("--port"), sim.path});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const auto rows = parseRows(r.out);
    EXPECT_EQ(rows.keys(), (QStringList{"altitude_m", "ee", "fw", "hw", "mem_used_bytes", "name",
                                        "pressure_hpa", "sn", "temperature_c", "total_uptime", "uptime"}));
    EXPECT_EQ(rows.value("name"), QStringLiteral("Ridge Runner"));
    EXPECT_EQ(rows.value("hw"), QStringLiteral("2.1"));
    EXPECT_GT(rows.value("mem_used_bytes").toInt(), 1000);  // the demo logs
    EXPECT_GT(rows.value("total_uptime").toInt(), 0);
    bool ok = false;
    const double hpa = rows.value("pressure_hpa").toDouble(&ok);
    EXPECT_TRUE(ok);
    EXPECT_GT(hpa, 900);
    EXPECT_LT(hpa, 1013.25);
}

TEST(EndToEnd, SendPrintsTheAnswerBetweenEchoAndPrompt) {
    SimProcess sim;
    ASSERT_FALSE(sim.path.isEmpty());
    CliResult r =
        runCli({QStringLiteral("send"), QStringLiteral("--port"), sim.path, QStringLiteral("cfg m 4")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    r = runCli({QStringLiteral("send"), QStringLiteral("--port"), sim.path, QStringLiteral("cfg")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("4 100 10 30 1\n"));
}

TEST(EndToEnd, SilentDeviceAndMissingPortGiveTheirExitCodes) {
    SimProcess sim({QStringLiteral("--fault"), QStringLiteral("silent")});
    ASSERT_FALSE(sim.path.isEmpty());
    CliResult r = runCli({QStringLiteral("status"), QStringLiteral("--port"), sim.path});
    EXPECT_EQ(r.code, 3);
    r = runCli({QStringLiteral("send"), QStringLiteral("--port"), sim.path, QStringLiteral("meas")});
    EXPECT_EQ(r.code, 3);
    r = runCli({QStringLiteral("status"), QStringLiteral("--port"), QStringLiteral("/dev/no-such-port")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(kPortOpenError)) << r.err.toStdString();
    r = runCli({QStringLiteral("send"), QStringLiteral("--port"), sim.path});
    EXPECT_EQ(r.code, 2);
}

TEST(EndToEnd, TheLinkSurvivesTheDeviceGoingAway) {
    SimProcess sim;
    ASSERT_FALSE(sim.path.isEmpty());
    RealClock clock;
    QtSerialPortProvider ports;
    RecordingObserver observer;
    DeviceLink link(clock, ports, observer);
    ASSERT_EQ(link.openPort(sim.path), QString());
    link.RestartDevice();
    Delay(clock, 1500);
    EXPECT_TRUE(link.DeviceConnected);
    EXPECT_EQ(link.DeviceName, QStringLiteral("VUMA demo"));
    const QByteArray before = link.RxHistory;
    sim.stop();
    Delay(clock, 3000);
    EXPECT_FALSE(link.DeviceConnected);
    EXPECT_TRUE(link.RxHistory.startsWith(before));
    link.closePort();
}

}  // namespace
