#include "cli/commandlinepanels.h"
#include "cli/sessioncommands.h"

#include "app/commandlinehelp.h"
#include "app/sessionviewmodel.h"
#include "audio/audioinputdeviceenumerator.h"

#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kelvary::cli {

QString inspectUsage()
{
    return u"用法：kelvary-cli inspect FILE\n"
           "\n"
           "像 Kelvary 一样打开 FILE：调音台文件按导入规则读入，只包含输入通道（场景和快照中"
           "只包含有名称的）；Kelvary 工程（.kvp）按原样打开。两者都按本机当前的音频输入设备核对"
           "输入分配，然后把此刻保存会得到的工程文件（JSON）打印到标准输出；"
           "报告中未能识别为通道的行打印到标准错误。\n"
           "\n"
           "调音台文件按内容识别：DiGiCo Session Report（.rtf/.txt）、Behringer X32 / Midas M32 "
           "场景（.scn）、Behringer WING 快照（.snap）、电子表格存成的通道表（.csv/.tsv，"
           "标题行含 label 与 name 列）。\n"
           "\n"
           "选项：\n"_s +
           helpTable({{u"-h, --help"_s, u"显示本说明"_s}}) +
           u"\n"
           "退出码：0 成功，1 文件无法读取或内容无效，2 命令行有误。\n"_s;
}

int runInspect(CommandContext &context)
{
    return runInspect(context, AudioInputDeviceEnumerator());
}

int runInspect(CommandContext &context, const AudioInputDeviceEnumerator &enumerator)
{
    const QStringList &arguments = context.arguments;
    // An option is named before a second FILE is counted: "FILE --json" is a wrong option.
    const auto option =
        std::find_if(arguments.cbegin(), arguments.cend(),
                     [](const QString &argument) { return argument.startsWith(u'-'); });
    if (option != arguments.cend())
        return usageError(context, u"inspect"_s, u"未知选项：%1"_s.arg(*option));
    if (arguments.size() != 1) {
        return usageError(context, u"inspect"_s,
                          arguments.isEmpty() ? u"缺少 FILE。"_s : u"只能给出一个 FILE。"_s);
    }

    SessionViewModel model(enumerator, std::make_shared<CommandLinePanels>());
    model.openFile(QFileInfo(arguments.front()).absoluteFilePath());
    if (model.errorMessage()) {
        context.err << *model.errorMessage() << '\n';
        return exitFailure;
    }
    printUnreadLines(context, model.unreadReportLines());
    context.out << QString::fromUtf8(model.makeProjectData());
    return exitSuccess;
}

} // namespace kelvary::cli
