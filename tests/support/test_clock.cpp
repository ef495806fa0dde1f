#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QStringList>

#include "support/delay.h"
#include "support/realclock.h"
#include "support/virtualclock.h"

TEST(VirtualClock, LongDelayCostsNoRealTimeAndRunsTimers) {
    VirtualClock clock;
    int ticks = 0;
    Timer timer(clock, 100, [&] { ++ticks; });
    timer.start();
    const quint32 start = clock.tickCount();
    QElapsedTimer real;
    real.start();
    Delay(clock, 13000);
    EXPECT_LT(real.nsecsElapsed(), 50'000'000);  // generous for sanitizer builds; typically microseconds
    EXPECT_EQ(clock.tickCount() - start, 13000u);
    EXPECT_EQ(ticks, 130);
}

TEST(VirtualClock, DelayWithoutEventsJumpsStraightToTheEnd) {
    VirtualClock clock;
    const quint32 start = clock.tickCount();
    Delay(clock, 13000);
    EXPECT_EQ(clock.tickCount() - start, 13000u);
}

TEST(VirtualClock, TimersFireInTimeOrderAndTiesInSchedulingOrder) {
    VirtualClock clock;
    QStringList order;
    Timer slow(clock, 250, [&] { order << QStringLiteral("slow@%1").arg(clock.now() % 10000); });
    Timer fast(clock, 100, [&] { order << QStringLiteral("fast@%1").arg(clock.now() % 10000); });
    Timer tie(clock, 200, [&] { order << QStringLiteral("tie@%1").arg(clock.now() % 10000); });
    slow.start();
    fast.start();
    tie.start();
    Delay(clock, 500);
    // Ties go to the tick that was queued first: tie@200 was queued at 0, fast@200 at 100.
    EXPECT_EQ(order, (QStringList{"fast@100", "tie@200", "fast@200", "slow@250", "fast@300", "tie@400",
                                  "fast@400", "slow@500", "fast@500"}));
}

TEST(VirtualClock, StartingARunningTimerKeepsItsPhase) {
    VirtualClock clock;
    QList<quint64> at;
    Timer timer(clock, 1000, [&] { at << clock.now(); });
    const quint64 t0 = clock.now();
    timer.start();
    clock.advance(600);
    timer.start();  // must not push the tick to t0 + 1600
    clock.advance(600);
    ASSERT_EQ(at.size(), 1);
    EXPECT_EQ(at[0], t0 + 1000);
}

TEST(VirtualClock, TimerStoppedInItsHandlerDoesNotFireAgain) {
    VirtualClock clock;
    int ticks = 0;
    std::unique_ptr<Timer> timer;
    timer = std::make_unique<Timer>(clock, 100, [&] {
        ++ticks;
        timer->stop();
    });
    timer->start();
    clock.advance(1000);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer->isActive());
}

TEST(VirtualClock, NestedWaitInsideAHandlerKeepsOtherTimersRunning) {
    // A handler that waits (as a command wait does) must see the receive tick keep running.
    VirtualClock clock;
    int receiveTicks = 0;
    Timer receive(clock, 100, [&] { ++receiveTicks; });
    Timer command(clock, 1000, [&] { Delay(clock, 500); });
    receive.start();
    command.start();
    clock.advance(1000);  // command fires at 1000 and waits until 1500 inside
    EXPECT_EQ(receiveTicks, 15);
}

TEST(VirtualClock, SleepRunsPeerEventsButNotTimers) {
    VirtualClock clock;
    int timerTicks = 0;
    QList<quint64> peerAt;
    Timer timer(clock, 10, [&] { ++timerTicks; });
    timer.start();
    const quint64 t0 = clock.now();
    clock.schedulePeerEvent(30, [&] { peerAt << clock.now(); });
    clock.sleep(100);
    EXPECT_EQ(timerTicks, 0);
    ASSERT_EQ(peerAt.size(), 1);
    EXPECT_EQ(peerAt[0], t0 + 30);
    EXPECT_EQ(clock.now(), t0 + 100);
    clock.pumpEvents(0);  // the overdue timer fires once, not ten times
    EXPECT_EQ(timerTicks, 1);
}

TEST(VirtualClock, TickCountWrapsLikeTheSystemCounter) {
    VirtualClock clock(0xFFFFFF00ull);
    const quint32 start = clock.tickCount();
    Delay(clock, 0x200);
    EXPECT_EQ(clock.tickCount(), 0x100u);
    EXPECT_EQ(clock.tickCount() - start, 0x200u);
}

TEST(RealClock, DelayProcessesQtTimersWhileWaiting) {
    RealClock clock;
    int ticks = 0;
    Timer timer(clock, 10, [&] { ++ticks; });
    timer.start();
    QElapsedTimer real;
    real.start();
    Delay(clock, 120);
    EXPECT_GE(real.elapsed(), 119);
    EXPECT_GE(ticks, 5);  // loose: a busy machine may coalesce ticks
}
