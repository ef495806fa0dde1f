#pragma once

#include <QByteArray>
#include <QMap>
#include <memory>

#include "link/serialport.h"

class Clock;

/// What the device end of a simulated port uses to talk back to the program.
class SimulatedLink {
public:
    virtual ~SimulatedLink() = default;
    /// Bytes from the device; they are readable by the program at once.
    virtual void sendToHost(const QByteArray& bytes) = 0;
};

/// The device end of a simulated port (the device simulator, or a scripted peer in tests).
class SimulatedPeer {
public:
    virtual ~SimulatedPeer() = default;
    /// The program opened the port; replies go through link until disconnected() is called.
    virtual void connected(SimulatedLink& link) = 0;
    virtual void disconnected() = 0;
    virtual void receive(const QByteArray& fromHost) = 0;
    virtual void modemLinesChanged(bool /*dtr*/, bool /*rts*/) {}
};

struct SimulatedPeerSlot;

/// A port whose other end is a SimulatedPeer in the same process. Read time-outs pass on the
/// clock, so with a VirtualClock a timed-out read costs no real time.
class SimulatedPort : public SerialPort, public SimulatedLink {
public:
    SimulatedPort(Clock& clock, QMap<QString, std::shared_ptr<SimulatedPeerSlot>> peers);
    ~SimulatedPort() override;

    bool open(const QString& name) override;
    void close() override;
    bool isOpen() const override { return m_slot != nullptr; }
    QString name() const override { return m_name; }
    PortOpenError openError() const override { return m_openError; }
    QString errorText() const override { return m_errorText; }

    void setLineSettings() override {}
    void setReadTimeout(int readTimeoutMs) override { m_readTimeoutMs = qMax(0, readTimeoutMs); }
    qint64 read(char* data, qint64 maxSize) override;
    qint64 write(const QByteArray& data) override;
    void purge() override;
    bool setDtr(bool on) override;
    bool setRts(bool on) override;

    void sendToHost(const QByteArray& bytes) override;
    /// The device vanished under the open port (unplugged): reads and writes fail from now on.
    void vanish();

private:
    Clock& m_clock;
    QMap<QString, std::shared_ptr<SimulatedPeerSlot>> m_peers;
    std::shared_ptr<SimulatedPeerSlot> m_slot;
    QString m_name;
    QString m_errorText;
    PortOpenError m_openError = PortOpenError::None;
    QByteArray m_input;
    int m_readTimeoutMs = 0;
    bool m_dtr = false;
    bool m_rts = false;
    bool m_vanished = false;
};

/// Holds the simulated peers by port name; a port name can be open once at a time.
class SimulatedPortProvider : public SerialPortProvider {
public:
    explicit SimulatedPortProvider(Clock& clock) : m_clock(clock) {}
    /// The peer must outlive its registration (removePeer or the provider's end).
    void addPeer(const QString& portName, SimulatedPeer* peer);
    /// Unplugs the peer: an open port on it fails from now on.
    void removePeer(const QString& portName);

    QStringList availablePorts() const override;
    std::unique_ptr<SerialPort> createPort() override;

private:
    Clock& m_clock;
    QMap<QString, std::shared_ptr<SimulatedPeerSlot>> m_peers;
};

struct SimulatedPeerSlot {
    SimulatedPeer* peer = nullptr;
    SimulatedPort* openPort = nullptr;
};
