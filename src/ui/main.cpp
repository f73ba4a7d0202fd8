#include "app/sessionviewmodel.h"
#include "mainwindow/contentview.h"
#include "shell/kelvaryapp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    kelvary::ui::KelvaryApp kelvary;

    // Desktops open a document with an application by passing its path.
    QCommandLineParser arguments;
    arguments.setApplicationDescription(u"从 DiGiCo Session Report 生成录音模版"_s);
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(
        u"file"_s, u"要打开的 Kelvary 工程（.kvp）或 Session Report（.rtf/.txt）"_s, u"[file]"_s);
    arguments.process(application);

    kelvary::ui::ContentView *window = kelvary.mainWindow();
    window->show();
    if (const QStringList files = arguments.positionalArguments(); !files.isEmpty())
        window->viewModel()->openFile(QFileInfo(files.constFirst()).absoluteFilePath());
    return application.exec();
}
