#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "common/scriptedprompts.h"
#include "link/demologs.h"
#include "link/simdevice.h"
#include "link/simulatedport.h"
#include "support/realclock.h"

// vuma-screenshot OUT.png [--page N]: the main window on the simulated device, in a throw-away
// home, after a few seconds of live values.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/config"));
    qputenv("TMPDIR", QFile::encodeName(home.path()));
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments().mid(1);
    int page = 0;
    if (const auto i = args.indexOf(QStringLiteral("--page")); i >= 0 && i + 1 < args.size()) {
        page = args[i + 1].toInt();
        args.remove(i, 2);
    }
    const QString out = args.value(0, QStringLiteral("screenshot.png"));

    RealClock clock;
    SimDeviceOptions options;
    options.name = QStringLiteral("VUMA demo");
    SimDevice device(clock, options);
    device.setLogs(MakeDemoLogs(options.seed));
    SimulatedPortProvider ports(clock);
    ports.addPeer(QStringLiteral("SIM"), &device);
    ScriptedPrompts prompts;
    TfrmMain window(clock, ports, prompts, {}, TfrmMain::Options{false});
    window.resize(1100, 720);
    window.show();
    window.PageControl1->setCurrentIndex(page);
    QTest::qWait(3000);
    return window.grab().save(out) ? 0 : 1;
}
