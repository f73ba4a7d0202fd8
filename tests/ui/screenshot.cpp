// Runs the application on a real X server (scripts/screenshot starts Xvfb) and writes PNGs of
// what a user sees: the empty window, the window with a report in light and dark, the error
// alert and the About window. The settings go to a temporary directory.

#include "about/aboutcontentview.h"
#include "app/sessionviewmodel.h"
#include "mainwindow/contentview.h"
#include "shell/kelvaryapp.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

bool grab(QWidget *window, const QString &path)
{
    window->raise();
    window->activateWindow();
    QTest::qWait(400);
    const QPixmap shot = window->screen()->grabWindow(window->winId());
    if (shot.isNull() || !shot.save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: kelvary-screenshot REPORT OUTPUT-DIRECTORY\n");
        return 2;
    }
    const QString report = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    const QDir output(QString::fromLocal8Bit(argv[2]));
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());

    kelvary::ui::KelvaryApp kelvary;
    using kelvary::ui::AppAppearanceStyle;
    kelvary.appearance().setStyle(AppAppearanceStyle::light);
    kelvary::ui::ContentView *window = kelvary.mainWindow();
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return 1;

    bool ok = grab(window, output.filePath(u"main-empty.png"_s));
    window->viewModel()->openFile(report);
    ok = grab(window, output.filePath(u"main-light.png"_s)) && ok;
    kelvary.appearance().setStyle(AppAppearanceStyle::dark);
    ok = grab(window, output.filePath(u"main-dark.png"_s)) && ok;

    window->viewModel()->openFile(u"/tmp/Main Show.json"_s);
    if (QMessageBox *alert = window->errorAlert()) {
        ok = grab(alert, output.filePath(u"error-dark.png"_s)) && ok;
        alert->accept();
    }

    kelvary.showAbout();
    ok = QTest::qWaitForWindowExposed(kelvary.aboutWindow()) &&
         grab(kelvary.aboutWindow(), output.filePath(u"about-dark.png"_s)) && ok;
    kelvary.appearance().setStyle(AppAppearanceStyle::light);
    ok = grab(kelvary.aboutWindow(), output.filePath(u"about-light.png"_s)) && ok;
    return ok ? 0 : 1;
}
