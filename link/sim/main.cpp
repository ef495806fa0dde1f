#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <csignal>

#include "link/demologs.h"
#include "link/sim/ptyserver.h"
#include "link/simdevice.h"
#include "support/realclock.h"

// vuma-sim: the simulated VUMA altitude logger on a pseudo-terminal, for trying the program
// and the command line without the device.

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char c = 1;
    (void)!::write(g_signalPipe[1], &c, 1);
}

const char kUsage[] =
    "usage: vuma-sim --pty [--logs demo|none] [--trace FILE]... [--name NAME] [--seed N]\n"
    "                [--fault silent|stall|garble] [--status-every SECONDS] [--pace] [--erase-ms MS]\n"
    "\n"
    "Creates a pseudo-terminal, prints its path as the first line and serves a simulated VUMA\n"
    "device on it until interrupted. Open the printed path as the port.\n"
    "  --logs demo     a paraglider flight, a bike ride, a trek with auto stops, a short log\n"
    "                  (the default when no --trace is given)\n"
    "  --logs none     no stored logs\n"
    "  --trace FILE    add a log from a CSV of time_ms,altitude_m or an IGC file (repeatable)\n"
    "  --status-every  status lines every so many seconds (default 10, 0 = never)\n"
    "  --pace          send at the 38400-baud wire rate\n";

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);

    SimDeviceOptions options;
    options.statusEveryMs = 10000;
    bool pty = false;
    int demo = -1;  // -1: demo logs unless a trace is given
    QStringList traces;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString* v) {
            if (i + 1 >= args.size()) return false;
            *v = args[++i];
            return true;
        };
        QString v;
        bool ok = true;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            out << kUsage;
            return 0;
        } else if (a == QLatin1String("--pty")) {
            pty = true;
        } else if (a == QLatin1String("--pace")) {
            options.pace = true;
        } else if (a == QLatin1String("--logs") && value(&v)) {
            if (v == QLatin1String("demo"))
                demo = 1;
            else if (v == QLatin1String("none"))
                demo = 0;
            else
                ok = false;
        } else if (a == QLatin1String("--trace") && value(&v)) {
            traces << v;
        } else if (a == QLatin1String("--name") && value(&v)) {
            options.name = v;
        } else if (a == QLatin1String("--seed") && value(&v)) {
            options.seed = v.toUInt(&ok);
        } else if (a == QLatin1String("--fault") && value(&v)) {
            ok = ParseSimFault(v, &options.fault);
        } else if (a == QLatin1String("--status-every") && value(&v)) {
            const int s = v.toInt(&ok);
            ok = ok && s >= 0 && s <= 86400;
            options.statusEveryMs = s * 1000;
        } else if (a == QLatin1String("--erase-ms") && value(&v)) {
            options.eraseSilenceMs = v.toInt(&ok);
            ok = ok && options.eraseSilenceMs >= 0;
        } else {
            ok = false;
        }
        if (!ok) {
            err << "vuma-sim: bad argument \"" << a << "\"\n" << kUsage;
            return 2;
        }
    }
    if (!pty) {
        err << kUsage;
        return 2;
    }

    std::vector<DeviceLog> logs =
        demo == 1 || (demo < 0 && traces.isEmpty()) ? MakeDemoLogs(options.seed) : std::vector<DeviceLog>();
    for (const QString& path : traces) {
        DeviceLog log;
        QString error;
        if (!LoadTraceLog(path, &log, &error)) {
            err << "vuma-sim: " << error << "\n";
            return 2;
        }
        logs.push_back(std::move(log));
    }
    QString error;
    if (EncodeLogStream(logs, &error).isEmpty()) {
        err << "vuma-sim: the logs cannot be stored: " << error << "\n";
        return 2;
    }

    RealClock clock;
    SimDevice device(clock, options);
    device.setLogs(std::move(logs));
    PtyServer server(device);
    if (!server.open(&error)) {
        err << "vuma-sim: cannot create a pseudo-terminal: " << error << "\n";
        return 1;
    }

    if (::pipe(g_signalPipe) != 0) return 1;
    QSocketNotifier quitNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&quitNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);

    // The path is what a client waits for: it must leave the buffer now.
    out << server.slavePath() << Qt::endl;
    out.flush();
    return app.exec();
}
