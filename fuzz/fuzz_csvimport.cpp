#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "files/csvimport.h"

// Any text imports as one sample per line (or "no samples"), and its export imports again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const CsvImportResult r = ImportCsv(bytes, QStringLiteral("/x/flight.csv"), {QStringLiteral("flight")});
    if (!r.ok()) {
        if (size != 0) __builtin_trap();
        return 0;
    }
    qsizetype lines = bytes.count('\n');
    if (!bytes.endsWith('\n')) ++lines;
    if (qsizetype(r.log.Samples.size()) != lines) __builtin_trap();
    const QByteArray csv = ExportCsv(r.log, CsvStyle::Plain, NumberSeparators());
    const CsvImportResult again = ImportCsv(csv, QStringLiteral("flight.csv"), {});
    if (!again.ok() || again.log.Samples.size() != r.log.Samples.size()) __builtin_trap();
    return 0;
}
