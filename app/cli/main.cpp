#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream(stdout) << "usage: vuma-cli COMMAND [ARGS]\n";
    return 0;
}
