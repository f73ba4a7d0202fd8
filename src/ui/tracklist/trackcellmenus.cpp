#include "tracklist/trackcellmenus.h"

#include "app/sessionviewmodel.h"
#include "tracklist/tracklistmodel.h"

#include <QMenu>

#include <functional>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

namespace {

// Beyond this many inputs a list of them runs off the screen; they go in eights instead.
constexpr qsizetype longestFlatChannelList = 16;

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
    menu.addSeparator();
    // Without a start that fits, the item stays in its place, disabled, and says why.
    if (submenu->isEmpty()) {
        QAction *none = menu.addAction(submenu->title());
        none->setEnabled(false);
        none->setToolTip(u"输入通道不足：没有能按顺序容纳所选 %1 条轨道的起点。"_s.arg(count));
        menu.setToolTipsVisible(true);
        return;
    }
    QMenu *owned = submenu.release();
    owned->setParent(&menu, owned->windowFlags());
    menu.addMenu(owned);
}

// The menu's own choices, or beneath it in submenus of eight ("Ch 1–8", "Ch 9–16", …) once a
// long interface would make one screen-high list.
void addChannelChoices(QMenu &menu, const QList<AudioInputChannel> &channels,
                       const QString &current, const std::function<void(const QString &)> &choose)
{
    constexpr qsizetype groupSize = 8;
    const bool grouped = channels.size() > longestFlatChannelList;
    QMenu *group = nullptr;
    qint64 groupStart = -1;
    for (const AudioInputChannel &channel : channels) {
        QMenu *target = &menu;
        if (grouped) {
            const qint64 start = channel.channelIndex / groupSize * groupSize;
            if (!group || start != groupStart) {
                groupStart = start;
                group = menu.addMenu(u"Ch %1–%2"_s.arg(start + 1).arg(start + groupSize));
            }
            target = group;
        }
        QAction *action = addChoice(*target, channel.label, current == channel.id);
        QObject::connect(action, &QAction::triggered, &menu,
                         [choose, id = channel.id] { choose(id); });
    }
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
    QList<AudioInputChannel> mono;
    QList<AudioInputChannel> pairs;
    for (const AudioInputChannel &channel : channels)
        (channel.isStereoPair ? pairs : mono).append(channel);
    const auto choose = [&model, cell](const QString &id) { model.setData(cell, id); };
    addChannelChoices(menu, mono, current.toString(), choose);
    // A long interface's pairs go beneath one item of their own, in eights as well.
    const bool longInterface = mono.size() > longestFlatChannelList;
    addChannelChoices(longInterface ? *menu.addMenu(u"立体声"_s) : menu, pairs, current.toString(),
                      choose);
}

} // namespace kelvary::ui
