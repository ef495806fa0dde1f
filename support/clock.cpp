#include "support/clock.h"

Timer::Timer(Clock& clock, int intervalMs, std::function<void()> onTimeout)
    : m_backend(clock.createTimerBackend(std::move(onTimeout))), m_intervalMs(intervalMs) {}

void Timer::start() {
    if (!m_backend->isActive()) m_backend->start(m_intervalMs);
}

void Timer::stop() { m_backend->stop(); }

bool Timer::isActive() const { return m_backend->isActive(); }

void Timer::setInterval(int intervalMs) {
    m_intervalMs = intervalMs;
    if (m_backend->isActive()) {
        m_backend->stop();
        m_backend->start(m_intervalMs);
    }
}
