#include "support/virtualclock.h"

namespace {

class VirtualTimerBackend : public TimerBackend {
public:
    VirtualTimerBackend(VirtualClock& clock, std::function<void()> onTimeout)
        : m_clock(clock), m_onTimeout(std::move(onTimeout)) {}
    ~VirtualTimerBackend() override { stop(); }

    void start(int intervalMs) override {
        stop();
        m_interval = qMax(1, intervalMs);
        scheduleNext();
    }
    void stop() override {
        if (m_pending) m_clock.cancel(m_pending);
        m_pending = 0;
    }
    bool isActive() const override { return m_pending != 0; }

private:
    void scheduleNext() {
        m_pending = m_clock.schedule(m_clock.now() + static_cast<quint64>(m_interval),
                                     VirtualClock::Kind::Timer, [this] { fire(); });
    }
    void fire() {
        // The next tick is queued before the handler runs, as a free-running toolkit timer
        // would be; a handler that stops the timer cancels it again.
        scheduleNext();
        m_onTimeout();
    }

    VirtualClock& m_clock;
    std::function<void()> m_onTimeout;
    int m_interval = 1;
    quint64 m_pending = 0;
};

}  // namespace

VirtualClock::VirtualClock(quint64 startMs) : m_now(startMs) {}

VirtualClock::~VirtualClock() = default;

quint64 VirtualClock::schedule(quint64 atMs, Kind kind, std::function<void()> fn) {
    const quint64 seq = m_nextSeq++;
    m_events.emplace(Key{qMax(atMs, m_now), seq}, Event{kind, std::move(fn)});
    m_timeOfSeq.emplace(seq, qMax(atMs, m_now));
    return seq;
}

void VirtualClock::cancel(quint64 id) {
    auto it = m_timeOfSeq.find(id);
    if (it == m_timeOfSeq.end()) return;
    m_events.erase(Key{it->second, id});
    m_timeOfSeq.erase(it);
}

void VirtualClock::schedulePeerEvent(int ms, std::function<void()> fn) {
    schedule(m_now + static_cast<quint64>(qMax(0, ms)), Kind::Peer, std::move(fn));
}

std::unique_ptr<TimerBackend> VirtualClock::createTimerBackend(std::function<void()> onTimeout) {
    return std::make_unique<VirtualTimerBackend>(*this, std::move(onTimeout));
}

std::optional<VirtualClock::Key> VirtualClock::nextEvent(bool peerOnly) const {
    for (const auto& [key, event] : m_events) {
        if (!peerOnly || event.kind == Kind::Peer) return key;
    }
    return std::nullopt;
}

void VirtualClock::runOne(const Key& key) {
    auto it = m_events.find(key);
    if (it == m_events.end()) return;
    auto fn = std::move(it->second.fn);
    m_events.erase(it);
    m_timeOfSeq.erase(key.seq);
    fn();  // may pump again: the event is already off the queue
}

bool VirtualClock::runDue() {
    const quint64 passStart = m_nextSeq;
    bool ran = false;
    for (;;) {
        std::optional<Key> due;
        for (const auto& [key, event] : m_events) {
            if (key.time > m_now) break;
            if (key.seq < passStart) {
                due = key;
                break;
            }
        }
        if (!due) return ran;
        runOne(*due);
        ran = true;
    }
}

void VirtualClock::pumpEvents(int maxWaitMs) {
    if (m_pumpHook) m_pumpHook();
    if (runDue() || maxWaitMs <= 0) return;
    const auto next = nextEvent(false);
    const quint64 limit = m_now + static_cast<quint64>(maxWaitMs);
    if (next && next->time <= limit) {
        m_now = next->time;
        runDue();
    } else {
        m_now = limit;
    }
}

void VirtualClock::runUntil(quint64 target, bool peerOnly) {
    for (;;) {
        const auto next = nextEvent(peerOnly);
        if (!next || next->time > target) break;
        m_now = qMax(m_now, next->time);
        runOne(*next);
    }
    m_now = target;
}

void VirtualClock::sleep(int ms) { runUntil(m_now + static_cast<quint64>(qMax(0, ms)), true); }

void VirtualClock::advance(int ms) { runUntil(m_now + static_cast<quint64>(qMax(0, ms)), false); }
