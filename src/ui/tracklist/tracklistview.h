#pragma once

#include <QAbstractListModel>
#include <QStackedWidget>

class QLabel;
class QListView;
class QPushButton;

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

class TrackRoutingMatrixView;

enum class TrackListDisplayMode { list, routing };

// The tracks of the session, one read-only line each. It stands in for the editable track table
// and the routing matrix, which take its place in the detail area.
class TrackNameListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    explicit TrackNameListModel(SessionViewModel *viewModel, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    SessionViewModel *m_viewModel;
};

// The detail area: the empty state until a session has tracks, then the tracks.
class TrackListView : public QStackedWidget {
    Q_OBJECT

public:
    explicit TrackListView(SessionViewModel *viewModel, QWidget *parent = nullptr);

    void setDisplayMode(TrackListDisplayMode mode);
    TrackListDisplayMode displayMode() const { return m_displayMode; }

    QPushButton *emptyStateOpenButton() const { return m_openReportButton; }
    QListView *trackList() const { return m_trackList; }
    // Present only in routing mode with tracks.
    TrackRoutingMatrixView *routingMatrix() const { return m_routingMatrix; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void showCurrentPage();
    void showEmptySymbol();

    SessionViewModel *m_viewModel;
    TrackListDisplayMode m_displayMode = TrackListDisplayMode::list;
    QWidget *m_emptyState = nullptr;
    QLabel *m_emptySymbol = nullptr;
    QPushButton *m_openReportButton = nullptr;
    QListView *m_trackList = nullptr;
    TrackRoutingMatrixView *m_routingMatrix = nullptr;
};

} // namespace kelvary::ui
