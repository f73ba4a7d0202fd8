#include "tracklist/tracklistmodel.h"

#include "app/sessionviewmodel.h"
#include "tracklist/colorwell.h"
#include "tracklist/tracktypebadge.h"

#include <QMimeData>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

namespace {

const QString notSet = u"未设置"_s;

std::optional<QString> optionalText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return value.toString();
}

QVariant variantOf(const std::optional<QString> &text)
{
    return text ? QVariant(*text) : QVariant();
}

} // namespace

TrackListModel::TrackListModel(SessionViewModel *viewModel, QObject *parent)
    : QAbstractTableModel(parent)
    , m_viewModel(viewModel)
{
    connect(m_viewModel, &SessionViewModel::sessionChanged, this, &TrackListModel::followSession);
    // The channel menu's enabling and the colour well's tooltip depend on the edit targets.
    connect(m_viewModel, &SessionViewModel::selectedTrackIDsChanged, this, [this] {
        announceColumns(AudioChannelColumn, AudioChannelColumn, {ControlEnabledRole});
        announceColumns(ColorColumn, ColorColumn, {Qt::ToolTipRole});
    });
    connect(m_viewModel, &SessionViewModel::audioInputCatalogChanged, this,
            [this] { announceColumns(AudioDeviceColumn, AudioChannelColumn, {}); });
    followSession();
}

bool TrackListModel::isCell(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this && index.row() < m_rowIDs.size() &&
           index.column() < ColumnCount;
}

QUuid TrackListModel::trackID(int row) const
{
    return row >= 0 && row < m_rowIDs.size() ? m_rowIDs.at(row) : QUuid();
}

int TrackListModel::rowOf(const QUuid &trackID) const
{
    return int(m_rowIDs.indexOf(trackID));
}

const TrackChannel *TrackListModel::track(int row) const
{
    if (row < 0 || row >= m_rowIDs.size())
        return nullptr;
    const qsizetype index = m_sessionIndexByID.value(m_rowIDs.at(row), -1);
    return index < 0 ? nullptr : &m_viewModel->tracks().at(index);
}

int TrackListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rowIDs.size());
}

int TrackListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrackListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case IncludedColumn:
        return u"选中"_s;
    case TypeColumn:
        return u"类型"_s;
    case ChannelColumn:
        return u"通道"_s;
    case NameColumn:
        return u"名称"_s;
    case ConsoleInputColumn:
        return u"调音台输入"_s;
    case AudioDeviceColumn:
        return u"输入设备"_s;
    case AudioChannelColumn:
        return u"输入通道"_s;
    case ColorColumn:
        return u"颜色"_s;
    default:
        return QString();
    }
}

QVariant TrackListModel::data(const QModelIndex &index, int role) const
{
    if (!isCell(index))
        return {};
    const TrackChannel *track = this->track(index.row());
    if (!track)
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return displayText(*track, column);
    case Qt::EditRole:
        switch (column) {
        case NameColumn:
            return track->name;
        case AudioDeviceColumn:
            return variantOf(track->audioInputDeviceUID);
        case AudioChannelColumn:
            return variantOf(track->audioInputChannelID);
        case ColorColumn:
            return toQColor(track->color);
        default:
            return displayText(*track, column);
        }
    case Qt::ToolTipRole:
        return toolTip(*track, column);
    case Qt::CheckStateRole:
        if (column == IncludedColumn)
            return track->isIncluded ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::AccessibleTextRole:
        if (column == DeleteColumn)
            return u"删除此通道"_s;
        return {};
    case TrackIDRole:
        return track->id;
    case ChannelTypeRole:
        return int(track->channelType);
    case ColorRole:
        return column == ColorColumn ? QVariant(toQColor(track->color)) : QVariant();
    case ControlEnabledRole:
        return isControlEnabled(*track, column);
    case PlaceholderRole:
        return column == ConsoleInputColumn && track->inputRoute.isEmpty();
    default:
        return {};
    }
}

QVariant TrackListModel::displayText(const TrackChannel &track, int column) const
{
    const AudioInputCatalog &catalog = m_viewModel->audioInputCatalog();
    switch (column) {
    case DeleteColumn:
        return u"X"_s;
    case TypeColumn:
        return channelTypeAbbreviation(track.channelType);
    case ChannelColumn:
        return track.channelLabel;
    case NameColumn:
        return track.name;
    case ConsoleInputColumn:
        return track.inputRoute.isEmpty() ? u"—"_s : track.inputRoute;
    case AudioDeviceColumn: {
        // Marked as the menus mark it: a patch to an interface that is not here must show.
        const std::optional<AudioInputDevice> device =
            deviceWithID(track.audioInputDeviceUID, catalog.devices());
        return device ? deviceDisplayName(*device) : notSet;
    }
    case AudioChannelColumn:
        return track.audioInputChannelID
                   ? catalog.channelLabelByID().value(*track.audioInputChannelID, notSet)
                   : notSet;
    default:
        return {};
    }
}

QVariant TrackListModel::toolTip(const TrackChannel &track, int column) const
{
    switch (column) {
    case ReorderHandleColumn:
        return u"拖拽以调整顺序"_s;
    case DeleteColumn:
        return u"删除此通道"_s;
    case TypeColumn:
        return typeDisplayName(track.channelType);
    case ConsoleInputColumn:
        return track.inputRoute.isEmpty() ? QVariant() : QVariant(track.inputRoute);
    case ColorColumn: {
        const qsizetype targets = m_viewModel->editTargetIDs(track.id).size();
        if (targets > 1)
            return u"将颜色应用到已选的 %1 条轨道"_s.arg(m_viewModel->selectedTrackIDs().size());
        return hexString(track.color).value_or(u"自定义颜色"_s);
    }
    default:
        return {};
    }
}

bool TrackListModel::isControlEnabled(const TrackChannel &track, int column) const
{
    const AudioInputCatalog &catalog = m_viewModel->audioInputCatalog();
    switch (column) {
    case AudioDeviceColumn:
        return !catalog.devices().isEmpty();
    case AudioChannelColumn:
        if (m_viewModel->editTargetIDs(track.id).size() > 1)
            return !catalog.devices().isEmpty();
        return track.audioInputDeviceUID &&
               !catalog.channelsByDeviceUID().value(*track.audioInputDeviceUID).isEmpty();
    default:
        return true;
    }
}

Qt::ItemFlags TrackListModel::flags(const QModelIndex &index) const
{
    if (!isCell(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    switch (index.column()) {
    case ReorderHandleColumn:
        return flags | Qt::ItemIsDragEnabled;
    case IncludedColumn:
        return flags | Qt::ItemIsUserCheckable;
    case NameColumn:
        return flags | Qt::ItemIsEditable | Qt::ItemIsDropEnabled;
    case AudioDeviceColumn:
    case AudioChannelColumn:
    case ColorColumn:
        return flags | Qt::ItemIsEditable;
    default:
        return flags;
    }
}

bool TrackListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!isCell(index))
        return false;
    const TrackChannel *track = this->track(index.row());
    if (!track)
        return false;
    // Copied: the operation replaces the list the pointer points into.
    const QUuid id = track->id;
    switch (index.column()) {
    case IncludedColumn:
        if (role != Qt::CheckStateRole)
            return false;
        m_viewModel->setIncluded(value.value<Qt::CheckState>() == Qt::Checked, id);
        return true;
    case NameColumn:
        if (role != Qt::EditRole)
            return false;
        m_viewModel->renameTrack(value.toString(), id);
        return true;
    case AudioDeviceColumn:
        if (role != Qt::EditRole)
            return false;
        m_viewModel->setAudioInputDevice(optionalText(value), id);
        return true;
    case AudioChannelColumn:
        if (role != Qt::EditRole)
            return false;
        m_viewModel->setAudioInputChannel(optionalText(value), id);
        return true;
    case ColorColumn:
        if ((role != Qt::EditRole && role != ColorRole) || !value.value<QColor>().isValid())
            return false;
        m_viewModel->setTrackColor(toRGBColor(value.value<QColor>()), id);
        return true;
    default:
        return false;
    }
}

// Drag and drop --------------------------------------------------------------------------------

QStringList TrackListModel::mimeTypes() const
{
    return {QString::fromLatin1(trackIDMimeType)};
}

QMimeData *TrackListModel::mimeData(const QModelIndexList &indexes) const
{
    // One row moves at a time: the one whose handle was dragged.
    if (indexes.isEmpty())
        return nullptr;
    const TrackChannel *track = this->track(indexes.first().row());
    if (!track)
        return nullptr;
    auto *data = new QMimeData;
    data->setText(uuidText(track->id));
    return data;
}

std::optional<QUuid> TrackListModel::droppedTrackID(const QMimeData *data,
                                                    const QModelIndex &parent) const
{
    if (!data || !data->hasText() || parent.model() != this || parent.column() != NameColumn)
        return std::nullopt;
    const TrackChannel *target = track(parent.row());
    const QUuid dragged = QUuid::fromString(data->text().trimmed());
    // Text that is no track of this session would move nothing: refused like any other text.
    if (!target || dragged.isNull() || dragged == target->id ||
        !m_sessionIndexByID.contains(dragged))
        return std::nullopt;
    return dragged;
}

bool TrackListModel::canDropMimeData(const QMimeData *data, Qt::DropAction action, int row,
                                     int column, const QModelIndex &parent) const
{
    Q_UNUSED(row);
    Q_UNUSED(column);
    return action == Qt::MoveAction && droppedTrackID(data, parent).has_value();
}

bool TrackListModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                  const QModelIndex &parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    m_viewModel->moveTrack(*droppedTrackID(data, parent), trackID(parent.row()));
    return true;
}

// Following the view model ---------------------------------------------------------------------

void TrackListModel::followSession()
{
    const TrackList &tracks = m_viewModel->tracks();
    QList<QUuid> ids;
    ids.reserve(tracks.size());
    m_sessionIndexByID.clear();
    m_sessionIndexByID.reserve(tracks.size());
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        ids.append(tracks.at(i).id);
        m_sessionIndexByID.insert(tracks.at(i).id, i);
    }

    m_followingSession = true;
    if (ids != m_rowIDs) {
        const QSet<QUuid> kept =
            QSet<QUuid>(ids.cbegin(), ids.cend()) & QSet<QUuid>(m_rowIDs.cbegin(), m_rowIDs.cend());
        if (kept.isEmpty()) {
            // Another session altogether: nothing to keep.
            beginResetModel();
            m_rowIDs = ids;
            endResetModel();
        } else {
            removeRowsOfGoneTracks(kept);
            QList<QUuid> keptInNewOrder;
            for (const QUuid &id : std::as_const(ids)) {
                if (kept.contains(id))
                    keptInNewOrder.append(id);
            }
            reorderRowsTo(keptInNewOrder);
            insertRowsOfNewTracks(ids);
        }
    }
    const TrackList before = std::exchange(m_toldTracks, tracks);
    announceChangedTracks(before);
    m_followingSession = false;
}

void TrackListModel::removeRowsOfGoneTracks(const QSet<QUuid> &kept)
{
    // From the end, one run of adjacent rows at a time, so the rows above keep their numbers.
    int last = int(m_rowIDs.size()) - 1;
    while (last >= 0) {
        if (kept.contains(m_rowIDs.at(last))) {
            --last;
            continue;
        }
        int first = last;
        while (first > 0 && !kept.contains(m_rowIDs.at(first - 1)))
            --first;
        beginRemoveRows({}, first, last);
        m_rowIDs.remove(first, last - first + 1);
        endRemoveRows();
        last = first - 1;
    }
}

void TrackListModel::reorderRowsTo(const QList<QUuid> &order)
{
    if (order == m_rowIDs)
        return;
    // The differing stretch [first, last] is one track moved from one end of it to the other,
    // which is what a drag does; anything else (an undo over several moves) is a new layout.
    qsizetype first = 0;
    while (m_rowIDs.at(first) == order.at(first))
        ++first;
    qsizetype last = order.size() - 1;
    while (m_rowIDs.at(last) == order.at(last))
        --last;
    const auto same = [](auto a, auto b, qsizetype count) { return std::equal(a, a + count, b); };
    const qsizetype span = last - first;
    if (m_rowIDs.at(first) == order.at(last) &&
        same(m_rowIDs.cbegin() + first + 1, order.cbegin() + first, span)) {
        beginMoveRows({}, int(first), int(first), {}, int(last + 1));
        m_rowIDs.move(first, last);
        endMoveRows();
        return;
    }
    if (m_rowIDs.at(last) == order.at(first) &&
        same(m_rowIDs.cbegin() + first, order.cbegin() + first + 1, span)) {
        beginMoveRows({}, int(last), int(last), {}, int(first));
        m_rowIDs.move(last, first);
        endMoveRows();
        return;
    }

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QHash<QUuid, int> newRowByID;
    for (qsizetype row = 0; row < order.size(); ++row)
        newRowByID.insert(order.at(row), int(row));
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex &index : persistent)
        moved.append(createIndex(newRowByID.value(m_rowIDs.at(index.row())), index.column()));
    m_rowIDs = order;
    changePersistentIndexList(persistent, moved);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TrackListModel::insertRowsOfNewTracks(const QList<QUuid> &ids)
{
    // The rows already shown are in the new order now, so each new run goes in at its final row.
    const QSet<QUuid> shown(m_rowIDs.cbegin(), m_rowIDs.cend());
    qsizetype row = 0;
    while (row < ids.size()) {
        if (shown.contains(ids.at(row))) {
            ++row;
            continue;
        }
        qsizetype end = row;
        while (end + 1 < ids.size() && !shown.contains(ids.at(end + 1)))
            ++end;
        beginInsertRows({}, int(row), int(end));
        m_rowIDs.insert(row, end - row + 1, QUuid());
        std::copy(ids.cbegin() + row, ids.cbegin() + end + 1, m_rowIDs.begin() + row);
        endInsertRows();
        row = end + 1;
    }
}

void TrackListModel::announceChangedTracks(const TrackList &before)
{
    QHash<QUuid, qsizetype> beforeIndexByID;
    beforeIndexByID.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        beforeIndexByID.insert(before.at(i).id, i);

    const TrackList &tracks = m_viewModel->tracks();
    const auto changed = [&](qsizetype row) {
        const qsizetype old = beforeIndexByID.value(tracks.at(row).id, -1);
        return old >= 0 && !(before.at(old) == tracks.at(row));
    };
    qsizetype row = 0;
    while (row < tracks.size()) {
        if (!changed(row)) {
            ++row;
            continue;
        }
        qsizetype end = row;
        while (end + 1 < tracks.size() && changed(end + 1))
            ++end;
        Q_EMIT dataChanged(index(int(row), 0), index(int(end), ColumnCount - 1));
        row = end + 1;
    }
}

void TrackListModel::announceColumns(int first, int last, const QList<int> &roles)
{
    if (!m_rowIDs.isEmpty())
        Q_EMIT dataChanged(index(0, first), index(int(m_rowIDs.size()) - 1, last), roles);
}

} // namespace kelvary::ui
