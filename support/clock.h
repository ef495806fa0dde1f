#pragma once

#include <QtGlobal>
#include <functional>
#include <memory>

/// One timer as the clock provides it; the program uses it through Timer.
class TimerBackend {
public:
    virtual ~TimerBackend() = default;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

/// The program's sense of time: the millisecond tick counter, the message pump and its timers.
///
/// Every wait of the program (Delay, command waits, progress windows, bootloader reads) goes
/// through one Clock. RealClock runs on Qt's event loop; VirtualClock is a discrete-event loop
/// in which pumping jumps to the next due event, so long waits cost no real time in tests.
class Clock {
public:
    virtual ~Clock() = default;

    /// Milliseconds of the tick counter; wraps at 2^32 like the system tick counter.
    virtual quint32 tickCount() const = 0;

    /// Processes pending events once. When nothing is pending it waits for the next event,
    /// but never longer than maxWaitMs.
    virtual void pumpEvents(int maxWaitMs) = 0;

    /// Blocks the caller like a blocking port read: the program's own timers do not run,
    /// the device on the other end of a simulated port does.
    virtual void sleep(int ms) = 0;

    /// Runs fn after ms milliseconds as an event of the device side (simulated peers).
    virtual void schedulePeerEvent(int ms, std::function<void()> fn) = 0;

    virtual std::unique_ptr<TimerBackend> createTimerBackend(std::function<void()> onTimeout) = 0;
};

/// A periodic timer on a Clock, with the semantics of the program's timers: starting a timer
/// that already runs does not restart its interval; stopping it inside its own handler
/// prevents the next tick.
class Timer {
public:
    Timer(Clock& clock, int intervalMs, std::function<void()> onTimeout);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void start();
    void stop();
    bool isActive() const;
    int interval() const { return m_intervalMs; }
    /// Changing the interval of a running timer restarts it, as the toolkit's timers do.
    void setInterval(int intervalMs);

private:
    std::unique_ptr<TimerBackend> m_backend;
    int m_intervalMs;
};
