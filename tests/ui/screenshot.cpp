// Runs the application on a real X server (scripts/screenshot starts Xvfb) and writes PNGs of
// what a user sees: the empty window, the window with a report in light and dark, the error
// alert, the routing matrix with a painted diagonal and the About window. The settings go to a
// temporary directory.

#include "about/aboutcontentview.h"
#include "app/sessionviewmodel.h"
#include "mainwindow/contentview.h"
#include "routingmatrix/routingmatrixpaintview.h"
#include "routingmatrix/trackroutingmatrixview.h"
#include "shell/dialogfilepanels.h"
#include "shell/kelvaryapp.h"
#include "support/fakeaudiohardware.h"

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

// The matrix on a 64-input MADI interface (this machine may have none), its first eight tracks
// patched by one drag down the diagonal, in light and dark.
bool grabRoutingMatrix(kelvary::ui::Appearance &appearance, const QString &report, QSize size,
                       const QDir &output)
{
    using kelvary::ui::AppAppearanceStyle;
    auto hardware = std::make_shared<kelvary::FakeAudioHardware>();
    hardware->devices =
        QList{kelvary::FakeAudioHardware::device(u"madi"_s, u"RME MADIface USB"_s, {64}),
              kelvary::FakeAudioHardware::device(u"usb"_s, u"Focusrite Scarlett 2i2"_s, {2})};
    kelvary::ui::ContentView window(kelvary::AudioInputDeviceEnumerator(hardware),
                                    std::make_shared<kelvary::ui::DialogFilePanels>(), &appearance,
                                    [] {});
    window.resize(size);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    window.viewModel()->openFile(report);
    window.setDisplayMode(kelvary::ui::TrackListDisplayMode::routing);
    kelvary::ui::TrackRoutingMatrixView *matrix = window.trackListView()->routingMatrix();
    if (!matrix || !matrix->paintView())
        return false;
    kelvary::ui::RoutingMatrixPaintView *cells = matrix->paintView();
    QTest::mousePress(cells, Qt::LeftButton, {}, cells->cellRect(0, 0).center());
    for (int i = 1; i < 8; ++i) {
        QTest::mouseMove(cells, cells->cellRect(i - 1, i - 1).center() + QPoint(20, 20));
        QTest::mouseMove(cells, cells->cellRect(i, i).center());
    }
    QTest::mouseRelease(cells, Qt::LeftButton, {}, cells->cellRect(7, 7).center());

    bool ok = grab(&window, output.filePath(u"matrix-light.png"_s));
    appearance.setStyle(AppAppearanceStyle::dark);
    ok = grab(&window, output.filePath(u"matrix-dark.png"_s)) && ok;
    appearance.setStyle(AppAppearanceStyle::light);
    return ok;
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
    ok = grabRoutingMatrix(kelvary.appearance(), report, window->size(), output) && ok;
    // This window enumerates the machine's own interfaces, of which there may be none.
    window->setDisplayMode(kelvary::ui::TrackListDisplayMode::routing);
    ok = grab(window, output.filePath(u"matrix-system-devices.png"_s)) && ok;
    window->setDisplayMode(kelvary::ui::TrackListDisplayMode::list);
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
