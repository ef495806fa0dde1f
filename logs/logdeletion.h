#pragma once

// Erasing every log in the device. The device takes several seconds to erase its memory and
// never says when it is done, so the erase runs a fixed countdown and then checks with "meas"
// that the device answers again.

#include <QString>

class DeviceLink;

/// What the progress window shows while the device erases.
class DeletionObserver {
public:
    virtual ~DeletionObserver() = default;
    /// The window opens; the countdown starts 100 ms later.
    virtual void deletionShown() {}
    /// The countdown starts: "Delete in progress.", a bar of `ticks` steps.
    virtual void deletionStarted(int /*ticks*/) {}
    /// One countdown tick: the bar's position and "p%".
    virtual void deletionTick(int /*counter*/, const QString& /*percent*/) {}
    /// The countdown is over; the device is being asked whether it is back.
    virtual void deletionChecking() {}
    /// The window closes.
    virtual void deletionFinished() {}
};

constexpr int kDeleteTickMs = 100;
constexpr int kDeleteTicks = 130;
/// After the countdown, "meas" is tried until this much time has passed.
constexpr quint32 kReconnectWindowMs = 9999;
constexpr quint32 kReconnectAnswerMs = 1000;

inline const QString kDeleteConfirmTitle = QStringLiteral("Delete logs");
inline const QString kDeleteConfirmText =
    QStringLiteral("Do you really want to delete all the logs from the VUMA device?");
inline const QString kLostConnectionText = QStringLiteral(
    "Lost connection with VUMA device. Please rerun\r\nthe delete command, otherwise the next\r\nsession "
    "might not be logged properly.");

/// "p%" of the countdown, rounded down.
QString DeletionPercentText(int counter);

/// Sends "lgc", runs the 13 s countdown and the reconnect check on the link's clock. True when
/// the device answered "meas" afterwards. The caller pauses and resumes the live measurement.
bool DeleteLogs(DeviceLink& link, DeletionObserver& observer);
