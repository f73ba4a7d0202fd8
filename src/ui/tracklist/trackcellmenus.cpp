#include "tracklist/trackcellmenus.h"

#include "app/sessionviewmodel.h"
#include "tracklist/tracklistmodel.h"

#include <QMenu>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

namespace {

// The row's current value carries a check mark, so the menu also tells what is chosen now. Only
// that item is checkable: the others would show empty boxes.
QAction *addChoice(QMenu &menu, const QString &title, bool current)
{
    QAction *action = menu.addAction(title);
    action->setCheckable(current);
    action->setChecked(current);
    return action;
}

void addSequentialSubmenu(QMenu &menu, SessionViewModel &viewModel, const TrackChannel &track)
{
    const TrackList selected = viewModel.selectedTracks();
    const qsizetype count = selected.size();
    auto submenu = std::make_unique<QMenu>(u"按顺序分配（%1 条）"_s.arg(count));
    const std::optional<QString> device = viewModel.sharedAssignedDeviceUID()
                                              ? viewModel.sharedAssignedDeviceUID()
                                              : track.audioInputDeviceUID;
    if (device) {
        const QString deviceUID = *device;
        for (const SequentialStartOption &option :
             viewModel.sequentialStartOptions(deviceUID, selected)) {
            QObject::connect(submenu->addAction(option.label), &QAction::triggered, &viewModel,
                             [&viewModel, deviceUID, start = option.startIndex] {
                                 viewModel.assignSequentially(deviceUID, start);
                             });
        }
    } else {
        for (const AudioInputDevice &candidate : viewModel.audioInputCatalog().devices()) {
            const QList<SequentialStartOption> options =
                viewModel.sequentialStartOptions(candidate.id, selected);
            if (options.isEmpty())
                continue;
            QAction *action = submenu->addAction(
                u"%1 · %2"_s.arg(deviceDisplayName(candidate), options.first().label));
            QObject::connect(action, &QAction::triggered, &viewModel,
                             [&viewModel, deviceUID = candidate.id] {
                                 viewModel.assignSelectedToDevice(deviceUID);
                             });
        }
    }
    // A submenu without a choice would only be a dead end.
    if (submenu->isEmpty())
        return;
    menu.addSeparator();
    QMenu *owned = submenu.release();
    owned->setParent(&menu, owned->windowFlags());
    menu.addMenu(owned);
}

} // namespace

void populateAudioDeviceMenu(QMenu &menu, TrackListModel &model, const QModelIndex &index)
{
    const QPersistentModelIndex cell = index.siblingAtColumn(TrackListModel::AudioDeviceColumn);
    const QVariant current = cell.data(Qt::EditRole);
    QObject::connect(addChoice(menu, u"未设置"_s, current.isNull()), &QAction::triggered, &model,
                     [&model, cell] { model.setData(cell, QVariant()); });

    const QList<AudioInputDevice> &devices = model.viewModel()->audioInputCatalog().devices();
    if (devices.isEmpty())
        return;
    menu.addSeparator();
    for (const AudioInputDevice &device : devices) {
        QAction *action =
            addChoice(menu, deviceDisplayName(device), current.toString() == device.id);
        QObject::connect(action, &QAction::triggered, &model,
                         [&model, cell, id = device.id] { model.setData(cell, id); });
    }
}

void populateAudioChannelMenu(QMenu &menu, TrackListModel &model, const QModelIndex &index)
{
    const QPersistentModelIndex cell = index.siblingAtColumn(TrackListModel::AudioChannelColumn);
    SessionViewModel &viewModel = *model.viewModel();
    const TrackChannel *shown = model.track(cell.row());
    if (!shown)
        return;
    // Copied: choosing an item replaces the list the pointer points into.
    const TrackChannel track = *shown;

    const QVariant current = cell.data(Qt::EditRole);
    QObject::connect(addChoice(menu, u"未设置"_s, current.isNull()), &QAction::triggered, &model,
                     [&model, cell] { model.setData(cell, QVariant()); });

    if (viewModel.editTargetIDs(track.id).size() >= 2)
        addSequentialSubmenu(menu, viewModel, track);

    const QList<AudioInputChannel> channels =
        track.audioInputDeviceUID
            ? viewModel.audioInputCatalog().channelsByDeviceUID().value(*track.audioInputDeviceUID)
            : QList<AudioInputChannel>();
    if (channels.isEmpty())
        return;
    menu.addSeparator();
    for (const AudioInputChannel &channel : channels) {
        QAction *action = addChoice(menu, channel.label, current.toString() == channel.id);
        QObject::connect(action, &QAction::triggered, &model,
                         [&model, cell, id = channel.id] { model.setData(cell, id); });
    }
}

} // namespace kelvary::ui
