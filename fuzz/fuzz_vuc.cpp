#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "files/cabinet.h"
#include "files/compressedlogfile.h"
#include "files/logfile.h"

// The part of a compressed log file after its header: any bytes must unpack or fail cleanly.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    (void)ListCabinet(bytes, &error);
    LogFileHeader header;
    header.compressed = true;
    header.logCount = 1;
    (void)ParseCompressedLogBody(bytes, header, LogFileReadContext());
    return 0;
}
