#pragma once

#include "routingmatrix/routingmatrixmodel.h"

#include <QList>
#include <QWidget>

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

class MatrixTrackNameRow;
class RoutingMatrixDeviceHeader;
class RoutingMatrixPaintView;

// The scrolling content of the matrix: the header row (device menu and the rotated channel
// labels), the name column and the block of cells, sized to hold them all.
class RoutingMatrixGrid final : public QWidget {
    Q_OBJECT

public:
    explicit RoutingMatrixGrid(SessionViewModel *viewModel, QWidget *parent = nullptr);

    // Lays the pieces out for `model` and brings the name rows in line with the matrix tracks.
    void setModel(const RoutingMatrixModel &model);

    RoutingMatrixDeviceHeader *deviceHeader() const { return m_deviceHeader; }
    RoutingMatrixPaintView *paintView() const { return m_paintView; }
    const QList<MatrixTrackNameRow *> &nameRows() const { return m_nameRows; }
    // The header cell of a column in the grid's coordinates.
    QRect columnHeaderRect(qsizetype column) const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    SessionViewModel *m_viewModel;
    RoutingMatrixModel m_model;
    RoutingMatrixDeviceHeader *m_deviceHeader;
    RoutingMatrixPaintView *m_paintView;
    QList<MatrixTrackNameRow *> m_nameRows;
};

} // namespace kelvary::ui
