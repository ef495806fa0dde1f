#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstring>

#include "app/filetypes.h"
#include "app/keyboardtracker.h"
#include "app/main_window.h"
#include "app/qtuserprompts.h"
#include "app/signalwatcher.h"
#include "link/qtserialport.h"
#include "support/realclock.h"

int main(int argc, char* argv[]) {
    // "register" (exactly so; "Register" is a file name) registers the file types without
    // starting the desktop at all.
    if (argc > 1 && std::strcmp(argv[1], "register") == 0) {
        const QString self = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
        return RegisterFileTypes(self) ? 0 : 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vuma"));
    QApplication::setApplicationVersion(QStringLiteral(VUMA_VERSION));

    RealClock clock;
    QtSerialPortProvider ports;
    QtUserPrompts prompts;
    KeyboardTracker keyboard;
    SignalWatcher signalWatcher;

    TfrmMain window(clock, ports, prompts, QApplication::arguments().mid(1));
    prompts.setParentWidget(&window);
    QObject::connect(&signalWatcher, &SignalWatcher::terminationRequested, &window, &QWidget::close);
    window.show();
    app.exec();
    return 0;
}
