#pragma once

#include <QObject>

class QSocketNotifier;

/// Turns SIGTERM and SIGINT (log-out, Ctrl+C in a terminal) into a Qt signal, delivered on the
/// event loop, so the program can close its window the normal way and save its state.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;

Q_SIGNALS:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
