#pragma once

#include "routingmatrix/routingmatrixmodel.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QScrollArea>

class QHelpEvent;
class QPainter;

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

class MatrixTrackNameRow;
class RoutingMatrixDeviceHeader;
class RoutingMatrixPaintView;

// The matrix with frozen panes: the block of cells scrolls in the viewport, while the header row
// (device menu and the rotated channel labels) and the name column stand in the viewport's
// margins and follow the scroll bars along their own axis only.
class RoutingMatrixGrid final : public QScrollArea {
    Q_OBJECT

public:
    explicit RoutingMatrixGrid(SessionViewModel *viewModel, QWidget *parent = nullptr);

    // Lays the pieces out for `model` and brings the name rows in line with the matrix tracks.
    void setModel(const RoutingMatrixModel &model);

    RoutingMatrixDeviceHeader *deviceHeader() const { return m_deviceHeader; }
    RoutingMatrixPaintView *paintView() const { return m_paintView; }
    const QList<MatrixTrackNameRow *> &nameRows() const { return m_nameRows; }
    // The header cell of a column in the grid's coordinates, where it stands at the current
    // scroll position.
    QRect columnHeaderRect(qsizetype column) const;

Q_SIGNALS:
    // Ctrl and the wheel: a step larger or smaller per notch.
    void zoomRequested(int steps);

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    class ColumnHeader;

    // Puts the header row and the name column where the scroll bars say.
    void placePanes();
    // The header cells that lie in `area` of the header strip.
    void paintColumnHeaders(QPainter &painter, const QRect &area);
    bool showColumnTip(const QHelpEvent &help);
    // The whole header row, every column's box and label, drawn once for the model, the palette
    // and the pixel ratio.
    const QImage &headerStrip(qreal pixelRatio);
    // A column label already turned a quarter counter-clockwise, header-cell sized: turned text is
    // slow to draw, and a paint drag that makes or ends a shared input redraws the header row.
    const QImage &turnedLabel(const QString &label, qreal pixelRatio);

    SessionViewModel *m_viewModel;
    RoutingMatrixModel m_model;
    RoutingMatrixDeviceHeader *m_deviceHeader;
    ColumnHeader *m_columnHeader;
    // The name column clips the strip of name rows, which moves with the vertical scroll bar.
    QWidget *m_nameColumn;
    QWidget *m_nameStrip;
    RoutingMatrixPaintView *m_paintView;
    QList<MatrixTrackNameRow *> m_nameRows;
    QHash<QString, QImage> m_turnedLabels;
    // The layout the turned labels were drawn for.
    RoutingMatrixLayout m_drawnLayout;
    QImage m_headerStrip;
};

} // namespace kelvary::ui
