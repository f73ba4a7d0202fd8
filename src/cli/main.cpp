// kelvary-cli: the headless face of Kelvary, for scripts and touring rigs without a display.

#include "cli/commands.h"

#include <QCoreApplication>

#include <array>
#include <cstdio>

using namespace kelvary::cli;

namespace {

constexpr std::array commands{
    Command{"inspect", "inspect FILE", "Parse a Session Report and print it as JSON", runInspect},
    Command{"devices", "devices [--json]", "List the audio inputs tracks can be assigned to",
            runDevices},
};

void printUsage(QTextStream &stream)
{
    stream << "Usage: kelvary-cli COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const Command &command : commands)
        stream << "  " << QString::fromLatin1(command.synopsis).leftJustified(22) << ' '
               << command.summary << '\n';
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvary-cli"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments().mid(1);

    if (arguments.isEmpty()) {
        printUsage(err);
        return exitUsage;
    }
    const QString name = arguments.takeFirst();
    if (name == u"--help" || name == u"-h" || name == u"help") {
        printUsage(out);
        return exitSuccess;
    }
    for (const Command &command : commands) {
        if (name == QLatin1String(command.name)) {
            CommandContext context{arguments, out, err};
            return command.run(context);
        }
    }
    err << "kelvary-cli: unknown command '" << name << "'\n\n";
    printUsage(err);
    return exitUsage;
}
