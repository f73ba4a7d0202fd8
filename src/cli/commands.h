#pragma once

#include <QString>
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
    const char *synopsis; // "inspect FILE": shown in the tool's help
    const char *summary;  // UTF-8
    QString (*usage)();   // the subcommand's own help
    int (*run)(CommandContext &context);
};

// A wrong command line: the reason and where the help is, on standard error.
int usageError(CommandContext &context, const QString &command, const QString &reason);

// Each line of a report that was not read as a channel, on standard error.
void printUnreadLines(CommandContext &context, const QStringList &lines);

QString inspectUsage();
QString convertUsage();
QString devicesUsage();

int runInspect(CommandContext &context);
int runConvert(CommandContext &context);
int runDevices(CommandContext &context);

} // namespace kelvary::cli
