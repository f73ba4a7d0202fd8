#pragma once

#include "routingmatrix/routingmatrixmodel.h"

#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QTimer;

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

class RoutingMatrixDeviceHeader;
class RoutingMatrixGrid;
class RoutingMatrixPaintView;

// The routing mode of the track list: one row per included track, one column per mono input of
// one device, assigned by clicking and by painting across cells. It is made afresh each time
// the list enters routing mode; every change it makes goes through the view model.
class TrackRoutingMatrixView final : public QWidget {
    Q_OBJECT

public:
    // What the screen shows, checked in this order.
    enum class State { noDevices, loading, noChannels, noTracks, grid };

    // The cell size the user zoomed to, kept across runs.
    static inline const QString cellSizeSettingsKey = QStringLiteral("routingMatrixCellSize");

    explicit TrackRoutingMatrixView(SessionViewModel *viewModel, QWidget *parent = nullptr);
    ~TrackRoutingMatrixView() override;

    State state() const { return m_state; }
    const std::optional<QString> &selectedDeviceUID() const { return m_selectedDeviceUID; }
    // The device menu's choice; rebuilds the matrix for it.
    void setSelectedDeviceUID(const std::optional<QString> &deviceUID);
    const std::optional<RoutingMatrixModel> &matrixModel() const { return m_matrixModel; }
    bool isPaintingRoutes() const { return m_isPaintingRoutes; }
    int cellSize() const { return m_cellSize; }
    // Zooms the cells to `size`, clamped, and remembers it; not while a drag paints.
    void setCellSize(int size);

    // The header shown with the state: the grid's, or the one above the panel.
    RoutingMatrixDeviceHeader *deviceHeader() const;
    QLabel *panelTitle() const { return m_panelTitle; }
    QLabel *panelDescription() const { return m_panelDescription; }
    QLabel *loadingLabel() const { return m_loadingLabel; }
    // Shown with no device at all: the 设备 menu's 添加计划设备….
    QPushButton *addPlannedDeviceButton() const { return m_addPlannedDeviceButton; }
    QScrollArea *scrollArea() const;
    RoutingMatrixGrid *grid() const { return m_grid; }
    RoutingMatrixPaintView *paintView() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void chooseDevice();
    void rebuildModel();
    void showState();
    void showPanel(const QString &symbol, const QString &title, const QString &description,
                   bool withHeader);
    void setPaintingRoutes(bool painting);
    // Follows a paint drag that reaches the edge of the visible part of the grid.
    void scrollTowardsPointer();

    SessionViewModel *m_viewModel;
    std::optional<QString> m_selectedDeviceUID;
    std::optional<RoutingMatrixModel> m_matrixModel;
    bool m_isPaintingRoutes = false;
    State m_state = State::loading;
    int m_cellSize = RoutingMatrixLayout::defaultCellSize;
    RoutingMatrixFonts m_fonts;

    QStackedWidget *m_pages = nullptr;
    QWidget *m_panelPage = nullptr;
    RoutingMatrixDeviceHeader *m_panelHeader = nullptr;
    QLabel *m_panelSymbol = nullptr;
    QString m_panelSymbolName;
    QLabel *m_panelTitle = nullptr;
    QLabel *m_panelDescription = nullptr;
    QPushButton *m_addPlannedDeviceButton = nullptr;
    QWidget *m_loadingPage = nullptr;
    QLabel *m_loadingLabel = nullptr;
    RoutingMatrixGrid *m_grid = nullptr;
    QTimer *m_autoScroll = nullptr;
};

} // namespace kelvary::ui
