#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "files/logfile.h"

// Native log files come from anywhere: any bytes must give logs or an error, and whatever reads
// must write back and read again unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    LogFileReadContext context;
    context.existingCount = 2;
    const LogFileResult first = ParseLogFile(bytes, context);
    if (!first.ok()) return 0;
    LogFileHeader header;
    header.logCount = qint32(first.content.logs.size());
    const QByteArray body = LogFileBodyBytes(first.content);
    const LogFileResult second = ParseLogFileBody(body, header, context);
    if (!second.ok() || second.content.names != first.content.names ||
        second.content.notes != first.content.notes || second.content.config != first.content.config) {
        __builtin_trap();
    }
    if (LogFileBodyBytes(second.content) != body) __builtin_trap();
    return 0;
}
