#include <QCoreApplication>
#include <QTextStream>

#include "app/cli/clicommand.h"

bool CliRegistry::add(const CliCommand& command) {
    const_cast<QList<CliCommand>&>(all()).append(command);
    return true;
}

const QList<CliCommand>& CliRegistry::all() {
    static QList<CliCommand> commands;
    return commands;
}

namespace {
void printHelp(QTextStream& out) {
    out << "usage: vuma-cli COMMAND [ARGUMENTS]\n\n"
           "The VUMA altitude logger from the command line. Commands:\n";
    for (const CliCommand& c : CliRegistry::all()) out << "  " << c.usage << "\n";
    out << "\nExit status: 0 success, 2 file or usage error, 3 the device did not answer.\n";
}
}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vuma"));
    QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h") ||
        args.first() == QLatin1String("help")) {
        printHelp(out);
        return args.isEmpty() ? kExitFileOrUsage : kExitOk;
    }
    const QString name = args.takeFirst();
    for (const CliCommand& c : CliRegistry::all()) {
        if (name == QLatin1String(c.name)) return c.run(args);
    }
    err << "vuma-cli: unknown command \"" << name << "\"; see vuma-cli --help\n";
    return kExitFileOrUsage;
}
