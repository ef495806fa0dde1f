#include "link/qtserialport.h"

#include <QDeadlineTimer>
#include <QSerialPortInfo>

bool QtSerialPort::open(const QString& name) {
    close();
    m_name = name;
    m_openError = PortOpenError::None;
    m_port.setPortName(name);  // a name starting with "/" is taken as the device path
    if (m_port.open(QIODevice::ReadWrite)) return true;
    switch (m_port.error()) {
        case QSerialPort::DeviceNotFoundError:
            m_openError = PortOpenError::NotFound;
            break;
        case QSerialPort::PermissionError:
            // Qt reports a port locked by another program as a permission error too.
            m_openError = PortOpenError::PermissionDenied;
            break;
        default:
            m_openError = PortOpenError::Other;
            break;
    }
    return false;
}

void QtSerialPort::close() {
    if (m_port.isOpen()) m_port.close();
}

void QtSerialPort::setLineSettings() {
    m_port.setBaudRate(QSerialPort::Baud38400);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.clearError();
}

qint64 QtSerialPort::read(char* data, qint64 maxSize) {
    if (!m_port.isOpen() || maxSize <= 0) return m_port.isOpen() ? 0 : -1;
    if (m_port.bytesAvailable() < maxSize) m_port.waitForReadyRead(0);
    if (m_readTimeoutMs > 0) {
        QDeadlineTimer deadline(qint64(m_readTimeoutMs) * maxSize + m_readTimeoutMs);
        while (m_port.bytesAvailable() < maxSize && !deadline.hasExpired()) {
            if (!m_port.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())))) break;
        }
    }
    const qint64 n = m_port.read(data, maxSize);
    if (n < 0) m_port.clearError();
    return n;
}

qint64 QtSerialPort::write(const QByteArray& data) {
    if (!m_port.isOpen()) return -1;
    const qint64 n = m_port.write(data);
    // The write completes within a short time-out, as the device's port is never flow-controlled.
    m_port.waitForBytesWritten(10 + 10 * data.size());
    return n;
}

void QtSerialPort::purge() {
    if (!m_port.isOpen()) return;
    m_port.waitForReadyRead(0);
    m_port.clear(QSerialPort::AllDirections);
    m_port.readAll();
}

bool QtSerialPort::setDtr(bool on) {
    if (!m_port.isOpen()) return false;
    const bool ok = m_port.setDataTerminalReady(on);
    if (!ok) m_port.clearError();  // a pseudo-terminal has no modem lines
    return ok;
}

bool QtSerialPort::setRts(bool on) {
    if (!m_port.isOpen()) return false;
    const bool ok = m_port.setRequestToSend(on);
    if (!ok) m_port.clearError();
    return ok;
}

QStringList QtSerialPortProvider::availablePorts() const {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) names << info.portName();
    SortPortNamesNaturally(names);
    return names;
}

std::unique_ptr<SerialPort> QtSerialPortProvider::createPort() { return std::make_unique<QtSerialPort>(); }
