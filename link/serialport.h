#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

/// Why opening a port failed; the program adds advice for a missing permission.
enum class PortOpenError { None, NotFound, PermissionDenied, Busy, Other };

/// One serial port as the program uses it. Backends: QtSerialPort (real ttys, USB adapters,
/// pseudo-terminals) and SimulatedPort (the in-process device simulator).
class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual bool open(const QString& name) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString name() const = 0;
    virtual PortOpenError openError() const = 0;
    virtual QString errorText() const = 0;

    /// 38400 baud, 8 data bits, no parity, one stop bit; flow control is left as it is.
    virtual void setLineSettings() = 0;
    /// A read of n bytes waits at most readTimeoutMs * n + readTimeoutMs; 0 returns at once
    /// with what has arrived.
    virtual void setReadTimeout(int readTimeoutMs) = 0;
    /// Reads up to maxSize bytes within the read time-out; 0 when nothing came, -1 on failure.
    virtual qint64 read(char* data, qint64 maxSize) = 0;
    virtual qint64 write(const QByteArray& data) = 0;
    /// Drops pending input and output.
    virtual void purge() = 0;
    /// Modem-control lines; a port that cannot drive them (a pseudo-terminal) returns false.
    virtual bool setDtr(bool on) = 0;
    virtual bool setRts(bool on) = 0;
};

/// Lists the machine's ports and makes port objects.
class SerialPortProvider {
public:
    virtual ~SerialPortProvider() = default;
    /// Port names in natural ascending order.
    virtual QStringList availablePorts() const = 0;
    virtual std::unique_ptr<SerialPort> createPort() = 0;
};

/// Sorts port names the way a person counts: ttyUSB2 before ttyUSB10, COM3 before COM12.
void SortPortNamesNaturally(QStringList& names);
