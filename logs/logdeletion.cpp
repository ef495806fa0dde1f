#include "logs/logdeletion.h"

#include "link/devicelink.h"
#include "logs/logdownload.h"
#include "support/delay.h"

QString DeletionPercentText(int counter) {
    return QString::number(counter * 100 / kDeleteTicks) + QLatin1Char('%');
}

bool DeleteLogs(DeviceLink& link, DeletionObserver& observer) {
    Clock& clock = link.clock();
    // Time-out 0: the line is written and nothing is read; the device stays silent while erasing.
    link.SendAndWait(QStringLiteral("lgc"), 0);

    observer.deletionShown();
    Delay(clock, kProgressStartDelayMs);
    observer.deletionStarted(kDeleteTicks);

    // A fixed countdown: the device does not report the end of the erase.
    int counter = 0;
    Timer tmDelete(clock, kDeleteTickMs, [&] {
        if (counter >= kDeleteTicks) return;
        ++counter;
        observer.deletionTick(counter, DeletionPercentText(counter));
    });
    tmDelete.start();
    while (counter < kDeleteTicks) clock.pumpEvents(kDeleteTickMs);
    tmDelete.stop();

    observer.deletionChecking();
    bool answered = false;
    const quint32 t0 = clock.tickCount();
    while (clock.tickCount() - t0 <= kReconnectWindowMs) {
        answered = !link.SendAndWait(QStringLiteral("meas"), kReconnectAnswerMs).isEmpty();
        if (answered) break;
        clock.pumpEvents(0);
    }
    observer.deletionFinished();
    return answered;
}
