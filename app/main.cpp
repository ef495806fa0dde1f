#include <QApplication>
#include <QFileInfo>
#include <cstring>
#include <memory>

#include "app/filetypes.h"
#include "app/keyboardtracker.h"
#include "app/main_window.h"
#include "app/qtuserprompts.h"
#include "app/signalwatcher.h"
#include "link/demologs.h"
#include "link/qtserialport.h"
#include "link/simdevice.h"
#include "link/simulatedport.h"
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
    QStringList arguments = QApplication::arguments().mid(1);

    RealClock clock;
    QtUserPrompts prompts;
    KeyboardTracker keyboard;
    SignalWatcher signalWatcher;

    // --demo: the program talks to a simulated VUMA on the port "SIM", at the real wire rate,
    // with the demo logs in its memory. Nothing about the demo port is stored in the settings.
    const bool demo = arguments.removeAll(QStringLiteral("--demo")) > 0;
    std::unique_ptr<SerialPortProvider> ports;
    std::unique_ptr<SimDevice> device;
    if (demo) {
        SimDeviceOptions options;
        options.name = QStringLiteral("VUMA demo");
        options.pace = true;
        options.statusEveryMs = 10000;
        device = std::make_unique<SimDevice>(clock, options);
        device->setLogs(MakeDemoLogs(options.seed));
        auto simulated = std::make_unique<SimulatedPortProvider>(clock);
        simulated->addPeer(QStringLiteral("SIM"), device.get());
        ports = std::move(simulated);
    } else {
        ports = std::make_unique<QtSerialPortProvider>();
    }

    // A termination request during start-up (the port scan and the first waits run the event
    // loop) is kept until the window is up, then closes it like any other.
    std::unique_ptr<TfrmMain> window;
    bool terminationPending = false;
    QObject::connect(&signalWatcher, &SignalWatcher::terminationRequested, &app, [&] {
        if (window && window->isVisible()) {
            window->close();
        } else {
            terminationPending = true;
        }
    });

    TfrmMain::Options options;
    options.rememberPort = !demo;
    window = std::make_unique<TfrmMain>(clock, *ports, prompts, arguments, options);
    prompts.setParentWidget(window.get());
    window->show();
    if (terminationPending)
        window->close();
    else
        app.exec();
    window.reset();  // before the device and the ports it talks to
    return 0;
}
