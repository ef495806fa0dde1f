#pragma once

#include <QList>
#include <QStringList>

/// Exit codes of vuma-cli.
constexpr int kExitOk = 0;
constexpr int kExitFileOrUsage = 2;
constexpr int kExitNoAnswer = 3;
constexpr int kExitNoLogs = 4;

/// One vuma-cli command. Each command file registers its commands with VUMA_CLI_COMMAND.
struct CliCommand {
    const char* name;
    const char* usage;    // one line, shown by --help
    int (*run)(const QStringList& args);  // arguments after the command name
};

class CliRegistry {
public:
    static bool add(const CliCommand& command);
    static const QList<CliCommand>& all();
};

#define VUMA_CLI_CONCAT2(a, b) a##b
#define VUMA_CLI_CONCAT(a, b) VUMA_CLI_CONCAT2(a, b)
#define VUMA_CLI_COMMAND(name, usage, fn) \
    static const bool VUMA_CLI_CONCAT(kRegistered_, __LINE__) = CliRegistry::add(CliCommand{name, usage, fn})
