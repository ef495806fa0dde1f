#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "link/demologs.h"
#include "linktestsupport.h"
#include "logs/altitude.h"
#include "logs/logstreamdecoder.h"
#include "support/delay.h"

namespace {

// The device model driven the way the program drives it, in virtual time.
class SimDeviceTest : public ::testing::Test {
protected:
    void start(SimDeviceOptions options = {}) {
        device = std::make_unique<SimDevice>(clock, options);
        device->setLogs(MakeDemoLogs(3));
        rig = std::make_unique<LinkRig>(clock, *device);
        ASSERT_EQ(rig->link.openPort(QStringLiteral("SIM")), QString());
        rig->link.MeasPaused = true;
        rig->link.tmCurrMeas.stop();
        Delay(clock, 1500);
    }
    // The download as the program runs it: LinkMode 2, "lgr b", until the end marker or 3 s of quiet.
    QByteArray download() {
        DeviceLink& link = rig->link;
        link.LinkMode = LinkModes::kDownload;
        link.writeRaw("lgr b\n");
        link.ReceiveBuffer.clear();
        quint32 idleSince = clock.tickCount();
        qsizetype n = 0;
        while (link.LinkMode == LinkModes::kDownload && clock.tickCount() - idleSince < 3000) {
            if (n < link.ReceiveBuffer.size()) idleSince = clock.tickCount(), n = link.ReceiveBuffer.size();
            if (ContainsLogStreamEnd(link.ReceiveBuffer)) link.LinkMode = LinkModes::kIdle;
            clock.pumpEvents(100);
        }
        return link.ReceiveBuffer;
    }

    VirtualClock clock;
    std::unique_ptr<SimDevice> device;
    std::unique_ptr<LinkRig> rig;
};

TEST_F(SimDeviceTest, DownloadGivesBackTheStoredLogs) {
    start();
    const QByteArray received = download();
    const qsizetype at = FindLogStreamStart(received);
    ASSERT_GE(at, 0);
    const LogStreamDecodeResult r = DecodeLogStream(QByteArrayView(received).sliced(at));
    EXPECT_TRUE(r.endMarkerSeen);
    const auto& logs = device->logs();
    ASSERT_EQ(r.logs.size(), qsizetype(logs.size()));
    for (size_t i = 0; i < logs.size(); ++i) {
        ASSERT_EQ(r.pressurePa[qsizetype(i)].size(), logs[i].samples.size());
        for (size_t j = 0; j < logs[i].samples.size(); ++j)
            ASSERT_EQ(r.pressurePa[qsizetype(i)][j], logs[i].samples[j].pressurePa);
    }
    // What the demo promises: a two-hour flight at 1 s, a short log, a trek with auto stops
    // ending in the final auto stop.
    EXPECT_EQ(r.logs[0].SamplePeriod, 1000);
    EXPECT_EQ(r.logs[0].Samples.size(), 7200u);
    EXPECT_LT(r.logs[1].Samples.size(), 6u);
    const TMeas& trek = r.logs[3];
    int stops = 0;
    for (const TLogSample& s : trek.Samples) stops += s.AutoStop && s.AutoStopTime > 0;
    EXPECT_EQ(stops, 3);
    EXPECT_EQ(trek.Samples.back().AutoStopTime, -1);
    EXPECT_EQ(rig->link.MemUsedBytes, ((device->logStream().size() - 4) / 4) * 4);
}

TEST_F(SimDeviceTest, PacedDownloadTakesTheWireTime) {
    SimDeviceOptions o;
    o.pace = true;
    start(o);
    const quint32 t0 = clock.tickCount();
    const QByteArray received = download();
    const double ms = clock.tickCount() - t0;
    EXPECT_TRUE(ContainsLogStreamEnd(received));
    // 3840 bytes per second, give or take a receive tick.
    EXPECT_NEAR(ms, received.size() / 3.84, 250);
}

TEST_F(SimDeviceTest, StalledDownloadStopsHalfWayAndDecodesWhatCame) {
    SimDeviceOptions o;
    o.fault = SimFault::Stall;
    start(o);
    const QByteArray received = download();
    EXPECT_FALSE(ContainsLogStreamEnd(received));
    const LogStreamDecodeResult r =
        DecodeLogStream(QByteArrayView(received).sliced(FindLogStreamStart(received)));
    EXPECT_FALSE(r.endMarkerSeen);
    EXPECT_GE(r.logs.size(), 1);
    // The device still answers afterwards.
    EXPECT_FALSE(rig->link.SendAndWait(QStringLiteral("meas"), 1000).isEmpty());
}

TEST_F(SimDeviceTest, EraseKeepsTheDeviceSilentThenItAnswersWithoutLogs) {
    SimDeviceOptions o;
    o.eraseSilenceMs = 10000;
    start(o);
    DeviceLink& link = rig->link;
    EXPECT_EQ(link.SendAndWait(QStringLiteral("lgc"), 0), QString());
    Delay(clock, 2000);
    EXPECT_EQ(link.SendAndWait(QStringLiteral("meas"), 1000), QString());
    Delay(clock, 8000);
    EXPECT_TRUE(link.SendAndWait(QStringLiteral("meas"), 1000).startsWith(QStringLiteral("meas\n")));
    EXPECT_TRUE(device->logs().empty());
    const QByteArray received = download();
    EXPECT_EQ(FindLogStreamStart(received), -1);  // "There is no log."
}

TEST_F(SimDeviceTest, ConfigurationWritesShowInTheNextRead) {
    start();
    DeviceLink& link = rig->link;
    EXPECT_EQ(*link.ReadDeviceConfigBody(), "9 100 10 30 1");
    for (const char* cmd :
         {"cfg m 4", "cfg s 250", "cfg x 2", "cfg l 120", "cfg c 1", "cfg w", "csv u Hilltop"})
        EXPECT_FALSE(link.SendAndWait(QString::fromLatin1(cmd), 1000).isEmpty()) << cmd;
    EXPECT_EQ(*link.ReadDeviceConfigBody(), "4 250 2 120 1");
    link.RestartDevice();
    Delay(clock, 1000);
    EXPECT_EQ(link.DeviceName, QStringLiteral("Hilltop"));
}

TEST_F(SimDeviceTest, IdentityAndUnknownCommandsAreEchoedAndPrompted) {
    start();
    DeviceLink& link = rig->link;
    EXPECT_TRUE(link.SendAndWait(QStringLiteral("csv c"), 1000).contains(QStringLiteral("VUMA")));
    EXPECT_TRUE(link.SendAndWait(QStringLiteral("xyz"), 1000).startsWith(QStringLiteral("xyz\n")));
    const QString meas = link.SendAndWait(QStringLiteral("meas"), 1000);
    const QStringList f = meas.mid(5).trimmed().split(QLatin1Char(' '));
    ASSERT_EQ(f.size(), 3);
    EXPECT_NEAR(f[2].toDouble(), PressureToAltitude(f[1].toDouble()), 0.15);  // both printed rounded
}

TEST_F(SimDeviceTest, StatusLinesComeAfterEachRestartAndOnItsOwnTimer) {
    SimDeviceOptions o;
    o.statusEveryMs = 5000;
    start(o);
    const auto count = [&] { return rig->link.RxHistory.count("Mem used:"); };
    const qsizetype afterOpen = count();
    EXPECT_EQ(afterOpen, 1);
    rig->link.RestartDevice();
    Delay(clock, 500);
    EXPECT_EQ(count(), 2);
    Delay(clock, 10000);
    EXPECT_GE(count(), 3);
}

TEST(DemoLogs, TraceFilesBecomeLogs) {
    QTemporaryDir dir;
    auto write = [&](const char* name, const QByteArray& text) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    };
    DeviceLog log;
    QString error;
    ASSERT_TRUE(LoadTraceLog(write("a.csv", "time_ms,altitude_m\n0,100\n500,101.5\n1000,99\n"), &log, &error))
        << error.toStdString();
    EXPECT_EQ(log.periodMs, 500);
    ASSERT_EQ(log.samples.size(), 3u);
    EXPECT_NEAR(PressureToAltitude(log.samples[1].pressurePa / 100.0), 101.5, 0.1);

    EXPECT_FALSE(LoadTraceLog(write("b.csv", "0,100\n1000,100\n1500,100\n"), &log, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("step"))) << error.toStdString();
    EXPECT_FALSE(LoadTraceLog(write("c.csv", "0,100\nnot a number\n"), &log, &error));
    EXPECT_FALSE(LoadTraceLog(dir.filePath(QStringLiteral("missing.csv")), &log, &error));

    const QByteArray igc =
        "AXXX001\r\nHFDTE101226\r\n"
        "B1200004612345N01234567EA0150001550\r\n"
        "B1200024612345N01234567EA0152001570\r\n"
        "B1200044612345N01234567EA0151001560\r\n";
    ASSERT_TRUE(LoadTraceLog(write("f.igc", igc), &log, &error)) << error.toStdString();
    EXPECT_EQ(log.periodMs, 2000);
    ASSERT_EQ(log.samples.size(), 3u);
    EXPECT_NEAR(PressureToAltitude(log.samples[1].pressurePa / 100.0), 1520, 0.1);
}

}  // namespace
