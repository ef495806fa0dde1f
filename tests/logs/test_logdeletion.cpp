#include <gtest/gtest.h>

#include <memory>

#include "link/demologs.h"
#include "link/linktestsupport.h"
#include "logs/logdeletion.h"
#include "support/delay.h"

namespace {

class RecordingDeletion : public DeletionObserver {
public:
    explicit RecordingDeletion(Clock& clock) : m_clock(clock) {}
    void deletionStarted(int t) override {
        ticks = t;
        startedAt = m_clock.tickCount();
    }
    void deletionTick(int counter, const QString& percent) override {
        counters << counter;
        percents << percent;
    }
    void deletionChecking() override { checkingAt = m_clock.tickCount(); }
    void deletionFinished() override { finishedAt = m_clock.tickCount(); }

    int ticks = 0;
    QList<int> counters;
    QStringList percents;
    quint32 startedAt = 0, checkingAt = 0, finishedAt = 0;

private:
    Clock& m_clock;
};

class LogDeletionTest : public ::testing::Test {
protected:
    void start(SimDeviceOptions options) {
        device = std::make_unique<SimDevice>(clock, options);
        device->setLogs(MakeDemoLogs(5));
        rig = std::make_unique<LinkRig>(clock, *device);
        ASSERT_EQ(rig->link.openPort(QStringLiteral("SIM")), QString());
        rig->link.MeasPaused = true;
        rig->link.tmCurrMeas.stop();
        Delay(clock, 1500);
    }
    VirtualClock clock;
    std::unique_ptr<SimDevice> device;
    std::unique_ptr<LinkRig> rig;
};

// The countdown always runs its 130 ticks of 100 ms, rounded-down percentages, whatever the device.
TEST_F(LogDeletionTest, CountdownRuns130TicksThenTheDeviceIsBack) {
    SimDeviceOptions options;
    options.eraseSilenceMs = 2000;  // back long before the countdown ends
    start(options);
    RecordingDeletion progress(clock);
    EXPECT_TRUE(DeleteLogs(rig->link, progress));

    EXPECT_EQ(progress.ticks, 130);
    ASSERT_EQ(progress.counters.size(), 130);
    EXPECT_EQ(progress.counters.last(), 130);
    EXPECT_EQ(progress.percents.first(), QStringLiteral("0%"));
    EXPECT_EQ(progress.percents[1], QStringLiteral("1%"));  // 2 * 100 / 130
    EXPECT_EQ(progress.percents[64], QStringLiteral("50%"));
    EXPECT_EQ(progress.percents.last(), QStringLiteral("100%"));
    EXPECT_GE(progress.checkingAt - progress.startedAt, 13000u);
    EXPECT_LT(progress.checkingAt - progress.startedAt, 13300u);
    // The first "meas" is answered at once.
    EXPECT_LE(progress.finishedAt - progress.checkingAt, 1000u);
    EXPECT_TRUE(device->logs().empty());
    const QStringList lines = device->receivedLines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.mid(lines.size() - 2), (QStringList{"lgc", "meas"}));
}

// How long the device stays silent after "lgc" decides the outcome: the check gives it about
// 10 s after the 13 s countdown.
TEST_F(LogDeletionTest, ReconnectCheckWaitsAboutTenSeconds) {
    struct Case {
        int eraseMs;
        SimFault fault;
        bool answered;
    } cases[] = {
        {10000, SimFault::None, true},
        {20000, SimFault::None, true},
        {40000, SimFault::None, false},
        {10000, SimFault::Silent, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.eraseMs);
        SimDeviceOptions options;
        options.eraseSilenceMs = c.eraseMs;
        start(options);
        device->options().fault = c.fault;
        RecordingDeletion progress(clock);
        EXPECT_EQ(DeleteLogs(rig->link, progress), c.answered);
        const quint32 checking = progress.finishedAt - progress.checkingAt;
        if (c.answered) {
            EXPECT_LT(checking, 10000u);
        } else {
            // The last exchange starts before 9999 ms have passed and lasts 1 s.
            EXPECT_GE(checking, 10000u);
            EXPECT_LE(checking, 11100u);
        }
        rig.reset();
        device.reset();
    }
}

TEST(DeletionTexts, PercentRoundsDown) {
    EXPECT_EQ(DeletionPercentText(0), QStringLiteral("0%"));
    EXPECT_EQ(DeletionPercentText(1), QStringLiteral("0%"));
    EXPECT_EQ(DeletionPercentText(129), QStringLiteral("99%"));
    EXPECT_EQ(DeletionPercentText(130), QStringLiteral("100%"));
}

}  // namespace
