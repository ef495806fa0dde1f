#include "link/simulatedport.h"

#include <cstring>

#include "support/clock.h"

SimulatedPort::SimulatedPort(Clock& clock, QMap<QString, std::shared_ptr<SimulatedPeerSlot>> peers)
    : m_clock(clock), m_peers(std::move(peers)) {}

SimulatedPort::~SimulatedPort() { close(); }

bool SimulatedPort::open(const QString& name) {
    close();
    m_name = name;
    m_vanished = false;
    const auto it = m_peers.find(name);
    if (it == m_peers.end() || !(*it)->peer) {
        m_openError = PortOpenError::NotFound;
        m_errorText = QStringLiteral("No such port.");
        return false;
    }
    if ((*it)->openPort) {
        m_openError = PortOpenError::Busy;
        m_errorText = QStringLiteral("The port is in use.");
        return false;
    }
    m_openError = PortOpenError::None;
    m_errorText.clear();
    m_slot = *it;
    m_slot->openPort = this;
    m_input.clear();
    m_slot->peer->connected(*this);
    return true;
}

void SimulatedPort::close() {
    if (!m_slot) return;
    auto slot = std::move(m_slot);
    m_slot.reset();
    slot->openPort = nullptr;
    if (slot->peer && !m_vanished) slot->peer->disconnected();
}

void SimulatedPort::vanish() {
    if (!m_slot) return;
    m_vanished = true;
    m_input.clear();
}

qint64 SimulatedPort::read(char* data, qint64 maxSize) {
    if (!m_slot || m_vanished) return -1;
    if (maxSize <= 0) return 0;
    if (m_readTimeoutMs > 0 && m_input.size() < maxSize) {
        // Wait in 1 ms steps so a reply that arrives mid-wait ends it early, as on a real line.
        const qint64 budget = qint64(m_readTimeoutMs) * maxSize + m_readTimeoutMs;
        for (qint64 waited = 0; waited < budget && m_input.size() < maxSize && m_slot && !m_vanished;
             ++waited) {
            m_clock.sleep(1);
        }
        if (!m_slot || m_vanished) return -1;
    }
    const qint64 n = qMin<qint64>(maxSize, m_input.size());
    std::memcpy(data, m_input.constData(), static_cast<size_t>(n));
    m_input.remove(0, n);
    return n;
}

qint64 SimulatedPort::write(const QByteArray& data) {
    if (!m_slot || m_vanished || !m_slot->peer) return -1;
    m_slot->peer->receive(data);
    return data.size();
}

void SimulatedPort::purge() { m_input.clear(); }

bool SimulatedPort::setDtr(bool on) {
    if (!m_slot || m_vanished) return false;
    m_dtr = on;
    if (m_slot->peer) m_slot->peer->modemLinesChanged(m_dtr, m_rts);
    return true;
}

bool SimulatedPort::setRts(bool on) {
    if (!m_slot || m_vanished) return false;
    m_rts = on;
    if (m_slot->peer) m_slot->peer->modemLinesChanged(m_dtr, m_rts);
    return true;
}

void SimulatedPort::sendToHost(const QByteArray& bytes) {
    if (m_slot && !m_vanished) m_input += bytes;
}

void SimulatedPortProvider::addPeer(const QString& portName, SimulatedPeer* peer) {
    auto& slot = m_peers[portName];
    if (!slot) slot = std::make_shared<SimulatedPeerSlot>();
    slot->peer = peer;
}

void SimulatedPortProvider::removePeer(const QString& portName) {
    const auto it = m_peers.find(portName);
    if (it == m_peers.end()) return;
    if ((*it)->openPort) (*it)->openPort->vanish();
    (*it)->peer = nullptr;
    m_peers.erase(it);
}

QStringList SimulatedPortProvider::availablePorts() const {
    QStringList names = m_peers.keys();
    SortPortNamesNaturally(names);
    return names;
}

std::unique_ptr<SerialPort> SimulatedPortProvider::createPort() {
    return std::make_unique<SimulatedPort>(m_clock, m_peers);
}
