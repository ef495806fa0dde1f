// Reading and writing log files of a full device: four logs, 131,000 samples in all.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "files/logfile.h"
#include "logs/altitude.h"

namespace {

LogFileContent fullDevice() {
    LogFileContent c;
    c.config.SD = 100;
    c.config.LR = 10;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> step(-3, 3);
    const int counts[] = {50000, 40000, 30000, 11000};
    for (int k = 0; k < 4; ++k) {
        TMeas log;
        log.SamplePeriod = 1000;
        // The device reads pressure in steps of 0.01 hPa; altitudes are derived from it.
        int pressure = 95000 + k * 500;
        for (int i = 0; i < counts[k]; ++i) {
            pressure += step(random);
            TLogSample s;
            s.Altitude = PressureToAltitude(pressure / 100.0);
            if (i % 5000 == 4999) {
                s.AutoStop = 1;
                s.AutoStopTime = 60;
            }
            log.Samples.push_back(s);
        }
        log.BaseAlt = LowestAltitude(log);
        c.logs.append(log);
        c.names.append(QStringLiteral("Log %1").arg(k + 1));
    }
    c.notes = QStringLiteral("Four flights on one day.");
    return c;
}

struct Fixture {
    QTemporaryDir dir;
    LogFileContent content = fullDevice();
    QByteArray plain;
    QByteArray body;
    QString vulPath = dir.filePath(QStringLiteral("full.vul"));
    QString vucPath = dir.filePath(QStringLiteral("full.vuc"));
    QString rawPath = dir.filePath(QStringLiteral("raw.bin"));
    Fixture() {
        plain = *LogFileBytes(content, false, nullptr);
        body = plain.mid(kLogFileHeaderSize);
        SaveLogFile(vulPath, content, false);
        SaveLogFile(vucPath, content, true);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_VulOpen(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        LogFileResult r = LoadLogFile(f.vulPath, LogFileReadContext());
        benchmark::DoNotOptimize(r.content.logs.data());
    }
    state.SetBytesProcessed(state.iterations() * f.plain.size());
}

void BM_VulSave(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) benchmark::DoNotOptimize(SaveLogFile(f.vulPath, f.content, false));
    state.SetBytesProcessed(state.iterations() * f.plain.size());
}

// Raw file I/O of the same number of bytes, the floor the log file formats are measured against.
void BM_PlainRead(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        QFile file(f.vulPath);
        file.open(QIODevice::ReadOnly);
        QByteArray bytes = file.readAll();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * f.plain.size());
}

void BM_PlainWrite(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        QFile file(f.rawPath);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        benchmark::DoNotOptimize(file.write(f.plain));
    }
    state.SetBytesProcessed(state.iterations() * f.plain.size());
}

void BM_VucOpen(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        LogFileResult r = LoadLogFile(f.vucPath, LogFileReadContext());
        benchmark::DoNotOptimize(r.content.logs.data());
    }
    state.SetBytesProcessed(state.iterations() * f.plain.size());
    state.counters["file_bytes"] = double(QFile(f.vucPath).size());
}

void BM_VucSave(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) benchmark::DoNotOptimize(SaveLogFile(f.vucPath, f.content, true));
    state.SetBytesProcessed(state.iterations() * f.plain.size());
}

// zlib at level 6 on the same body: what compressing this data costs at least.
void BM_ZlibDeflate(benchmark::State& state) {
    Fixture& f = fixture();
    QByteArray packed;
    for (auto _ : state) {
        packed = qCompress(f.body, 6);
        benchmark::DoNotOptimize(packed.data());
    }
    state.SetBytesProcessed(state.iterations() * f.plain.size());
    state.counters["zlib_bytes"] = double(packed.size() - 4);  // without Qt's length prefix
}

void BM_ZlibInflate(benchmark::State& state) {
    Fixture& f = fixture();
    const QByteArray packed = qCompress(f.body, 6);
    for (auto _ : state) {
        QByteArray body = qUncompress(packed);
        benchmark::DoNotOptimize(body.data());
    }
    state.SetBytesProcessed(state.iterations() * f.plain.size());
}

}  // namespace

BENCHMARK(BM_VulOpen)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VulSave)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWrite)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VucOpen)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VucSave)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflate)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibDeflate)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
