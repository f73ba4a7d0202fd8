#pragma once

#include "model/trackchannel.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QUuid>

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

// The session's tracks as table rows, keyed by track id. Reads go to the view model and edits are
// view-model operations; the model itself changes nothing. Each change of the session reaches the
// views as the finest change that explains it (cells changed, rows moved, inserted or removed), so
// that the selection, the scroll position and an open name editor survive every edit.
class TrackListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        ReorderHandleColumn,
        DeleteColumn,
        IncludedColumn,
        TypeColumn,
        ChannelColumn,
        NameColumn,
        ConsoleInputColumn,
        AudioDeviceColumn,
        AudioChannelColumn,
        ColorColumn,
        ColumnCount
    };

    enum Role {
        TrackIDRole = Qt::UserRole + 1,
        ChannelTypeRole,
        ColorRole,
        // Whether the cell's control (pull-down menu) can be used.
        ControlEnabledRole,
        // Set when the cell shows a stand-in ("—") rather than a value.
        PlaceholderRole,
    };

    static constexpr const char *trackIDMimeType = "text/plain";

    explicit TrackListModel(SessionViewModel *viewModel, QObject *parent = nullptr);

    SessionViewModel *viewModel() const { return m_viewModel; }
    QUuid trackID(int row) const;
    // The track a row shows, read from the view model; valid until the session next changes.
    const TrackChannel *track(int row) const;
    // -1 when no row shows the track.
    int rowOf(const QUuid &trackID) const;
    // True while a session change is being told to the views: selection changes seen then are
    // the table catching up, not the user's.
    bool isFollowingSession() const { return m_followingSession; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // A dragged row is its track id as text; it can be dropped on another row's name.
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }

private:
    bool isCell(const QModelIndex &index) const;
    QVariant displayText(const TrackChannel &track, int column) const;
    QVariant toolTip(const TrackChannel &track, int column) const;
    bool isControlEnabled(const TrackChannel &track, int column) const;
    std::optional<QUuid> droppedTrackID(const QMimeData *data, const QModelIndex &parent) const;

    void followSession();
    void removeRowsOfGoneTracks(const QSet<QUuid> &kept);
    void reorderRowsTo(const QList<QUuid> &order);
    void insertRowsOfNewTracks(const QList<QUuid> &ids);
    void announceChangedTracks(const TrackList &before);
    void announceColumns(int first, int last, const QList<int> &roles);

    SessionViewModel *m_viewModel;
    // The row order the views have been told.
    QList<QUuid> m_rowIDs;
    // Where each track sits in the view model's list, for reads by id.
    QHash<QUuid, qsizetype> m_sessionIndexByID;
    // The tracks as last told, to find the rows an edit touched. Between changes it shares its
    // storage with the view model's list, so it costs no copy.
    TrackList m_toldTracks;
    bool m_followingSession = false;
};

} // namespace kelvary::ui
