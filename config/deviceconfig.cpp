#include "config/deviceconfig.h"

#include <QtEndian>
#include <cstring>
#include <limits>

QByteArray DeviceConfig::toBytes() const {
    DeviceConfig le = *this;
    le.MAFL = qToLittleEndian(MAFL);
    le.SD = qToLittleEndian(SD);
    le.LR = qToLittleEndian(LR);
    le.TCR = qToLittleEndian(TCR);
    le.LASS = qToLittleEndian(LASS);
    return QByteArray(reinterpret_cast<const char*>(&le), kSize);
}

DeviceConfig DeviceConfig::fromBytes(QByteArrayView bytes) {
    Q_ASSERT(bytes.size() >= kSize);
    DeviceConfig c;
    std::memcpy(static_cast<void*>(&c), bytes.data(), kSize);
    c.MAFL = qFromLittleEndian(c.MAFL);
    c.SD = qFromLittleEndian(c.SD);
    c.LR = qFromLittleEndian(c.LR);
    c.TCR = qFromLittleEndian(c.TCR);
    c.LASS = qFromLittleEndian(c.LASS);
    return c;
}

qint32 DeviceConfig::loggedPointInterval() const {
    if (LR <= 0) return 1000;
    // A crafted record must not overflow into a wrong sign.
    const qint64 interval = qint64(SD) * qint64(LR);
    if (interval > std::numeric_limits<qint32>::max()) return std::numeric_limits<qint32>::max();
    if (interval < std::numeric_limits<qint32>::min()) return std::numeric_limits<qint32>::min();
    return qint32(interval);
}

bool operator==(const DeviceConfig& a, const DeviceConfig& b) {
    return std::memcmp(&a, &b, DeviceConfig::kSize) == 0;
}
