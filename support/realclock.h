#pragma once

#include "support/clock.h"

/// Wall-clock time on Qt's event loop: QTimer for timers, processEvents for the pump.
class RealClock : public Clock {
public:
    quint32 tickCount() const override;
    void pumpEvents(int maxWaitMs) override;
    void sleep(int ms) override;
    void schedulePeerEvent(int ms, std::function<void()> fn) override;
    std::unique_ptr<TimerBackend> createTimerBackend(std::function<void()> onTimeout) override;
};
