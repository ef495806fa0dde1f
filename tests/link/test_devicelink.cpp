#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryFile>

#include "link/terminal.h"
#include "linktestsupport.h"
#include "support/delay.h"
#include "support/keystate.h"

namespace {

// A live link to the device model: port open, status lines in, first measurement answered.
class DeviceLinkTest : public ::testing::Test {
protected:
    VirtualClock clock;
    DeviceLinkTest() { rig.ports.addPeer(QStringLiteral("P2"), &peer); }
    SimDevice device{clock, [] {
                         SimDeviceOptions o;
                         o.name = QStringLiteral("Glider 7");
                         return o;
                     }()};
    ScriptPeer peer{clock};  // a scripted device on port "P2"
    LinkRig rig{clock, device};
    DeviceLink& link = rig.link;
};

TEST_F(DeviceLinkTest, OpeningStartsPollingAndTheDeviceBecomesPresent) {
    ASSERT_EQ(link.openPort(QStringLiteral("SIM")), QString());
    link.RestartDevice();
    Delay(clock, 2500);
    EXPECT_TRUE(link.DeviceConnected);
    EXPECT_EQ(link.DeviceName, QStringLiteral("Glider 7"));
    EXPECT_EQ(link.HwText, QStringLiteral("HW: 2.1"));
    EXPECT_EQ(link.FwText, QStringLiteral("FW: 1.0.93"));
    EXPECT_TRUE(link.SnText.startsWith(QStringLiteral("SN: ")));
    EXPECT_EQ(link.UptimeText.toInt(), device.uptimeMinutes());
    EXPECT_EQ(link.MemUsedBytes, 0);  // the model starts without logs
    ASSERT_FALSE(rig.observer.measurements.isEmpty());
    EXPECT_TRUE(rig.observer.measurements.last()[1].endsWith(QStringLiteral("hPa")));
    EXPECT_EQ(link.LinkMode, LinkModes::kIdle);
    EXPECT_GE(device.receivedLines().count(QStringLiteral("meas")), 1);
    // Polling goes on once a second.
    const int before = device.receivedLines().count(QStringLiteral("meas"));
    Delay(clock, 5000);
    EXPECT_NEAR(device.receivedLines().count(QStringLiteral("meas")) - before, 5, 1);
}

TEST_F(DeviceLinkTest, OpeningAMissingPortReportsTheErrorAndChangesNothing) {
    EXPECT_EQ(link.openPort(QStringLiteral("NOPE")), kPortOpenError);
    EXPECT_FALSE(link.ComHandle);
    EXPECT_FALSE(link.Timer1.isActive());
    EXPECT_FALSE(link.tmCurrMeas.isActive());
}

TEST_F(DeviceLinkTest, OpeningAPortInUseFails) {
    SimulatedPortProvider& ports = rig.ports;
    auto other = ports.createPort();
    ASSERT_TRUE(other->open(QStringLiteral("SIM")));
    EXPECT_EQ(link.openPort(QStringLiteral("SIM")), kPortOpenError);
}

TEST_F(DeviceLinkTest, ClosingStopsBothTimersAndTurnsTheDeviceAbsent) {
    ASSERT_EQ(link.openPort(QStringLiteral("SIM")), QString());
    Delay(clock, 2500);
    ASSERT_TRUE(link.DeviceConnected);
    link.closePort();
    EXPECT_FALSE(link.Timer1.isActive());
    EXPECT_FALSE(link.tmCurrMeas.isActive());
    EXPECT_FALSE(link.DeviceConnected);
    EXPECT_EQ(rig.observer.connected.last(), false);
    Delay(clock, 3000);  // nothing runs on a closed port
    EXPECT_FALSE(link.Timer1.isActive());
}

TEST_F(DeviceLinkTest, SilentDeviceIsDeclaredAbsentAtTheTwelfthEmptyTick) {
    ASSERT_EQ(link.openPort(QStringLiteral("SIM")), QString());
    Delay(clock, 2500);
    ASSERT_TRUE(link.DeviceConnected);
    link.MeasPaused = true;  // one request only
    link.tmCurrMeas.stop();
    device.options().fault = SimFault::Silent;
    Delay(clock, 1500);  // let any answer in flight settle
    ASSERT_EQ(link.LinkMode, LinkModes::kIdle);
    ASSERT_EQ(link.MissedPolls, 0);
    link.tmCurrMeasTimer();
    rig.observer.connected.clear();
    rig.observer.names.clear();
    // Ticks come every 100 ms; the request is outstanding from the first one on.
    Delay(clock, 11 * 100 + 50);
    EXPECT_TRUE(rig.observer.connected.isEmpty()) << "absent too early";
    EXPECT_EQ(link.MissedPolls, 11);
    Delay(clock, 100);
    ASSERT_EQ(rig.observer.connected, QList<bool>{false});
    EXPECT_EQ(rig.observer.names, QStringList{QString()});
    EXPECT_EQ(link.MissedPolls, 0);
    EXPECT_EQ(link.LinkMode, LinkModes::kMeasurement);
}

TEST_F(DeviceLinkTest, OneReceivedByteResetsTheWatchdog) {
    ASSERT_EQ(link.openPort(QStringLiteral("P2")), QString());
    link.MeasPaused = true;
    link.tmCurrMeas.stop();
    link.tmCurrMeasTimer();
    Delay(clock, 805);
    EXPECT_EQ(link.MissedPolls, 8);
    peer.sendLater(0, "x");
    Delay(clock, 100);
    EXPECT_EQ(link.MissedPolls, 0);
}

TEST_F(DeviceLinkTest, VanishedPortTurnsTheDeviceAbsentAndPollingGoesOn) {
    ASSERT_EQ(link.openPort(QStringLiteral("SIM")), QString());
    Delay(clock, 2500);
    ASSERT_TRUE(link.DeviceConnected);
    rig.ports.removePeer(QStringLiteral("SIM"));
    Delay(clock, 3000);
    EXPECT_FALSE(link.DeviceConnected);
    EXPECT_TRUE(link.Timer1.isActive());  // the port stays open until the user closes it
}

TEST_F(DeviceLinkTest, GarblingDeviceNeverBecomesPresentAndCommandsTimeOut) {
    device.options().fault = SimFault::Garble;
    ASSERT_EQ(link.openPort(QStringLiteral("SIM")), QString());
    Delay(clock, 5000);
    EXPECT_FALSE(link.DeviceConnected);
    link.tmCurrMeas.stop();
    const quint32 t0 = clock.tickCount();
    EXPECT_EQ(link.SendAndWait(QStringLiteral("csv r"), 1000), QString());
    EXPECT_GE(clock.tickCount() - t0, 1000u);
}

TEST_F(DeviceLinkTest, IdleTrafficHoldsTheMeasurementOffForASecond) {
    ASSERT_EQ(link.openPort(QStringLiteral("P2")), QString());
    link.tmCurrMeas.stop();
    link.LinkMode = LinkModes::kIdle;
    peer.written.clear();
    peer.sendLater(0, "hello\n");
    Delay(clock, 150);
    EXPECT_FALSE(link.tmCurrMeas.isActive());
    const quint32 chunkAt = link.LastActivity;
    Delay(clock, 2500);
    ASSERT_TRUE(peer.written.contains("meas\n"));
    // The request comes from the timer started after more than a second of quiet, plus its interval.
    EXPECT_GT(link.MeasSentAt - chunkAt, 2000u);
    EXPECT_EQ(rig.observer.terminal, QStringLiteral("hello\r\n"));
}

// Where each received chunk goes, by LinkMode.
TEST_F(DeviceLinkTest, DispatcherRoutesChunksByLinkMode) {
    struct Case {
        quint8 mode;
        bool toTerminal, toReceive, toMeas, scanned;
    };
    const Case cases[] = {
        {LinkModes::kIdle, true, false, false, true},
        {LinkModes::kDownload, false, true, false, false},
        {LinkModes::kConfigRead, false, true, false, true},
        {LinkModes::kCommand, false, true, false, true},
        {LinkModes::kMeasurement, false, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        VirtualClock clk;
        ScriptPeer peer(clk);
        LinkRig r(clk, peer);
        r.link.LinkMode = c.mode;
        const QByteArray chunk = "UN: Zed\n";
        r.link.dispatch(chunk);
        EXPECT_EQ(r.link.RxHistory, chunk);
        EXPECT_EQ(!r.observer.terminal.isEmpty(), c.toTerminal);
        EXPECT_EQ(r.link.ReceiveBuffer == chunk, c.toReceive);
        EXPECT_EQ(r.link.MeasBuffer == chunk, c.toMeas);
        EXPECT_EQ(r.link.DeviceName == QStringLiteral("Zed"), c.scanned);
    }
}

TEST_F(DeviceLinkTest, LinesReceivedDuringADownloadAreScannedByTheNextChunkOutsideIt) {
    link.LinkMode = LinkModes::kDownload;
    link.dispatch("UN: A\nUN: B\n");
    EXPECT_EQ(link.DeviceName, QString());
    link.LinkMode = LinkModes::kIdle;
    link.dispatch("x");
    EXPECT_EQ(link.DeviceName, QStringLiteral("B"));
    EXPECT_EQ(rig.observer.names, QStringList{QStringLiteral("B")});
}

// --- measurement reply --------------------------------------------------------------------

TEST_F(DeviceLinkTest, MeasurementReplyShowsTheFieldsAsReceived) {
    struct Case {
        QList<QByteArray> chunks;
        QStringList shown;
    };
    const Case cases[] = {
        {{"meas\n21.5 985.20 263.4\n>"}, {"21.5\u00B0C", "985.20hPa", "263.4m"}},
        {{"meas\r\n21.5 985.20 263.4\r\n>"}, {"\n21.5\u00B0C", "985.20hPa", "263.4\rm"}},
        {{"me", "as\n21.5 98", "5.20 263.4\n", ">"}, {"21.5\u00B0C", "985.20hPa", "263.4m"}},
        {{"meas\n>"}, {"\u00B0C", "hPa", "m"}},
    };
    for (const Case& c : cases) {
        VirtualClock clk;
        ScriptPeer peer(clk);
        LinkRig r(clk, peer);
        r.link.tmCurrMeasTimer();
        for (int i = 0; i < c.chunks.size(); ++i) {
            EXPECT_TRUE(r.observer.measurements.isEmpty()) << "evaluated before the prompt";
            r.link.dispatch(c.chunks[i]);
        }
        ASSERT_EQ(r.observer.measurements.size(), 1);
        EXPECT_EQ(r.observer.measurements[0], c.shown);
        EXPECT_EQ(r.observer.connected, QList<bool>{true});
        EXPECT_EQ(r.link.LinkMode, LinkModes::kIdle);
        EXPECT_TRUE(r.link.tmCurrMeas.isActive());
    }
}

TEST_F(DeviceLinkTest, IncompleteMeasurementIsGivenUpOnlyAfterASecond) {
    link.tmCurrMeasTimer();
    clock.advance(900);
    link.dispatch("meas\n21");
    EXPECT_EQ(link.LinkMode, LinkModes::kMeasurement);
    clock.advance(200);
    link.dispatch(".5");
    EXPECT_EQ(link.LinkMode, LinkModes::kIdle);
    EXPECT_TRUE(rig.observer.measurements.isEmpty());
    EXPECT_FALSE(link.DeviceConnected);
    EXPECT_TRUE(link.tmCurrMeas.isActive());
}

// --- command exchange ---------------------------------------------------------------------

class CommandTest : public ::testing::Test {
protected:
    CommandTest() {
        EXPECT_EQ(rig.link.openPort(QStringLiteral("SIM")), QString());
        rig.link.tmCurrMeas.stop();
        rig.link.MeasPaused = true;  // no "meas" request may end a wait by surprise
    }
    VirtualClock clock;
    ScriptPeer peer{clock};
    SimDevice dev{clock};
    LinkRig rig{clock, peer};
    DeviceLink& link = rig.link;
};

TEST_F(CommandTest, SendAndWaitReturnsEchoAndAnswerWithoutThePrompt) {
    peer.onLine = [](const QByteArray& line) {
        return QList<ScriptPeer::Piece>{{5, line + "\r\n"}, {150, "done"}, {300, ">tail"}};
    };
    const quint32 t0 = clock.tickCount();
    EXPECT_EQ(link.SendAndWait(QStringLiteral("csv r"), 1000), QStringLiteral("csv r\r\ndone"));
    EXPECT_LT(clock.tickCount() - t0, 600u);  // recognised as soon as the ">" is in
    EXPECT_EQ(link.LinkMode, LinkModes::kIdle);
    EXPECT_EQ(peer.written, "csv r\n");
    EXPECT_EQ(link.ReceiveBuffer, "csv r\r\ndone>tail");  // later bytes wait for the next command
}

TEST_F(CommandTest, PromptBeforeTheEchoIsIgnored) {
    peer.onLine = [](const QByteArray& line) {
        return QList<ScriptPeer::Piece>{{5, ">"}, {50, line + "\n>"}};
    };
    EXPECT_EQ(link.SendAndWait(QStringLiteral("cfg w"), 1000), QStringLiteral("cfg w\n"));
}

TEST_F(CommandTest, SendAndWaitTimesOut) {
    struct Case {
        const char* name;
        std::function<QList<ScriptPeer::Piece>(const QByteArray&)> script;
    };
    const Case cases[] = {
        {"silent", nullptr},
        {"garbled echo",
         [](const QByteArray&) {
             return QList<ScriptPeer::Piece>{{5, "CSV R\n>"}};
         }},
        {"no prompt",
         [](const QByteArray& l) {
             return QList<ScriptPeer::Piece>{{5, l + "\nOK\n"}};
         }},
        {"too late",
         [](const QByteArray& l) {
             return QList<ScriptPeer::Piece>{{1200, l + "\n>"}};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        peer.onLine = c.script;
        const quint32 t0 = clock.tickCount();
        EXPECT_EQ(link.SendAndWait(QStringLiteral("csv r"), 1000), QString());
        EXPECT_GE(clock.tickCount() - t0, 1000u);
        EXPECT_LT(clock.tickCount() - t0, 1200u);
        EXPECT_EQ(link.LinkMode, LinkModes::kIdle);
        Delay(clock, 500);
    }
}

TEST_F(CommandTest, ZeroTimeoutOnlyWrites) {
    peer.onLine = [](const QByteArray& l) { return QList<ScriptPeer::Piece>{{0, l + "\n>"}}; };
    link.ReceiveBuffer = "lgc\n>";
    const quint32 t0 = clock.tickCount();
    EXPECT_EQ(link.SendAndWait(QStringLiteral("lgc"), 0), QString());
    EXPECT_EQ(clock.tickCount(), t0);
    EXPECT_EQ(peer.written, "lgc\n");
    EXPECT_EQ(link.LinkMode, LinkModes::kIdle);
}

TEST_F(CommandTest, MeasurementRequestDuringAWaitEndsIt) {
    peer.onLine = [](const QByteArray&) { return QList<ScriptPeer::Piece>{}; };
    link.MeasPaused = false;
    link.LastActivity = clock.tickCount();
    link.tmCurrMeas.start();  // fires 1000 ms later, inside the wait
    const quint32 t0 = clock.tickCount();
    EXPECT_EQ(link.SendAndWait(QStringLiteral("csv r"), 5000), QString());
    EXPECT_LT(clock.tickCount() - t0, 1200u);
    EXPECT_EQ(link.LinkMode, LinkModes::kIdle);
}

TEST_F(CommandTest, ConfigReadReturnsTheBodyBetweenFirstLineFeedAndPrompt) {
    peer.onLine = [](const QByteArray& l) {
        return QList<ScriptPeer::Piece>{{5, l + "\n9 100 "}, {120, "2 30 1>"}};
    };
    const auto body = link.ReadDeviceConfigBody();
    ASSERT_TRUE(body);
    EXPECT_EQ(*body, "9 100 2 30 1");
    EXPECT_EQ(link.LinkMode, LinkModes::kIdle);
    EXPECT_EQ(peer.written, "cfg\n");
}

TEST_F(CommandTest, ConfigReadWithoutLineFeedFailsAfterASecondAndKeepsItsMode) {
    peer.onLine = [](const QByteArray&) { return QList<ScriptPeer::Piece>{{5, "cfg 9 100 2 30 1>"}}; };
    const quint32 t0 = clock.tickCount();
    EXPECT_FALSE(link.ReadDeviceConfigBody());
    EXPECT_GE(clock.tickCount() - t0, 1000u);
    EXPECT_EQ(link.LinkMode, LinkModes::kConfigRead);
}

TEST_F(CommandTest, ConfigReadWaitsForTheOutstandingMeasurementFirst) {
    peer.onLine = [](const QByteArray& l) {
        if (l == "meas") return QList<ScriptPeer::Piece>{{400, "meas\n1 2 3\n>"}};
        return QList<ScriptPeer::Piece>{{5, l + "\n9 100 2 30 1>"}};
    };
    link.MeasPaused = true;
    link.tmCurrMeasTimer();
    const quint32 t0 = clock.tickCount();
    const auto body = link.ReadDeviceConfigBody();
    ASSERT_TRUE(body);
    EXPECT_EQ(*body, "9 100 2 30 1");
    EXPECT_EQ(peer.written, "meas\ncfg\n");
    EXPECT_GE(clock.tickCount() - t0, 400u);
    EXPECT_EQ(rig.observer.measurements.size(), 1);
}

TEST_F(CommandTest, EscapeEndsTheWaitForTheMeasurement) {
    peer.onLine = [](const QByteArray& l) {
        if (l == "meas") return QList<ScriptPeer::Piece>{};
        return QList<ScriptPeer::Piece>{{5, l + "\n9 100 2 30 1>"}};
    };
    link.MeasPaused = true;
    link.tmCurrMeasTimer();
    SetKeyStateProvider([](int key) { return key == kVkEscape; });
    const quint32 t0 = clock.tickCount();
    const auto body = link.ReadDeviceConfigBody();
    SetKeyStateProvider({});
    EXPECT_TRUE(body);
    EXPECT_LT(clock.tickCount() - t0, 200u);
}

TEST_F(CommandTest, ConfigReadDoesNotHangOnADeviceThatNeverAnswersTheMeasurement) {
    peer.onLine = [](const QByteArray&) { return QList<ScriptPeer::Piece>{}; };
    link.MeasPaused = true;
    link.tmCurrMeasTimer();
    const quint32 t0 = clock.tickCount();
    EXPECT_FALSE(link.ReadDeviceConfigBody());
    EXPECT_LT(clock.tickCount() - t0, 4000u);
    EXPECT_EQ(peer.written, "meas\ncfg\n");
}

TEST_F(CommandTest, ResetUptimeSendsTheCommandShowsZeroAndRestarts) {
    rig.ports.addPeer(QStringLiteral("DEV"), &dev);
    link.closePort();
    ASSERT_EQ(link.openPort(QStringLiteral("DEV")), QString());
    link.tmCurrMeas.stop();
    link.MeasPaused = true;
    Delay(clock, 1500);
    ASSERT_GT(link.UptimeText.toInt(), 0);
    rig.observer.uptimes.clear();
    link.miResetTimerClick();
    EXPECT_EQ(rig.observer.uptimes.last(), QStringLiteral("0 min"));
    Delay(clock, 1000);
    EXPECT_EQ(link.UptimeText, QStringLiteral("0"));
    EXPECT_EQ(rig.observer.uptimes.last(), QStringLiteral("  0min"));
    EXPECT_TRUE(dev.receivedLines().contains(QStringLiteral("csv r")));
}

}  // namespace

namespace {

// A port the user may not open.
class DeniedPort : public SerialPort {
public:
    bool open(const QString&) override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    QString name() const override { return {}; }
    PortOpenError openError() const override { return PortOpenError::PermissionDenied; }
    QString errorText() const override { return QStringLiteral("Permission denied"); }
    void setLineSettings() override {}
    void setReadTimeout(int) override {}
    qint64 read(char*, qint64) override { return -1; }
    qint64 write(const QByteArray&) override { return -1; }
    void purge() override {}
    bool setDtr(bool) override { return false; }
    bool setRts(bool) override { return false; }
};

class DeniedProvider : public SerialPortProvider {
public:
    QStringList availablePorts() const override { return {}; }
    std::unique_ptr<SerialPort> createPort() override { return std::make_unique<DeniedPort>(); }
};

TEST(PortAccess, DeniedOpenNamesTheDeviceGroupAndHowToJoinIt) {
    QTemporaryFile device;
    ASSERT_TRUE(device.open());
    const QString group = QFileInfo(device.fileName()).group();
    ASSERT_FALSE(group.isEmpty());
    VirtualClock clock;
    DeniedProvider ports;
    LinkObserver none;
    DeviceLink link(clock, ports, none);
    const QStringList lines = link.openPort(device.fileName()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], kPortOpenError);
    EXPECT_TRUE(lines[1].contains(QStringLiteral("\"%1\"").arg(group))) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral("sudo usermod -aG %1 $USER").arg(group)));
    // Without a device file to look at, the plain text stays.
    EXPECT_EQ(link.openPort(QStringLiteral("/nonexistent/ttyX")), kPortOpenError);
}

}  // namespace
