#include <benchmark/benchmark.h>

#include "link/devicelink.h"
#include "link/simulatedport.h"
#include "support/virtualclock.h"

// The status scan runs on every received chunk over the whole receive history, which is never
// shortened. Its cost per chunk must stay flat however long the program has been running.
static void BM_StatusScanChunk(benchmark::State& state) {
    const qsizetype historyBytes = state.range(0);
    VirtualClock clock;
    SimulatedPortProvider ports(clock);
    LinkObserver observer;
    DeviceLink link(clock, ports, observer);

    // A long session: status reports and measurement answers, then an unfinished "UN:" line
    // followed by traffic without a line feed, the case where a plain rescan would reread the
    // most.
    QByteArray history;
    const QByteArray report =
        "UN: Glider\nUptime: 1500\nHW: 2.1\nFW: 1.0\nSN: 7\nEE: ok\nMem used: 8192\nmeas\n21.5 985.20 "
        "263.4\n>";
    while (history.size() < historyBytes / 2) history += report;
    history += "UN: ";
    while (history.size() < historyBytes) history += "0123456789abcdef";
    history.truncate(historyBytes);
    link.RxHistory.reserve(historyBytes + 64 * 1024 * 1024);
    link.LinkMode = LinkModes::kCommand;
    link.dispatch(history);
    link.ReceiveBuffer.clear();

    const QByteArray chunk = "abcdefghij";
    for (auto _ : state) {
        link.dispatch(chunk);
        if (link.ReceiveBuffer.size() > 1024 * 1024) link.ReceiveBuffer.clear();
    }
    state.SetBytesProcessed(state.iterations() * chunk.size());
}
BENCHMARK(BM_StatusScanChunk)->Arg(10240)->Arg(10485760)->UseRealTime();

BENCHMARK_MAIN();
