#include "support/realclock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <chrono>

namespace {

class QtTimerBackend : public TimerBackend {
public:
    explicit QtTimerBackend(std::function<void()> onTimeout) {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(onTimeout));
    }
    void start(int intervalMs) override { m_timer.start(intervalMs); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

}  // namespace

quint32 RealClock::tickCount() const {
    // Monotonic milliseconds since boot, truncated like the system tick counter.
    using namespace std::chrono;
    return static_cast<quint32>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void RealClock::pumpEvents(int maxWaitMs) {
    if (!QCoreApplication::instance()) {
        sleep(qMax(0, maxWaitMs));
        return;
    }
    if (maxWaitMs <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // A single-shot timer bounds the wait: processEvents returns after the first batch of
    // events, and the timer's own event is such a batch.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(maxWaitMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void RealClock::sleep(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void RealClock::schedulePeerEvent(int ms, std::function<void()> fn) {
    QTimer::singleShot(qMax(0, ms), Qt::PreciseTimer, QCoreApplication::instance(), std::move(fn));
}

std::unique_ptr<TimerBackend> RealClock::createTimerBackend(std::function<void()> onTimeout) {
    return std::make_unique<QtTimerBackend>(std::move(onTimeout));
}
