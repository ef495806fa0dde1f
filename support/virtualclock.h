#pragma once

#include <QtGlobal>
#include <functional>
#include <map>
#include <optional>
#include <unordered_map>

#include "support/clock.h"

/// Discrete-event time for tests and the in-process simulator: nothing waits in real time.
/// Pumping runs the events that are due and otherwise jumps straight to the next one, so a
/// 13-second countdown with a 100 ms timer is 130 steps of a loop.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(quint64 startMs = 1'000'000);
    ~VirtualClock() override;

    quint32 tickCount() const override { return static_cast<quint32>(m_now); }
    void pumpEvents(int maxWaitMs) override;
    void sleep(int ms) override;
    void schedulePeerEvent(int ms, std::function<void()> fn) override;
    std::unique_ptr<TimerBackend> createTimerBackend(std::function<void()> onTimeout) override;

    quint64 now() const { return m_now; }
    /// Runs every event (timers and peer) due within the next ms milliseconds, in time order.
    void advance(int ms);
    /// Called at every pump, for example to let Qt deliver posted widget events in tests.
    void setPumpHook(std::function<void()> hook) { m_pumpHook = std::move(hook); }

    // Used by the timer backends.
    enum class Kind { Timer, Peer };
    quint64 schedule(quint64 atMs, Kind kind, std::function<void()> fn);
    void cancel(quint64 id);

private:
    struct Key {
        quint64 time;
        quint64 seq;
        bool operator<(const Key& o) const { return time != o.time ? time < o.time : seq < o.seq; }
    };
    struct Event {
        Kind kind;
        std::function<void()> fn;
    };

    /// Runs the events due now that were queued before this pass began; true if any ran.
    bool runDue();
    std::optional<Key> nextEvent(bool peerOnly) const;
    void runOne(const Key& key);
    /// Runs the events due up to target (only the peer's with peerOnly), then stands at target.
    void runUntil(quint64 target, bool peerOnly);

    quint64 m_now;
    quint64 m_nextSeq = 1;
    std::map<Key, Event> m_events;
    std::unordered_map<quint64, quint64> m_timeOfSeq;
    std::function<void()> m_pumpHook;
};
