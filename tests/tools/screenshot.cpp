#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "common/scriptedprompts.h"
#include <QCheckBox>

#include "chart/chartcontroller.h"
#include "link/demologs.h"
#include "link/logstreamencoder.h"
#include "logs/altitude.h"
#include "logs/lognaming.h"
#include "logs/logpalette.h"
#include "logs/logstreamdecoder.h"
#include "widgets/tcolorlistbox.h"
#include "widgets/ttabcontrol.h"
#include "link/simdevice.h"
#include "link/simulatedport.h"
#include "support/realclock.h"

// vuma-screenshot OUT.png [--page N] [--logs] [--tab N]: the main window on the simulated
// device, in a throw-away home, after a few seconds of live values; with --logs the demo
// device's logs are in the list and the first (the paraglider flight) is drawn on chart tab N.
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
    int tab = -1;
    if (const auto i = args.indexOf(QStringLiteral("--tab")); i >= 0 && i + 1 < args.size()) {
        tab = args[i + 1].toInt();
        args.remove(i, 2);
    }
    const bool withLogs = args.removeAll(QStringLiteral("--logs")) > 0;
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
    if (withLogs) {
        const LogStreamDecodeResult decoded = DecodeLogStream(EncodeLogStream(device.logs()));
        for (int i = 0; i < decoded.logs.size(); ++i) {
            TMeas log = decoded.logs[i];
            log.BaseAlt = LowestAltitude(log);
            log.ViewLast = int(log.Samples.size()) - 1;
            const bool tooShort = log.Samples.size() < 6;
            log.ChartColor = tooShort ? kEmptyLogColor : LogPalette(i);
            log.ChartType = tooShort ? 1 : 0;
            window.AddLog(log, DeviceLogName(i + 1, int(log.Samples.size())));
        }
        window.ShowCharts();
        window.cbShowAutoStops->setChecked(true);
        window.lbMessurement->setCurrentRow(tab >= 0 ? 0 : 0);
        if (tab > 0) {
            window.TabControl1->setCurrentIndex(tab);
            window.Chart().TabControl1Change(tab);
        }
    }
    QTest::qWait(3000);
    return window.grab().save(out) ? 0 : 1;
}
