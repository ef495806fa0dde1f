#include <QCoreApplication>
#include <QTextStream>

// The simulated VUMA device. Its device model and the pseudo-terminal server come with the
// device-link work; for now the program only answers --help.
int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    out << "vuma-sim: simulated VUMA altitude logger\n"
           "usage: vuma-sim [--pty] [--logs demo|none] [--trace FILE] [--name NAME]\n";
    return QCoreApplication::arguments().contains(QStringLiteral("--help")) ? 0 : 2;
}
