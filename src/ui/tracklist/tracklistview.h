#pragma once

#include "tracklist/colorwell.h"

#include <QStackedWidget>

class QLabel;
class QPushButton;

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

class TrackRoutingMatrixView;
class TrackTableView;

enum class TrackListDisplayMode { list, routing };

// The window's main content: an invitation to open a report while the session has no tracks,
// then the track table under a notice when no audio input is attached.
class TrackListView final : public QStackedWidget {
    Q_OBJECT

public:
    explicit TrackListView(SessionViewModel *viewModel, QWidget *parent = nullptr);

    void setDisplayMode(TrackListDisplayMode mode);
    TrackListDisplayMode displayMode() const { return m_displayMode; }
    void setColorPicker(ColorPicker picker);

    QPushButton *emptyStateOpenButton() const { return m_openReportButton; }
    TrackTableView *table() const { return m_table; }
    QWidget *noInputNotice() const { return m_noInputNotice; }
    QPushButton *addPlannedDeviceButton() const { return m_addPlannedDeviceButton; }
    // Present only in routing mode with tracks.
    TrackRoutingMatrixView *routingMatrix() const { return m_routingMatrix; }

protected:
    void changeEvent(QEvent *event) override;

private:
    QWidget *makeEmptyState();
    QWidget *makeListPage();
    void showCurrentPage();
    // The symbols are drawn in the palette's colours, so they are drawn again when it changes.
    void showSymbols();

    SessionViewModel *m_viewModel;
    TrackListDisplayMode m_displayMode = TrackListDisplayMode::list;
    QWidget *m_emptyState = nullptr;
    QLabel *m_emptySymbol = nullptr;
    QPushButton *m_openReportButton = nullptr;
    QWidget *m_listPage = nullptr;
    QWidget *m_noInputNotice = nullptr;
    QLabel *m_noInputSymbol = nullptr;
    QPushButton *m_addPlannedDeviceButton = nullptr;
    TrackTableView *m_table = nullptr;
    TrackRoutingMatrixView *m_routingMatrix = nullptr;
};

} // namespace kelvary::ui
