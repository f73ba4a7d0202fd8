#pragma once

#include "routingmatrix/routingmatrixmodel.h"

#include <QHash>
#include <QPixmap>
#include <QPointF>
#include <QStringList>
#include <QUuid>
#include <QWidget>

#include <optional>

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

// The block of cells: draws every cell with its marker from the view model's tracks and turns
// mouse gestures into paint, clear and painting-changed requests. It lies exactly over the
// cells, so its origin is the top-left cell's corner.
class RoutingMatrixPaintView final : public QWidget {
    Q_OBJECT

public:
    // idle → pressed (mouse down) → painting (first drag event) → idle (mouse up). A release
    // while still pressed is a click.
    enum class DragState { idle, pressed, painting };

    explicit RoutingMatrixPaintView(SessionViewModel *viewModel, QWidget *parent = nullptr);

    // All four at once, so that the hit test always matches the drawn cells.
    void setGrid(const QList<RoutingMatrixColumn> &columns, int columnWidth, int rowHeight,
                 int gridSpacing);
    const QStringList &columnIDs() const { return m_columnIDs; }
    QSize blockSize() const;
    QRect cellRect(qsizetype row, qsizetype column) const;
    std::optional<RoutingMatrixCell> hitTest(QPointF point) const;

    // Repaints the cells whose marker moved since the last call, or all of them when the rows
    // changed.
    void refreshMarkers();

    DragState dragState() const { return m_dragState; }
    // Where the pointer was at the last mouse event of the gesture, on the screen.
    QPointF pointerGlobalPosition() const { return m_lastGlobalPoint; }
    // Carries a drag on to where the pointer now stands, after the content moved under it.
    void continueDrag();
    // Ends a gesture that will get no mouse-up (the view goes away or is hidden mid-drag).
    void cancelGesture();

Q_SIGNALS:
    void paintRequested(const QUuid &trackID, const QString &columnID);
    void clearRequested(const QUuid &trackID);
    void paintingChanged(bool painting);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    struct PaintedCell {
        QUuid trackID;
        QString columnID;
        RoutingMatrixCell cell;
    };

    std::optional<PaintedCell> cellAt(QPointF point) const;
    // One row of the cells from `firstColumn` to `lastColumn`, each with its border and the gaps
    // to its right and below, a shared column tinted.
    QPixmap rowBand(qsizetype firstColumn, qsizetype lastColumn, const QColor &background,
                    const QColor &cellFill, const QColor &text) const;
    void paintAlong(QPointF from, QPointF to);
    void paintAt(QPointF point);
    void finishGesture();

    // The columns a track's input covers: one, or two for a pair.
    struct Span {
        qsizetype column = -1;
        qsizetype width = 0;

        bool operator==(const Span &) const = default;
        bool contains(qsizetype c) const { return c >= column && c < column + width; }
    };
    Span spanOf(const std::optional<QString> &channelID) const;

    SessionViewModel *m_viewModel;
    QList<RoutingMatrixColumn> m_columns;
    QStringList m_columnIDs;
    QHash<QString, Span> m_spanOfID;
    int m_columnWidth = RoutingMatrixLayout::minimumCellSize;
    int m_rowHeight = 38;
    int m_gridSpacing = RoutingMatrixLayout::gridSpacing;

    // The marker of every row as last painted, only to find what to repaint.
    QList<Span> m_paintedMarkers;

    DragState m_dragState = DragState::idle;
    std::optional<PaintedCell> m_paintStartHit;
    std::optional<PaintedCell> m_lastPainted;
    QPointF m_lastPoint;
    QPointF m_lastGlobalPoint;
};

} // namespace kelvary::ui
