#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "logs/logstreamdecoder.h"

// The log stream comes from the device and from dump files: any bytes must decode safely, and
// every sample must have its pressure beside it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype start = FindLogStreamStart(bytes);
    if (start >= 0 && static_cast<uint8_t>(bytes[start + 3]) != 0x7F) __builtin_trap();
    (void)ContainsLogStreamEnd(bytes);
    const LogStreamDecodeResult r = DecodeLogStream(QByteArrayView(bytes).sliced(start >= 0 ? start : 0));
    if (r.logs.size() != r.pressurePa.size()) __builtin_trap();
    size_t samples = 0;
    for (qsizetype i = 0; i < r.logs.size(); ++i) {
        if (r.logs[i].Samples.size() != r.pressurePa[i].size()) __builtin_trap();
        if (r.logs[i].SamplePeriod <= 0) __builtin_trap();
        samples += r.logs[i].Samples.size();
    }
    if (samples > size) __builtin_trap();  // at most four samples per 4-byte record
    return 0;
}
