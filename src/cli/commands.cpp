#include "cli/commands.h"

using namespace Qt::StringLiterals;

namespace kelvary::cli {

int usageError(CommandContext &context, const QString &command, const QString &reason,
               const QString &usage)
{
    context.err << u"kelvary-cli %1：%2\n\n"_s.arg(command, reason) << usage;
    return exitUsage;
}

void printUnreadLines(CommandContext &context, const QStringList &lines)
{
    for (const QString &line : lines)
        context.err << u"未能识别为通道："_s << line << '\n';
}

} // namespace kelvary::cli
