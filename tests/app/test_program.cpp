#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "support/inifile.h"

namespace {

/// Runs build/vuma in its own temporary home on the offscreen platform.
class ProgramRun {
public:
    ProgramRun() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", m_home.path());
        env.insert("XDG_CONFIG_HOME", m_home.path() + "/config");
        env.insert("XDG_DATA_HOME", m_home.path() + "/data");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        m_process.setProcessEnvironment(env);
        m_process.setProgram(QStringLiteral(VUMA_BINARY_DIR "/vuma"));
    }
    QString settingsFile() const { return m_home.path() + "/config/vuma/vu.ini"; }
    QString communicationLog() const { return m_home.path() + "/Documents/vuma_communication.log"; }
    QProcess& process() { return m_process; }

    /// Waits until the window is being built (it creates the settings folder early in start-up,
    /// after the signal handlers are in place).
    bool waitUntilStarted() {
        if (!m_process.waitForStarted(20000)) return false;
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
            if (QFileInfo(settingsFile()).dir().exists()) return true;
            QThread::msleep(20);
        }
        return false;
    }

private:
    QTemporaryDir m_home;
    QProcess m_process;
};

}  // namespace

TEST(Program, RegisterEndsWithoutAWindow) {
    ProgramRun run;
    run.process().setArguments({QStringLiteral("register")});
    run.process().start();
    ASSERT_TRUE(run.process().waitForFinished(20000));
    EXPECT_EQ(run.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.process().exitCode(), 0);
    // No window ran: nothing was read, nothing written at its close.
    EXPECT_FALSE(QFileInfo::exists(run.settingsFile()));
    EXPECT_FALSE(QFileInfo::exists(run.communicationLog()));
}

TEST(Program, TerminationSignalsCloseTheWindowAndSaveItsState) {
    for (int signal : {SIGTERM, SIGINT}) {
        ProgramRun run;
        // "Register" is not the switch: it is a file name that does not exist, so a normal start.
        run.process().setArguments({QStringLiteral("Register")});
        run.process().start();
        ASSERT_TRUE(run.waitUntilStarted()) << "signal " << signal;
        ::kill(pid_t(run.process().processId()), signal);
        ASSERT_TRUE(run.process().waitForFinished(20000));
        EXPECT_EQ(run.process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.process().exitCode(), 0);
        const IniFile ini = IniFile::load(run.settingsFile());
        EXPECT_EQ(ini.readInt("main", "width", 0), 1024);
        EXPECT_EQ(ini.readInt("main", "height", 0), 768);
        EXPECT_EQ(ini.readString("main", "maximized", ""), QStringLiteral("0"));
        EXPECT_TRUE(QFileInfo::exists(run.communicationLog()));
        EXPECT_EQ(QFileInfo(run.communicationLog()).size(), 0);
    }
}

TEST(Program, DemoTalksToTheSimulatedDevice) {
    ProgramRun run;
    run.process().setArguments({QStringLiteral("--demo")});
    run.process().start();
    ASSERT_TRUE(run.waitUntilStarted());
    QThread::msleep(8000);  // scan, restart pulse, status lines, a few measurements
    ::kill(pid_t(run.process().processId()), SIGTERM);
    ASSERT_TRUE(run.process().waitForFinished(20000));
    EXPECT_EQ(run.process().exitCode(), 0);
    QFile log(run.communicationLog());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray received = log.readAll();
    EXPECT_TRUE(received.contains("UN: VUMA demo")) << received.left(200).constData();
    EXPECT_TRUE(received.contains("meas\n")) << received.left(200).constData();
    // The demo's simulated port is not stored as the user's port.
    EXPECT_NE(IniFile::load(run.settingsFile()).readString("main", "port", ""), QStringLiteral("SIM"));
}
