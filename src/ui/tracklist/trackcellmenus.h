#pragma once

#include <QModelIndex>

class QMenu;

namespace kelvary::ui {

class TrackListModel;

// The pull-down menus of a row's device and channel cells. Every item is one view-model
// operation on the row's edit targets (or, in the sequential submenu, on the selection).
void populateAudioDeviceMenu(QMenu &menu, TrackListModel &model, const QModelIndex &index);
void populateAudioChannelMenu(QMenu &menu, TrackListModel &model, const QModelIndex &index);

} // namespace kelvary::ui
