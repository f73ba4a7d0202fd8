#pragma once

#include <QStringList>
#include <QTextStream>

namespace kelvary::cli {

// Exit codes shared by every subcommand.
enum ExitCode { exitSuccess = 0, exitFailure = 1, exitUsage = 2 };

// A subcommand gets its arguments (after its own name) and the two output streams.
struct CommandContext {
    QStringList arguments;
    QTextStream &out;
    QTextStream &err;
};

struct Command {
    const char *name;
    const char *synopsis; // "inspect FILE": shown in the usage text
    const char *summary;
    int (*run)(CommandContext &context);
};

int runInspect(CommandContext &context);
int runDevices(CommandContext &context);

} // namespace kelvary::cli
