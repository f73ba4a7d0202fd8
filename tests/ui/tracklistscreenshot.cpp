// Pictures the track table and the type bar with a sample session, for a look by eye:
//   tracklist-screenshot <report> <output directory>
// Runs on any platform plugin; under "offscreen" the pictures are painted without a screen.

#include "app/sessionviewmodel.h"
#include "support/fakeaudiohardware.h"
#include "tracklist/trackcelldelegate.h"
#include "tracklist/tracklistmodel.h"
#include "tracklist/tracklistview.h"
#include "tracklist/tracktableview.h"
#include "typebar/channeltypequickpickbar.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QTextStream>

using namespace Qt::StringLiterals;
using namespace kelvary;
using namespace kelvary::ui;

namespace {

class NoPanels final : public FilePanels {
public:
    std::optional<QString> chooseFileToOpen(const OpenPanelRequest &) override { return {}; }
    std::optional<QString> chooseSaveLocation(const SavePanelRequest &) override { return {}; }
};

QUuid idOf(const SessionViewModel &vm, const QString &label)
{
    for (const TrackChannel &track : vm.tracks()) {
        if (track.channelLabel == label)
            return track.id;
    }
    return {};
}

bool save(const QImage &image, const QDir &output, const QString &name)
{
    const QString path = output.filePath(name);
    if (!image.save(path)) {
        QTextStream(stderr) << "cannot write " << path << '\n';
        return false;
    }
    QTextStream(stdout) << path << '\n';
    return true;
}

bool save(QWidget &widget, const QDir &output, const QString &name)
{
    // Layouts settle in posted events; the picture is taken once they have.
    QApplication::processEvents();
    return save(widget.grab().toImage(), output, name);
}

// A menu as it shows over the table: the table's picture with the menu painted at its place.
QImage withMenu(TrackTableView &table, QWidget &window, const QModelIndex &index)
{
    QMenu menu(&table);
    table.populateMenu(menu, index);
    QMenu *submenu = nullptr;
    for (QAction *action : menu.actions()) {
        if (action->menu())
            submenu = action->menu();
    }
    menu.ensurePolished();
    menu.adjustSize();
    const QRect control =
        TrackCellDelegate::controlRect(index.column(), table.visualRect(index), &table);
    const QPoint at = table.viewport()->mapTo(&window, control.bottomLeft());

    QApplication::processEvents();
    QImage image = window.grab().toImage();
    QPainter painter(&image);
    painter.drawImage(at, menu.grab().toImage());
    if (submenu) {
        submenu->ensurePolished();
        submenu->adjustSize();
        QAction *opener = menu.menuAction();
        for (QAction *action : menu.actions()) {
            if (action->menu() == submenu)
                opener = action;
        }
        menu.setActiveAction(opener);
        painter.drawImage(at, menu.grab().toImage());
        const QRect item = menu.actionGeometry(opener);
        // Where there is no room on the right, the submenu opens to the left, as on screen.
        const QImage opened = submenu->grab().toImage();
        QPoint place = at + QPoint(menu.width() - 4, item.top());
        if (place.x() + opened.width() > image.width())
            place.setX(at.x() - opened.width() + 4);
        painter.drawImage(place, opened);
    }
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3) {
        QTextStream(stderr) << "usage: tracklist-screenshot <report> <output directory>\n";
        return 2;
    }
    QDir output(arguments.at(2));
    if (!output.mkpath(u"."_s)) {
        QTextStream(stderr) << "cannot create " << arguments.at(2) << '\n';
        return 1;
    }

    auto hardware = std::make_shared<FakeAudioHardware>();
    hardware->devices = QList<FakeAudioHardware::Device>{
        FakeAudioHardware::device(u"madi"_s, u"RME MADIface USB"_s, {16}),
        FakeAudioHardware::device(u"usb"_s, u"Focusrite Scarlett 2i2"_s, {2}),
    };
    SessionViewModel vm(AudioInputDeviceEnumerator(hardware), std::make_shared<NoPanels>());

    bool ok = true;
    QWidget barWindow;
    auto *bar = new ChannelTypeQuickPickBar(&vm, Qt::Vertical, false, &barWindow);
    barWindow.resize(260, 330);
    bar->setGeometry(10, 10, 240, 310);
    barWindow.show();
    ok &= save(barWindow, output, u"typebar-disabled.png"_s);

    TrackListView view(&vm);
    view.resize(1160, 520);
    view.show();
    ok &= save(view, output, u"tracklist-empty.png"_s);

    vm.importSessionReportAt(arguments.at(1));
    if (vm.errorMessage()) {
        QTextStream(stderr) << *vm.errorMessage() << '\n';
        return 1;
    }
    // A session in the middle of a sound check: some inputs assigned, one excluded, a
    // renamed track, three rows selected.
    vm.setSelectedTrackIDs(
        {idOf(vm, u"1"_s), idOf(vm, u"2"_s), idOf(vm, u"3"_s), idOf(vm, u"4"_s)});
    vm.assignSelectedToDevice(u"madi"_s);
    vm.setIncluded(false, idOf(vm, u"8"_s));
    vm.renameTrack(u"Bass Synth (backup)"_s, idOf(vm, u"8"_s));
    vm.setTrackColor({0.95, 0.6, 0.2, 1.0}, idOf(vm, u"12"_s));
    vm.setSelectedTrackIDs({idOf(vm, u"3"_s), idOf(vm, u"4"_s), idOf(vm, u"5s"_s)});
    ok &= save(view, output, u"tracklist-selection.png"_s);

    TrackTableView &table = *view.table();
    TrackListModel &model = *table.trackModel();
    const QModelIndex channel =
        model.index(model.rowOf(idOf(vm, u"4"_s)), TrackListModel::AudioChannelColumn);
    ok &= save(withMenu(table, view, channel), output, u"tracklist-channel-menu.png"_s);

    // The type bar's three states at once: inputs partly included, aux wholly, groups not at
    // all; matrix and other show how an empty type looks.
    vm.setTracksIncluded(true, DigicoChannelType::aux);
    ok &= save(barWindow, output, u"typebar-states.png"_s);

    QWidget stripWindow;
    auto *strip = new ChannelTypeQuickPickBar(&vm, Qt::Horizontal, true, &stripWindow);
    strip->adjustSize();
    stripWindow.resize(strip->sizeHint() + QSize(20, 20));
    strip->move(10, 10);
    stripWindow.show();
    ok &= save(stripWindow, output, u"typebar-compact.png"_s);
    return ok ? 0 : 1;
}
