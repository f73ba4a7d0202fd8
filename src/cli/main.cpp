// kelvary-cli: the headless face of Kelvary, for scripts and touring rigs without a display.

#include "app/commandlinehelp.h"
#include "cli/commands.h"

#include <QGuiApplication>

#include <array>

using namespace Qt::StringLiterals;
using namespace kelvary;
using namespace kelvary::cli;

namespace {

constexpr std::array commands{
    Command{"inspect", "inspect FILE", "打开报告或工程，打印此刻会保存的工程文件（JSON）",
            inspectUsage, runInspect},
    Command{"convert", "convert FILE [选项]",
            "由报告或工程写出 Reaper 模版、Ardour 会话、PDF 通道表和工程文件", convertUsage,
            runConvert},
    Command{"devices", "devices [--json] [FILE]", "列出可分配给轨道的音频输入", devicesUsage,
            runDevices},
};

void printUsage(QTextStream &stream)
{
    QList<HelpRow> rows;
    for (const Command &command : commands)
        rows.append({QString::fromUtf8(command.synopsis), QString::fromUtf8(command.summary)});
    stream << u"用法：kelvary-cli 命令 [参数]\n"
              "      kelvary-cli --help | --version\n"
              "\n"
              "从调音台的通道列表（DiGiCo Session Report、X32/M32 场景、WING 快照、CSV/TSV "
              "通道表）生成录音模版，不需要显示器。\n"
              "\n"
              "命令：\n"_s
           << helpTable(rows) << u"\n选项：\n"_s
           << helpTable({{u"-h, --help"_s, u"显示本说明"_s}, {u"-V, --version"_s, u"显示版本"_s}})
           << u"\n“kelvary-cli 命令 --help”显示该命令的说明。\n"_s;
}

// Standard error carries the tool's own messages only; Qt's notes about the environment (such as
// a missing XDG_RUNTIME_DIR on a headless machine) would read as failures to a script.
void keepSeriousMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        QTextStream(stderr) << message << '\n';
}

bool isHelp(const QStringList &arguments)
{
    return arguments.size() == 1 && (arguments.front() == u"--help" || arguments.front() == u"-h");
}

} // namespace

int main(int argc, char *argv[])
{
    // The PDF sheet measures and draws text, which needs a GUI application; the command line
    // never shows a window, so it needs no display either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(keepSeriousMessages);
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"kelvary-cli"_s);

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
    if (name == u"--version" || name == u"-V") {
        out << versionText(u"kelvary-cli"_s);
        return exitSuccess;
    }
    for (const Command &command : commands) {
        if (name != QLatin1String(command.name))
            continue;
        if (isHelp(arguments)) {
            out << command.usage();
            return exitSuccess;
        }
        CommandContext context{arguments, out, err};
        return command.run(context);
    }
    err << u"kelvary-cli：未知命令“%1”\n\n"_s.arg(name);
    printUsage(err);
    return exitUsage;
}
