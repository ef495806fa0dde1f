#pragma once

#include <QSerialPort>

#include "link/serialport.h"

/// A real serial port through QSerialPort. Names are what QSerialPortInfo lists ("ttyUSB0",
/// "COM3") or a full device path such as a pseudo-terminal ("/dev/pts/5").
class QtSerialPort : public SerialPort {
public:
    bool open(const QString& name) override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    QString name() const override { return m_name; }
    PortOpenError openError() const override { return m_openError; }
    QString errorText() const override { return m_port.errorString(); }

    void setLineSettings() override;
    void setReadTimeout(int readTimeoutMs) override { m_readTimeoutMs = qMax(0, readTimeoutMs); }
    qint64 read(char* data, qint64 maxSize) override;
    qint64 write(const QByteArray& data) override;
    void purge() override;
    bool setDtr(bool on) override;
    bool setRts(bool on) override;

private:
    QSerialPort m_port;
    QString m_name;
    PortOpenError m_openError = PortOpenError::None;
    int m_readTimeoutMs = 0;
};

class QtSerialPortProvider : public SerialPortProvider {
public:
    QStringList availablePorts() const override;
    std::unique_ptr<SerialPort> createPort() override;
};
