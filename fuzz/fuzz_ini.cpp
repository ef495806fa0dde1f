#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "support/inifile.h"

// The settings file is outside input: any bytes must parse, read and write back safely.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    IniFile ini(bytes);
    if (ini.toBytes() != bytes) __builtin_trap();  // parsing alone must not change a byte
    (void)ini.readInt(QStringLiteral("main"), QStringLiteral("width"), 1024);
    (void)ini.readString(QStringLiteral("files"), QStringLiteral("file1"), QString());
    ini.writeString(QStringLiteral("main"), QStringLiteral("width"), QStringLiteral("800"));
    if (ini.readInt(QStringLiteral("main"), QStringLiteral("width"), 0) != 800) __builtin_trap();
    return 0;
}
