#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "common/scriptedprompts.h"
#include "link/simulatedport.h"
#include "support/realclock.h"

// vuma-screenshot OUT.png: the main window as a new user first sees it, in a throw-away home.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/config"));
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshot.png");

    RealClock clock;
    SimulatedPortProvider ports(clock);
    ScriptedPrompts prompts;
    TfrmMain window(clock, ports, prompts, {});
    window.resize(1100, 720);
    window.show();
    QTest::qWait(200);
    return window.grab().save(out) ? 0 : 1;
}
