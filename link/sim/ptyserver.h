#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <memory>

#include "link/simulatedport.h"

class SimDevice;

/// Serves the device model on a pseudo-terminal: programs open the slave path like a serial
/// port. A pseudo-terminal has no modem lines, so a client opening it stands in for a restart.
class PtyServer : public QObject, public SimulatedLink {
public:
    explicit PtyServer(SimDevice& device);
    ~PtyServer() override;

    /// Creates the pseudo-terminal in raw mode; false with the reason on failure.
    bool open(QString* error);
    QString slavePath() const { return m_slavePath; }

    void sendToHost(const QByteArray& bytes) override;

private:
    void pollClient();
    void onReadable();
    void onWritable();
    void clientGone();

    SimDevice& m_device;
    int m_master = -1;
    QString m_slavePath;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    QTimer m_poll;
    bool m_clientOpen = false;
    QByteArray m_out;
};
