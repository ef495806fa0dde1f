#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <memory>

#include "common/testenv.h"
#include "link/demologs.h"
#include "link/linktestsupport.h"
#include "logs/altitude.h"
#include "logs/logdownload.h"
#include "logs/logpalette.h"
#include "logs/logstreamdecoder.h"
#include "support/delay.h"
#include "support/textfiles.h"

namespace {

class RecordingProgress : public DownloadObserver {
public:
    explicit RecordingProgress(Clock& clock) : m_clock(clock) {}
    void downloadShown() override { shownAt = m_clock.tickCount(); }
    void downloadStarted(const QString& line, qint32 max) override {
        startedAt = m_clock.tickCount();
        infoLine = line;
        maximum = max;
    }
    void downloadProgress(const QString& status, qint64 received, const QString& percent) override {
        statuses << status;
        percents << percent;
        lastReceived = received;
    }
    void downloadFinished() override { ++finished; }

    quint32 shownAt = 0, startedAt = 0;
    QString infoLine;
    qint32 maximum = -1;
    QStringList statuses, percents;
    qint64 lastReceived = 0;
    int finished = 0;

private:
    Clock& m_clock;
};

class LogDownloadTest : public ::testing::Test {
protected:
    void start(SimDeviceOptions options, std::vector<DeviceLog> logs) {
        options.name = QStringLiteral("VUMA 42");
        device = std::make_unique<SimDevice>(clock, options);
        device->setLogs(std::move(logs));
        rig = std::make_unique<LinkRig>(clock, *device);
        ASSERT_EQ(rig->link.openPort(QStringLiteral("SIM")), QString());
        rig->link.MeasPaused = true;
        rig->link.tmCurrMeas.stop();
        // A restart brings the status lines (name, hardware, serial, memory use).
        rig->link.RestartDevice();
        Delay(clock, 1500);
        files.dumpPath = home.documentsFolder() + QStringLiteral("/vuma.log");
        files.archiveFolder = home.path() + QStringLiteral("/archive/");
    }
    QStringList archived() const { return QDir(files.archiveFolder).entryList(QDir::Files, QDir::Name); }

    TestHome home;
    VirtualClock clock;
    std::unique_ptr<SimDevice> device;
    std::unique_ptr<LinkRig> rig;
    DownloadFiles files;
};

// Every demo log comes back as the device stored it: count, period, marks, altitudes.
TEST_F(LogDownloadTest, DemoLogsComeBackWhole) {
    const std::vector<DeviceLog> demo = MakeDemoLogs(7);
    start({}, demo);
    RecordingProgress progress(clock);
    const DownloadResult r = DownloadLogs(rig->link, progress, files);

    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(rig->link.LinkMode, LinkModes::kIdle);
    ASSERT_TRUE(r.decoded.hasLogs);
    EXPECT_TRUE(r.decoded.endMarkerSeen);
    ASSERT_EQ(r.decoded.logs.size(), qsizetype(demo.size()));
    for (size_t i = 0; i < demo.size(); ++i) {
        SCOPED_TRACE(i);
        const DeviceLog& want = demo[i];
        const TMeas& got = r.decoded.logs[qsizetype(i)];
        EXPECT_EQ(got.SamplePeriod, want.periodMs == 0 ? 1000 : want.periodMs);
        ASSERT_EQ(got.Samples.size(), want.samples.size());
        int marks = 0;
        for (size_t j = 0; j < want.samples.size(); ++j) {
            const TLogSample& s = got.Samples[j];
            const DeviceLogSample& w = want.samples[j];
            // The stream carries whole pascals: 1 Pa is about 0.09 m near sea level.
            ASSERT_NEAR(s.Altitude, PressureToAltitude(w.pressurePa / 100.0), 0.09) << "sample " << j;
            ASSERT_EQ(s.AutoStop, w.autoStopTime != 0 ? 1 : 0) << "sample " << j;
            ASSERT_EQ(s.AutoStopTime, w.autoStopTime) << "sample " << j;
            marks += w.autoStopTime != 0;
        }
        const bool empty = want.samples.size() < 6;
        EXPECT_EQ(r.decoded.names[qsizetype(i)],
                  empty ? QStringLiteral("-- empty log --") : QStringLiteral("Log %1").arg(i + 1));
        EXPECT_EQ(got.ChartColor, empty ? kEmptyLogColor : LogPalette(int(i)));
        EXPECT_EQ(got.ChartType, empty ? 1 : 0);
        EXPECT_EQ(got.ViewLast, qMax(0, int(want.samples.size()) - 1));
        EXPECT_DOUBLE_EQ(got.BaseAlt, LowestAltitude(got));
    }

    // The window saw the device's hardware line, its name and its used memory.
    // The hardware line loses its three key characters "HW:" and keeps the blank after them.
    EXPECT_EQ(progress.infoLine, QStringLiteral(" 2.1 [VUMA 42]"));
    EXPECT_EQ(progress.maximum, rig->link.MemUsedBytes);
    EXPECT_GE(progress.startedAt - progress.shownAt, kProgressStartDelayMs);
    EXPECT_EQ(progress.statuses.last(), DownloadStatusText(r.received.size(), 0));
    EXPECT_EQ(progress.percents.last(), DownloadPercentText(r.received.size(), rig->link.MemUsedBytes));
    EXPECT_EQ(progress.lastReceived, r.received.size());
    EXPECT_EQ(progress.finished, 1);

    // The dump keeps the stream from its first record; the archive keeps every received byte.
    EXPECT_EQ(LoadStringFromFile(files.dumpPath).value_or(QByteArray()), device->logStream());
    ASSERT_EQ(archived().size(), 1);
    EXPECT_TRUE(archived().first().endsWith(QStringLiteral(".bin")));
    EXPECT_TRUE(archived().first().contains(QStringLiteral("-SN")));
    EXPECT_EQ(LoadStringFromFile(r.archivePath).value_or(QByteArray()), r.received);
}

// A stream that stops half-way keeps what came; the link stays in download mode.
TEST_F(LogDownloadTest, StalledStreamKeepsTheRecordsReceivedSoFar) {
    const std::vector<DeviceLog> demo = MakeDemoLogs(7);
    SimDeviceOptions options;
    options.fault = SimFault::Stall;
    start(options, demo);
    RecordingProgress progress(clock);
    const quint32 t0 = clock.tickCount();
    const DownloadResult r = DownloadLogs(rig->link, progress, files);

    EXPECT_TRUE(r.timedOut);
    EXPECT_GE(clock.tickCount() - t0, kDownloadIdleTimeoutMs);
    EXPECT_EQ(rig->link.LinkMode, LinkModes::kDownload);
    ASSERT_TRUE(r.decoded.hasLogs);
    EXPECT_FALSE(r.decoded.endMarkerSeen);
    ASSERT_GE(r.decoded.logs.size(), 1);
    ASSERT_LE(r.decoded.logs.size(), qsizetype(demo.size()));
    // Every log received is a prefix of the stored one.
    for (qsizetype i = 0; i < r.decoded.logs.size(); ++i) {
        const auto& got = r.decoded.logs[i].Samples;
        const auto& want = demo[size_t(i)].samples;
        ASSERT_LE(got.size(), want.size());
        for (size_t j = 0; j < got.size(); ++j) {
            ASSERT_NEAR(got[j].Altitude, PressureToAltitude(want[j].pressurePa / 100.0), 0.09);
        }
    }
    EXPECT_EQ(archived().size(), 1);
}

// No record in the reply: nothing to decode, and neither the dump nor the archive is touched.
TEST_F(LogDownloadTest, EmptyDeviceGivesNoLogsAndWritesNothing) {
    start({}, {});
    ASSERT_TRUE(ForceFolder(home.documentsFolder()));
    ASSERT_TRUE(SaveStringToFile(files.dumpPath, "previous"));
    RecordingProgress progress(clock);
    const DownloadResult r = DownloadLogs(rig->link, progress, files);
    EXPECT_FALSE(r.decoded.hasLogs);
    EXPECT_TRUE(r.decoded.logs.isEmpty());
    EXPECT_EQ(LoadStringFromFile(files.dumpPath).value_or(QByteArray()), QByteArray("previous"));
    EXPECT_TRUE(archived().isEmpty());
}

// A dump that cannot be written is reported, and the download is decoded and archived anyway.
TEST_F(LogDownloadTest, UnwritableDumpStillGivesTheLogs) {
    start({}, MakeDemoLogs(3));
    const QString blocker = home.path() + QStringLiteral("/not-a-folder");
    ASSERT_TRUE(SaveStringToFile(blocker, "x"));
    files.dumpPath = blocker + QStringLiteral("/vuma.log");
    RecordingProgress progress(clock);
    const DownloadResult r = DownloadLogs(rig->link, progress, files);
    EXPECT_TRUE(r.dumpError.startsWith(files.dumpPath)) << r.dumpError.toStdString();
    EXPECT_FALSE(r.decoded.logs.isEmpty());
    EXPECT_EQ(archived().size(), 1);
}

// Each download adds exactly one archive file, also within the same second.
TEST_F(LogDownloadTest, ArchiveGrowsByOneFilePerDownload) {
    start({}, MakeDemoLogs(3));
    RecordingProgress progress(clock);
    const DownloadResult first = DownloadLogs(rig->link, progress, files);
    const DownloadResult second = DownloadLogs(rig->link, progress, files);
    EXPECT_NE(first.archivePath, second.archivePath);
    EXPECT_EQ(archived().size(), 2);
}

TEST(DownloadTexts, PercentOfUsedMemory) {
    struct Case {
        qint64 received;
        qint32 mem;
        const char* want;
    } cases[] = {
        {500, 0, "0%"},   {500, -5, "0%"},    {5, 1000, "0%"},  // echo only: never negative
        {12, 1000, "0%"}, {512, 1000, "50%"}, {521, 1000, "50%"}, {1012, 1000, "100%"}, {90000, 1000, "100%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DownloadPercentText(c.received, c.mem), QLatin1String(c.want))
            << c.received << "/" << c.mem;
    }
    EXPECT_EQ(DownloadStatusText(4096, 2999), QStringLiteral("Reading log (4096 / 2s)"));
    EXPECT_EQ(DownloadInfoLine(QStringLiteral("HW: 2.1"), QStringLiteral("Ridge")),
              QStringLiteral(" 2.1 [Ridge]"));
}

TEST(DownloadTexts, ArchiveNameFromTimeAndSerial) {
    const QDateTime when(QDate(2026, 12, 10), QTime(18, 5, 7));
    EXPECT_EQ(DownloadArchiveName(when, QStringLiteral("SN: 10001")),
              QStringLiteral("20261210-180507-SN10001.bin"));
    EXPECT_EQ(DownloadArchiveName(when, QString()), QStringLiteral("20261210-180507-SNunknown.bin"));
    // Nothing from the device reaches the file name that could leave the folder.
    EXPECT_EQ(DownloadArchiveName(when, QStringLiteral("SN: ../x/1")),
              QStringLiteral("20261210-180507-SNx1.bin"));
}

std::vector<DeviceLog> smallLogs() {
    auto log = [](int count, quint16 period) {
        DeviceLog l;
        l.periodMs = period;
        for (int i = 0; i < count; ++i) l.samples.push_back({101325 - 10 * i, 0});
        return l;
    };
    return {log(8, 500), log(5, 1000), log(7, 0)};
}

// Names and colours: a short log is listed empty but keeps its samples and its place in the count.
TEST(DecodeDownload, NamesAndColoursCountShortLogs) {
    const QByteArray stream = EncodeLogStream(smallLogs());
    ASSERT_FALSE(stream.isEmpty());
    const DownloadedLogs d = DecodeDownload("lgr b\r\n" + stream);
    ASSERT_TRUE(d.hasLogs);
    EXPECT_EQ(d.stream, stream);
    EXPECT_EQ(d.names, (QStringList{"Log 1", "-- empty log --", "Log 3"}));
    ASSERT_EQ(d.logs.size(), 3);
    EXPECT_EQ(d.logs[1].Samples.size(), 5u);
    EXPECT_EQ(d.logs[1].ChartColor, kEmptyLogColor);
    EXPECT_EQ(d.logs[2].ChartColor, LogPalette(2));
    EXPECT_EQ(d.logs[0].SamplePeriod, 500);
    EXPECT_EQ(d.logs[2].SamplePeriod, 1000);
}

// Echo or not, garbage before the first record or a last record cut short: the same logs.
TEST(DecodeDownload, SurroundingBytesDoNotChangeTheLogs) {
    const QByteArray stream = EncodeLogStream(smallLogs());
    const QByteArray body = stream.chopped(4);  // without the end marker
    const DownloadedLogs plain = DecodeDownload(stream);
    const QByteArray variants[] = {
        "lgr b\n" + stream, QByteArray("\x01\x02\x03\x04\x05", 5) + stream,
        body + QByteArray("\x10\x20", 2),  // cut inside the last record
    };
    for (const QByteArray& v : variants) {
        const DownloadedLogs d = DecodeDownload(v);
        ASSERT_EQ(d.logs.size(), plain.logs.size());
        for (qsizetype i = 0; i < d.logs.size(); ++i) {
            ASSERT_EQ(d.logs[i].Samples.size(), plain.logs[i].Samples.size());
        }
        EXPECT_EQ(d.names, plain.names);
    }
    EXPECT_FALSE(DecodeDownload("lgr b\n>").hasLogs);
    EXPECT_FALSE(DecodeDownload(QByteArray("\x01\x7F", 2)).hasLogs);  // 0x7F among the first three bytes
}

}  // namespace
