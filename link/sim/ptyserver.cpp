#include "link/sim/ptyserver.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include "link/simdevice.h"

namespace {
constexpr int kClientPollMs = 50;
constexpr int kBootMs = 200;
}  // namespace

PtyServer::PtyServer(SimDevice& device) : m_device(device) {
    m_poll.setInterval(kClientPollMs);
    QObject::connect(&m_poll, &QTimer::timeout, this, [this] { pollClient(); });
}

PtyServer::~PtyServer() {
    if (m_clientOpen) m_device.disconnected();
    m_readNotifier.reset();
    m_writeNotifier.reset();
    if (m_master >= 0) ::close(m_master);
}

bool PtyServer::open(QString* error) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        if (error) *error = QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    const char* name = ::ptsname(m_master);
    if (!name) {
        if (error) *error = QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    termios tio{};
    if (::tcgetattr(m_master, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B38400);
        ::cfsetospeed(&tio, B38400);
        ::tcsetattr(m_master, TCSANOW, &tio);
    }
    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    m_readNotifier->setEnabled(false);
    QObject::connect(m_readNotifier.get(), &QSocketNotifier::activated, this, [this] { onReadable(); });
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    QObject::connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, [this] { onWritable(); });
    m_poll.start();
    return true;
}

void PtyServer::pollClient() {
    // The master reports a hang-up while no one has the slave open.
    pollfd p{m_master, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0) return;
    const bool open = !(p.revents & POLLHUP);
    if (open == m_clientOpen) return;
    if (!open) {
        clientGone();
        return;
    }
    m_clientOpen = true;
    m_out.clear();
    m_readNotifier->setEnabled(true);
    m_device.connected(*this);
    QTimer::singleShot(kBootMs, this, [this] {
        if (m_clientOpen) m_device.sendStatus();
    });
}

void PtyServer::clientGone() {
    if (!m_clientOpen) return;
    m_clientOpen = false;
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    m_out.clear();
    m_device.disconnected();
}

void PtyServer::onReadable() {
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            m_device.receive(QByteArray(buf, static_cast<qsizetype>(n)));
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
        clientGone();  // EIO: the client closed the slave
        return;
    }
}

void PtyServer::sendToHost(const QByteArray& bytes) {
    if (!m_clientOpen) return;
    m_out += bytes;
    onWritable();
}

void PtyServer::onWritable() {
    while (!m_out.isEmpty()) {
        const ssize_t n = ::write(m_master, m_out.constData(), static_cast<size_t>(m_out.size()));
        if (n > 0) {
            m_out.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break;  // the pseudo-terminal's buffer is full: go on when it drains
    }
    m_writeNotifier->setEnabled(!m_out.isEmpty());
}
