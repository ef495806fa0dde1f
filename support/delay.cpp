#include "support/delay.h"

#include "support/clock.h"

void Delay(Clock& clock, quint32 ms) {
    const quint32 start = clock.tickCount();
    for (;;) {
        const quint32 elapsed = clock.tickCount() - start;  // unsigned: survives the wrap
        if (elapsed >= ms) return;
        clock.pumpEvents(static_cast<int>(qMin<quint32>(ms - elapsed, 0x7fffffff)));
    }
}
