#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "link/devicelink.h"
#include "link/simulatedport.h"
#include "support/virtualclock.h"

// Everything the device sends passes the dispatcher: status scan, measurement check, terminal
// display. The first byte of each piece picks the link mode and the piece's length, so chunks
// and modes vary; scanning in pieces must end where one scan of the whole history ends.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VirtualClock clock;
    SimulatedPortProvider ports(clock);
    LinkObserver observer;
    DeviceLink link(clock, ports, observer);
    static const quint8 kModes[] = {0, 2, 4, 5, 6, 1};
    size_t pos = 0;
    while (pos < size) {
        const uint8_t control = data[pos++];
        const size_t n = qMin<size_t>(1 + (control >> 3), size - pos);
        link.LinkMode = kModes[control % 6];
        link.dispatch(QByteArray(reinterpret_cast<const char*>(data + pos), static_cast<qsizetype>(n)));
        clock.advance(control & 0x07 ? 50 : 1100);
        pos += n;
    }
    link.LinkMode = 0;
    link.dispatch(QByteArray(1, 'x'));
    StatusScanner whole;
    whole.scan(link.RxHistory);
    for (int k = 0; k < kStatusKeyCount; ++k) {
        const auto key = static_cast<StatusKey>(k);
        if (whole.resumePos(key) != link.statusScanner().resumePos(key)) __builtin_trap();
    }
    return 0;
}
