#include "app/commandlinehelp.h"
#include "app/sessionviewmodel.h"
#include "mainwindow/contentview.h"
#include "shell/kelvaryapp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

QString usage()
{
    return u"用法：kelvary [文件]\n"
           "      kelvary --help | --version\n"
           "\n"
           "从调音台的通道列表生成录音模版：打开 Kelvary 的窗口，给出文件时先打开它。\n"
           "\n"
           "参数：\n"_s +
           kelvary::helpTable({
               {u"文件"_s,
                u"要打开的 Kelvary 工程（.kvp）或调音台文件（DiGiCo Session Report .rtf/.txt、\n"
                "X32/M32 场景 .scn、WING 快照 .snap、CSV/TSV 通道表）"_s},
           }) +
           u"\n选项：\n"_s +
           kelvary::helpTable({
               {u"-h, --help"_s, u"显示本说明"_s},
               {u"-V, --version"_s, u"显示版本"_s},
           }) +
           u"\n没有显示器时可用 kelvary-cli 完成同样的转换。\n"_s;
}

// --help and --version answer before any window system is reached, so that they work over ssh
// and on a build machine without a display.
std::optional<int> answerInformationOption(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        if (argument == "--")
            break;
        if (argument == "--help" || argument == "-h") {
            QTextStream(stdout) << usage();
            return 0;
        }
        if (argument == "--version" || argument == "-V") {
            QTextStream(stdout) << kelvary::versionText(u"kelvary"_s);
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv)
{
    if (const std::optional<int> exitCode = answerInformationOption(argc, argv))
        return *exitCode;

    QApplication application(argc, argv);
    kelvary::ui::KelvaryApp kelvary;

    // Desktops open a document with an application by passing its path.
    QCommandLineParser arguments;
    arguments.addPositionalArgument(u"file"_s, QString(), u"[file]"_s);
    arguments.process(application);

    kelvary::ui::ContentView *window = kelvary.mainWindow();
    window->show();
    if (const QStringList files = arguments.positionalArguments(); !files.isEmpty())
        window->viewModel()->openFile(QFileInfo(files.constFirst()).absoluteFilePath());
    return application.exec();
}
