#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <QElapsedTimer>

#include "link/qtserialport.h"
#include "link/simulatedport.h"
#include "support/virtualclock.h"

namespace {

/// Answers every write with the same bytes after a fixed delay, and notes the modem lines.
class EchoPeer : public SimulatedPeer {
public:
    EchoPeer(Clock& clock, int delayMs) : m_clock(clock), m_delayMs(delayMs) {}
    void connected(SimulatedLink& link) override {
        m_link = &link;
        ++connects;
    }
    void disconnected() override {
        m_link = nullptr;
        ++disconnects;
    }
    void receive(const QByteArray& bytes) override {
        received += bytes;
        m_clock.schedulePeerEvent(m_delayMs, [this, bytes] {
            if (m_link) m_link->sendToHost(bytes);
        });
    }
    void modemLinesChanged(bool dtr, bool rts) override { lines << qMakePair(dtr, rts); }

    QByteArray received;
    QList<QPair<bool, bool>> lines;
    int connects = 0;
    int disconnects = 0;

private:
    Clock& m_clock;
    int m_delayMs;
    SimulatedLink* m_link = nullptr;
};

QByteArray readAll(SerialPort& port) {
    QByteArray out;
    char buffer[10];
    for (qint64 n; (n = port.read(buffer, sizeof buffer)) > 0;) out.append(buffer, n);
    return out;
}

}  // namespace

TEST(SimulatedPort, RepliesArriveOnTheClockAndReadTimeOutsCostNoRealTime) {
    VirtualClock clock;
    EchoPeer peer(clock, 50);
    SimulatedPortProvider provider(clock);
    provider.addPeer(QStringLiteral("SIM"), &peer);
    EXPECT_EQ(provider.availablePorts(), QStringList{QStringLiteral("SIM")});

    auto port = provider.createPort();
    ASSERT_TRUE(port->open(QStringLiteral("SIM")));
    EXPECT_EQ(peer.connects, 1);
    port->setReadTimeout(0);
    EXPECT_EQ(port->write("meas\n"), 5);
    EXPECT_EQ(peer.received, QByteArray("meas\n"));
    EXPECT_TRUE(readAll(*port).isEmpty());  // non-blocking: nothing yet
    clock.advance(50);
    EXPECT_EQ(readAll(*port), QByteArray("meas\n"));

    // With a read time-out, a read waits at most timeout * n + timeout and ends when enough came.
    port->setReadTimeout(10);
    char buffer[4];
    QElapsedTimer real;
    real.start();
    quint64 before = clock.now();
    EXPECT_EQ(port->read(buffer, 4), 0);  // silent: the whole 50 ms pass
    EXPECT_EQ(clock.now() - before, 50u);
    port->write("ab");
    before = clock.now();
    EXPECT_EQ(port->read(buffer, 2), 0);  // the echo needs 50 ms, the read allows 30
    clock.advance(20);
    EXPECT_EQ(port->read(buffer, 2), 2);
    EXPECT_EQ(QByteArray(buffer, 2), QByteArray("ab"));
    EXPECT_LT(real.elapsed(), 1000);
}

TEST(SimulatedPort, ModemLinesBusyAndMissingPorts) {
    VirtualClock clock;
    EchoPeer peer(clock, 1);
    SimulatedPortProvider provider(clock);
    provider.addPeer(QStringLiteral("SIM"), &peer);
    auto first = provider.createPort();
    auto second = provider.createPort();
    ASSERT_TRUE(first->open(QStringLiteral("SIM")));
    EXPECT_FALSE(second->open(QStringLiteral("SIM")));
    EXPECT_EQ(second->openError(), PortOpenError::Busy);
    EXPECT_FALSE(second->open(QStringLiteral("COM9")));
    EXPECT_EQ(second->openError(), PortOpenError::NotFound);

    EXPECT_TRUE(first->setDtr(false));
    EXPECT_TRUE(first->setRts(false));
    EXPECT_TRUE(first->setDtr(true));
    ASSERT_EQ(peer.lines.size(), 3);
    EXPECT_EQ(peer.lines[1], qMakePair(false, false));
    EXPECT_EQ(peer.lines[2], qMakePair(true, false));

    first->close();
    EXPECT_EQ(peer.disconnects, 1);
    EXPECT_TRUE(second->open(QStringLiteral("SIM")));  // free again
}

TEST(SimulatedPort, AnUnpluggedDeviceFailsReadsAndWrites) {
    VirtualClock clock;
    EchoPeer peer(clock, 1);
    SimulatedPortProvider provider(clock);
    provider.addPeer(QStringLiteral("SIM"), &peer);
    auto port = provider.createPort();
    ASSERT_TRUE(port->open(QStringLiteral("SIM")));
    port->write("x");
    provider.removePeer(QStringLiteral("SIM"));
    clock.advance(10);  // the pending echo finds no link any more
    char c;
    EXPECT_EQ(port->read(&c, 1), -1);
    EXPECT_EQ(port->write("y"), -1);
    EXPECT_FALSE(port->setDtr(true));
    port->close();  // no peer to tell: must not crash
    EXPECT_FALSE(port->open(QStringLiteral("SIM")));
}

TEST(SerialPortNames, SortNaturally) {
    QStringList names{"ttyUSB10", "COM12", "ttyS0", "ttyUSB2", "COM3", "COM1", "ttyACM0"};
    SortPortNamesNaturally(names);
    EXPECT_EQ(names, (QStringList{"COM1", "COM3", "COM12", "ttyACM0", "ttyS0", "ttyUSB2", "ttyUSB10"}));
}

namespace {

/// The device end of a pseudo-terminal, for talking to QtSerialPort like a USB adapter would.
class PseudoTerminal {
public:
    PseudoTerminal() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) return;
        termios t{};
        ::tcgetattr(m_master, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(m_master, TCSANOW, &t);
        m_path = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~PseudoTerminal() {
        if (m_master >= 0) ::close(m_master);
    }
    QString path() const { return m_path; }
    void send(const QByteArray& bytes) {
        [[maybe_unused]] auto n = ::write(m_master, bytes.constData(), bytes.size());
    }
    QByteArray receive(int timeoutMs) {
        QByteArray out;
        pollfd p{m_master, POLLIN, 0};
        while (::poll(&p, 1, timeoutMs) > 0 && (p.revents & POLLIN)) {
            char buffer[256];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0) break;
            out.append(buffer, n);
            timeoutMs = 50;
        }
        return out;
    }

private:
    int m_master = -1;
    QString m_path;
};

}  // namespace

TEST(QtSerialPort, TalksOverAPseudoTerminalGivenByPath) {
    PseudoTerminal pty;
    ASSERT_FALSE(pty.path().isEmpty());
    QtSerialPort port;
    ASSERT_TRUE(port.open(pty.path())) << port.errorText().toStdString();
    port.setLineSettings();
    port.setReadTimeout(0);
    port.purge();
    // A pseudo-terminal has no modem lines: the request fails quietly.
    port.setDtr(true);
    port.setRts(true);

    EXPECT_EQ(port.write("csv c\n"), 6);
    EXPECT_EQ(pty.receive(2000), QByteArray("csv c\n"));

    pty.send("VUMA>\n");
    QByteArray got;
    char buffer[10];
    port.setReadTimeout(10);  // a read of 10 bytes waits up to 110 ms
    for (int i = 0; i < 50 && got.size() < 6; ++i) {
        const qint64 n = port.read(buffer, sizeof buffer);
        ASSERT_GE(n, 0);
        got.append(buffer, n);
    }
    EXPECT_EQ(got, QByteArray("VUMA>\n"));
    port.close();
    EXPECT_FALSE(port.isOpen());
}

TEST(QtSerialPort, MissingDeviceIsReportedAsNotFound) {
    QtSerialPort port;
    EXPECT_FALSE(port.open(QStringLiteral("/dev/vuma-no-such-port")));
    EXPECT_EQ(port.openError(), PortOpenError::NotFound);
    char c;
    EXPECT_EQ(port.read(&c, 1), -1);
    EXPECT_EQ(port.write("x"), -1);
}
