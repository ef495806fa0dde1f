#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "link/devicelink.h"
#include "link/simdevice.h"
#include "link/simulatedport.h"
#include "support/virtualclock.h"

/// Records what the link shows on screen.
class RecordingObserver : public LinkObserver {
public:
    void setDeviceConnected(bool c) override { connected.append(c); }
    void setDeviceName(const QString& n) override { names.append(n); }
    void showMeasurement(const QString& t, const QString& p, const QString& a) override {
        measurements.append(QStringList{t, p, a});
    }
    void showUptime(const QString& text) override { uptimes.append(text); }
    void showMemory(int percent, const QString& hint) override {
        memoryPercents.append(percent);
        memoryHints.append(hint);
    }
    void appendTerminalText(const QString& text) override { terminal += text; }

    QList<bool> connected;
    QStringList names;
    QList<QStringList> measurements;
    QStringList uptimes;
    QList<int> memoryPercents;
    QStringList memoryHints;
    QString terminal;
};

/// A device end that answers each received line by a script: (line) -> list of (delay, bytes).
class ScriptPeer : public SimulatedPeer {
public:
    struct Piece {
        int delayMs;
        QByteArray bytes;
    };
    explicit ScriptPeer(Clock& clock) : m_clock(clock) {}
    std::function<QList<Piece>(const QByteArray& line)> onLine;

    void connected(SimulatedLink& link) override { m_link = &link; }
    void disconnected() override { m_link = nullptr; }
    void receive(const QByteArray& bytes) override {
        written += bytes;
        m_pending += bytes;
        for (qsizetype lf; (lf = m_pending.indexOf('\n')) >= 0;) {
            const QByteArray line = m_pending.left(lf);
            m_pending.remove(0, lf + 1);
            if (!onLine) continue;
            for (const Piece& p : onLine(line)) sendLater(p.delayMs, p.bytes);
        }
    }
    void sendLater(int ms, const QByteArray& bytes) {
        m_clock.schedulePeerEvent(ms, [this, bytes] {
            if (m_link) m_link->sendToHost(bytes);
        });
    }
    QByteArray written;

private:
    Clock& m_clock;
    SimulatedLink* m_link = nullptr;
    QByteArray m_pending;
};

/// A link on virtual time with one port "SIM" whose other end is the given peer.
struct LinkRig {
    LinkRig(VirtualClock& c, SimulatedPeer& peer) : clock(c) { ports.addPeer(QStringLiteral("SIM"), &peer); }
    ~LinkRig() { link.closePort(); }
    VirtualClock& clock;
    SimulatedPortProvider ports{clock};
    RecordingObserver observer;
    DeviceLink link{clock, ports, observer};
};
