// Runs the application on a real X server (scripts/screenshot starts Xvfb) and writes PNGs of
// every view a user sees, in a 1600x1000 and a 1024x640 window, light and dark: one folder per
// size and appearance ("1024x640-dark"). The settings go to a temporary directory.

#include "about/aboutcontentview.h"
#include "app/sessionviewmodel.h"
#include "devices/planneddevicedialogs.h"
#include "mainwindow/contentview.h"
#include "mainwindow/exportformatpicker.h"
#include "mainwindow/sessionreportupdatedialog.h"
#include "routingmatrix/routingmatrixpaintview.h"
#include "routingmatrix/trackroutingmatrixview.h"
#include "shell/dialogfilepanels.h"
#include "shell/kelvaryapp.h"
#include "support/fakeaudiohardware.h"
#include "tracklist/trackcelldelegate.h"
#include "tracklist/tracklistmodel.h"
#include "tracklist/tracklistview.h"
#include "tracklist/tracktableview.h"
#include "typebar/channeltypequickpickbar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

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

// A widget painted whole, also where a scroll area shows only part of it.
bool grabWidget(QWidget *widget, const QString &path)
{
    QTest::qWait(200);
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// The part of the screen a widget covers, with whatever popup lies over it.
bool grabArea(QWidget *widget, const QRect &area, const QString &path)
{
    QTest::qWait(400);
    const QRect onScreen(widget->mapToGlobal(area.topLeft()), area.size());
    const QPixmap shot = widget->screen()->grabWindow(0, onScreen.x(), onScreen.y(),
                                                      onScreen.width(), onScreen.height());
    if (shot.isNull() || !shot.save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

QUuid idOf(const kelvary::SessionViewModel &viewModel, const QString &label)
{
    for (const kelvary::TrackChannel &track : viewModel.tracks()) {
        if (track.channelLabel == label)
            return track.id;
    }
    return {};
}

// The middle of a sound check: four inputs on the first interface, one excluded and renamed,
// one recoloured, three rows selected; inputs partly included, aux wholly, groups not at all.
void shapeSession(kelvary::SessionViewModel &viewModel)
{
    using kelvary::DigicoChannelType;
    const QList<kelvary::AudioInputDevice> &devices = viewModel.audioInputCatalog().devices();
    viewModel.setSelectedTrackIDs({idOf(viewModel, u"1"_s), idOf(viewModel, u"2"_s),
                                   idOf(viewModel, u"3"_s), idOf(viewModel, u"4"_s)});
    if (!devices.isEmpty())
        viewModel.assignSelectedToDevice(devices.first().id);
    viewModel.setIncluded(false, idOf(viewModel, u"8"_s));
    viewModel.renameTrack(u"Bass Synth (backup)"_s, idOf(viewModel, u"8"_s));
    viewModel.setTrackColor({0.95, 0.6, 0.2, 1.0}, idOf(viewModel, u"12"_s));
    viewModel.setTracksIncluded(true, DigicoChannelType::aux);
    viewModel.setSelectedTrackIDs(
        {idOf(viewModel, u"3"_s), idOf(viewModel, u"4"_s), idOf(viewModel, u"5s"_s)});
}

// The channel menu of a selected row, with its sequential submenu open.
bool grabChannelMenu(kelvary::ui::ContentView *window, const QString &path)
{
    using kelvary::ui::TrackListModel;
    kelvary::ui::TrackTableView *table = window->trackListView()->table();
    const TrackListModel &model = *table->trackModel();
    const QModelIndex cell = model.index(model.rowOf(idOf(*window->viewModel(), u"4"_s)),
                                         TrackListModel::AudioChannelColumn);
    QMenu menu(table);
    table->populateMenu(menu, cell);
    const QRect control =
        kelvary::ui::TrackCellDelegate::controlRect(cell.column(), table->visualRect(cell));
    menu.popup(table->viewport()->mapToGlobal(control.bottomLeft()));
    QTest::qWait(200);
    for (QAction *action : menu.actions()) {
        if (action->menu()) {
            menu.setActiveAction(action);
            action->menu()->popup(menu.mapToGlobal(menu.actionGeometry(action).topRight()));
        }
    }
    // The submenu opens beyond the window's right edge.
    const bool ok = grabArea(window, window->rect().adjusted(0, 0, 240, 0), path);
    menu.close();
    return ok;
}

// The routing matrix with its first `count` tracks patched by one drag down the diagonal, the
// pointer wandering off the line between the cells as a hand does.
bool paintDiagonal(kelvary::ui::ContentView &window, int count)
{
    window.setDisplayMode(kelvary::ui::TrackListDisplayMode::routing);
    kelvary::ui::TrackRoutingMatrixView *matrix = window.trackListView()->routingMatrix();
    if (!matrix || !matrix->paintView())
        return false;
    kelvary::ui::RoutingMatrixPaintView *cells = matrix->paintView();
    QTest::mousePress(cells, Qt::LeftButton, {}, cells->cellRect(0, 0).center());
    for (int i = 1; i < count; ++i) {
        QTest::mouseMove(cells, cells->cellRect(i - 1, i - 1).center() + QPoint(20, 20));
        QTest::mouseMove(cells, cells->cellRect(i, i).center());
    }
    QTest::mouseRelease(cells, Qt::LeftButton, {}, cells->cellRect(count - 1, count - 1).center());
    return true;
}

// A window of its own on the given interfaces (none: the machine has none attached), the size
// of the pass, the report open unless `report` is empty.
std::unique_ptr<kelvary::ui::ContentView>
openWindow(kelvary::ui::Appearance &appearance, QList<kelvary::FakeAudioHardware::Device> devices,
           const QString &report, QSize size)
{
    auto hardware = std::make_shared<kelvary::FakeAudioHardware>();
    hardware->devices = std::move(devices);
    auto window = std::make_unique<kelvary::ui::ContentView>(
        kelvary::AudioInputDeviceEnumerator(hardware),
        std::make_shared<kelvary::ui::DialogFilePanels>(), &appearance, [] {});
    window->resize(size);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    if (!report.isEmpty())
        window->viewModel()->openFile(report);
    return window;
}

// The matrix on a 48-input MADI interface, its first eight tracks patched by one drag down the
// diagonal; then scrolled to its far corner, where names and input labels must stay in view.
bool grabRoutingMatrix(kelvary::ui::Appearance &appearance, const QString &report, QSize size,
                       const QDir &output)
{
    const auto window =
        openWindow(appearance,
                   {kelvary::FakeAudioHardware::device(u"madi"_s, u"DiGiCo UB MADI"_s, {48}),
                    kelvary::FakeAudioHardware::device(u"usb"_s, u"Focusrite Scarlett 2i2"_s, {2})},
                   report, size);
    if (!window || !paintDiagonal(*window, 8))
        return false;
    bool ok = grab(window.get(), output.filePath(u"matrix.png"_s));
    QScrollArea *scrollArea = window->trackListView()->routingMatrix()->scrollArea();
    scrollArea->horizontalScrollBar()->setValue(scrollArea->horizontalScrollBar()->maximum());
    scrollArea->verticalScrollBar()->setValue(scrollArea->verticalScrollBar()->maximum());
    return grab(window.get(), output.filePath(u"matrix-scrolled.png"_s)) && ok;
}

// The night before the show: no interface attached, a planned 32-input rack described in its
// dialog, the matrix painted on it and the list of planned interfaces.
bool grabPlannedDevice(kelvary::ui::Appearance &appearance, const QString &report, QSize size,
                       const QDir &output)
{
    const auto window = openWindow(appearance, {}, report, size);
    if (!window)
        return false;
    bool ok = grab(window.get(), output.filePath(u"main-no-device.png"_s));
    window->setDisplayMode(kelvary::ui::TrackListDisplayMode::routing);
    ok = grab(window.get(), output.filePath(u"matrix-no-device.png"_s)) && ok;
    window->setDisplayMode(kelvary::ui::TrackListDisplayMode::list);

    kelvary::ui::PlannedDeviceDialog dialog(window->viewModel(), window.get());
    dialog.nameEdit()->setText(u"Stage Rack"_s);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        return false;
    ok = grab(&dialog, output.filePath(u"planned-device-dialog.png"_s)) && ok;
    dialog.accept();

    ok = paintDiagonal(*window, 10) &&
         grab(window.get(), output.filePath(u"matrix-planned-device.png"_s)) && ok;
    kelvary::ui::PlannedDevicesDialog devices(window->viewModel(),
                                              kelvary::ui::confirmWithMessageBox, window.get());
    devices.show();
    return QTest::qWaitForWindowExposed(&devices) &&
           grab(&devices, output.filePath(u"planned-devices.png"_s)) && ok;
}

// The changes of a revised report as the engineer is asked to take them.
bool grabReportUpdate(kelvary::ui::ContentView &window, const QString &report, const QDir &output)
{
    QFile original(report);
    const QTemporaryDir folder;
    QFile revised(folder.filePath(u"main-show-rehearsal.txt"_s));
    if (!original.open(QIODevice::ReadOnly) || !revised.open(QIODevice::WriteOnly))
        return false;
    QByteArray text = original.readAll();
    text.replace("2\tKick Out\tRack 1 Mic 2", "2\tKick Sub\tRack 1 Mic 12")
        .replace("4\tSnare Bot\tRack 1 Mic 4", "4\tSnare Bot\tRack 1 Mic 6")
        .replace("8\tBassline Synth\tLocal 1\t\t\t\t\r\n", "")
        .replace("12\tGtr\\Amp", "13\tAcoustic Gtr\tMADI 13\t\t\t\t\r\n12\tGtr\\Amp");
    revised.write(text);
    revised.close();
    const std::optional<kelvary::SessionReportUpdate> update =
        window.viewModel()->previewSessionReportUpdate(revised.fileName());
    if (!update)
        return false;
    kelvary::ui::SessionReportUpdateDialog dialog(*update, true, u"main-show-rehearsal.txt"_s,
                                                  &window);
    dialog.show();
    return QTest::qWaitForWindowExposed(&dialog) &&
           grab(&dialog, output.filePath(u"report-update-dialog.png"_s));
}

} // namespace

// Every view in one size and one appearance, into `output`: the empty window, a report with no
// interface attached, the export menu, the table at work with its channel menu, the type bar in
// its states, the revised-report dialog, the matrix, the planned interfaces, an error and About.
bool grabViews(kelvary::ui::KelvaryApp &kelvary, const QString &report, QSize size,
               const QDir &output)
{
    kelvary::ui::Appearance &appearance = kelvary.appearance();
    bool ok = true;
    {
        const auto window = openWindow(appearance, {}, QString(), size);
        if (!window)
            return false;
        ok = grab(window.get(), output.filePath(u"main-empty.png"_s)) && ok;
        auto *typeBar = window->findChild<kelvary::ui::ChannelTypeQuickPickBar *>();
        ok = grabWidget(typeBar, output.filePath(u"typebar-disabled.png"_s)) && ok;
        window->viewModel()->openFile(report);
        auto *exportMenu = window->findChild<kelvary::ui::ExportFormatPicker *>();
        exportMenu->showPopup();
        exportMenu->view()->setCurrentIndex(exportMenu->model()->index(1, 0));
        ok = grabArea(window.get(), window->rect(), output.filePath(u"export-menu.png"_s)) && ok;
        exportMenu->hidePopup();

        window->viewModel()->openFile(u"/tmp/Main Show.json"_s);
        if (QMessageBox *alert = window->errorAlert()) {
            ok = grab(alert, output.filePath(u"error.png"_s)) && ok;
            alert->accept();
        }
    }
    {
        const auto window = openWindow(
            appearance,
            {kelvary::FakeAudioHardware::device(u"madi"_s, u"RME MADIface USB"_s, {16}),
             kelvary::FakeAudioHardware::device(u"usb"_s, u"Focusrite Scarlett 2i2"_s, {2})},
            report, size);
        if (!window)
            return false;
        shapeSession(*window->viewModel());
        window->trackListView()->table()->setFocus();
        ok = grab(window.get(), output.filePath(u"main.png"_s)) && ok;
        ok = grabChannelMenu(window.get(), output.filePath(u"tracklist-channel-menu.png"_s)) && ok;
        auto *bar = window->findChild<kelvary::ui::ChannelTypeQuickPickBar *>();
        ok = grabWidget(bar, output.filePath(u"typebar-states.png"_s)) && ok;
        ok = grabReportUpdate(*window, report, output) && ok;
    }
    ok = grabRoutingMatrix(appearance, report, size, output) && ok;
    ok = grabPlannedDevice(appearance, report, size, output) && ok;

    kelvary.showAbout();
    ok = QTest::qWaitForWindowExposed(kelvary.aboutWindow()) &&
         grab(kelvary.aboutWindow(), output.filePath(u"about.png"_s)) && ok;
    kelvary.aboutWindow()->close();
    return ok;
}

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

    using kelvary::ui::AppAppearanceStyle;
    kelvary::ui::KelvaryApp kelvary;
    bool ok = true;
    for (const QSize size : {QSize(1600, 1000), QSize(1024, 640)}) {
        for (const AppAppearanceStyle style :
             {AppAppearanceStyle::light, AppAppearanceStyle::dark}) {
            const QString pass = u"%1x%2-%3"_s.arg(size.width())
                                     .arg(size.height())
                                     .arg(kelvary::ui::appearanceStyleText(style));
            if (!output.mkpath(pass)) {
                std::fprintf(stderr, "could not make %s\n", qPrintable(output.filePath(pass)));
                return 1;
            }
            kelvary.appearance().setStyle(style);
            ok = grabViews(kelvary, report, size, QDir(output.filePath(pass))) && ok;
        }
    }
    return ok ? 0 : 1;
}
