#include "cli/commands.h"

using namespace Qt::StringLiterals;

namespace kelvary::cli {

int usageError(CommandContext &context, const QString &command, const QString &reason)
{
    // One line that says what is wrong; the whole help would bury it.
    context.err << u"kelvary-cli %1：%2\n详见 kelvary-cli %1 --help\n"_s.arg(command, reason);
    return exitUsage;
}

void printUnreadLines(CommandContext &context, const QStringList &lines)
{
    for (const QString &line : lines)
        context.err << u"未能识别为通道："_s << line << '\n';
}

} // namespace kelvary::cli
