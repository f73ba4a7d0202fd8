#pragma once

#include "routingmatrix/routingmatrixmodel.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QWidget>

class QPainter;

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
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The header row and the gaps of the name column that lie in `area`.
    void paintArea(QPainter &painter, const QRect &area);
    // A column label already turned a quarter counter-clockwise, header-cell sized: turned text is
    // slow to draw, and the header is drawn again whenever the grid scrolls sideways.
    const QImage &turnedLabel(const QString &label, qreal pixelRatio);

    SessionViewModel *m_viewModel;
    RoutingMatrixModel m_model;
    RoutingMatrixDeviceHeader *m_deviceHeader;
    RoutingMatrixPaintView *m_paintView;
    QList<MatrixTrackNameRow *> m_nameRows;
    QHash<QString, QImage> m_turnedLabels;
};

} // namespace kelvary::ui
