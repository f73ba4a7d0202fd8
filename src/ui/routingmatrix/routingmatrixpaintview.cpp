#include "routingmatrix/routingmatrixpaintview.h"

#include "app/sessionviewmodel.h"
#include "routingmatrix/matrixboxpainting.h"

#include <QHash>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kelvary::ui {

namespace {

// A drag leaves the cell it painted last only once the pointer is this far (in parts of a cell)
// beyond that cell's edge. A hand-drawn diagonal grazes the corner of the neighbouring cell in
// the same row on its way down; without this slack that graze would move the track one channel
// over.
constexpr qreal cellExitSlack = 0.25;

} // namespace

RoutingMatrixPaintView::RoutingMatrixPaintView(SessionViewModel *viewModel, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
{
    // Every pixel, gaps included, is drawn here: nothing beneath needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RoutingMatrixPaintView::setGrid(const QList<RoutingMatrixColumn> &columns, int columnWidth,
                                     int rowHeight, int gridSpacing)
{
    if (m_columns == columns && m_columnWidth == columnWidth && m_rowHeight == rowHeight &&
        m_gridSpacing == gridSpacing)
        return;
    m_columns = columns;
    m_columnIDs.clear();
    m_spanOfID.clear();
    for (qsizetype column = 0; column < m_columns.size(); ++column) {
        m_columnIDs.append(m_columns.at(column).id);
        m_spanOfID.insert(m_columns.at(column).id, {column, 1});
        if (!m_columns.at(column).pairID.isEmpty())
            m_spanOfID.insert(m_columns.at(column).pairID, {column, 2});
    }
    m_columnWidth = columnWidth;
    m_rowHeight = rowHeight;
    m_gridSpacing = gridSpacing;
    m_paintedMarkers.clear();
    update();
}

RoutingMatrixPaintView::Span
RoutingMatrixPaintView::spanOf(const std::optional<QString> &channelID) const
{
    return channelID ? m_spanOfID.value(*channelID) : Span();
}

void RoutingMatrixPaintView::refreshMarkers()
{
    const TrackList tracks = matrixTracks(m_viewModel->tracks());
    QList<Span> markers;
    markers.reserve(tracks.size());
    for (const TrackChannel &track : tracks)
        markers.append(spanOf(track.audioInputChannelID));
    if (markers.size() != m_paintedMarkers.size()) {
        update();
    } else {
        for (qsizetype row = 0; row < markers.size(); ++row) {
            if (markers.at(row) == m_paintedMarkers.at(row))
                continue;
            for (const Span &span : {markers.at(row), m_paintedMarkers.at(row)}) {
                for (qsizetype column = span.column; column < span.column + span.width; ++column)
                    update(cellRect(row, column));
            }
        }
    }
    m_paintedMarkers = markers;
}

QSize RoutingMatrixPaintView::blockSize() const
{
    const auto extent = [this](qsizetype count, int length) {
        return count == 0 ? 0 : int(count * length + (count - 1) * m_gridSpacing);
    };
    return {extent(m_columnIDs.size(), m_columnWidth),
            extent(matrixTracks(m_viewModel->tracks()).size(), m_rowHeight)};
}

QRect RoutingMatrixPaintView::cellRect(qsizetype row, qsizetype column) const
{
    return QRect(int(column * (m_columnWidth + m_gridSpacing)),
                 int(row * (m_rowHeight + m_gridSpacing)), m_columnWidth, m_rowHeight);
}

QPixmap RoutingMatrixPaintView::rowBand(qsizetype firstColumn, qsizetype lastColumn,
                                        const QColor &background, const QColor &cellFill,
                                        const QColor &text) const
{
    const int left = cellRect(0, firstColumn).left();
    const int right = cellRect(0, lastColumn).right() + 1 + m_gridSpacing;
    const qreal ratio = devicePixelRatioF();
    QPixmap band(QSize(right - left, m_rowHeight + m_gridSpacing) * ratio);
    band.setDevicePixelRatio(ratio);
    band.fill(background);
    QPainter painter(&band);
    const QColor sharedFill = sharedInputTint(cellFill);
    for (qsizetype column = firstColumn; column <= lastColumn; ++column) {
        // A column that two tracks record from is tinted from top to bottom.
        const bool shared = !m_columns.at(column).sharedBy.isEmpty();
        paintMatrixBox(painter, cellRect(0, column).translated(-left, 0),
                       shared ? sharedFill : cellFill, text);
    }
    return band;
}

std::optional<RoutingMatrixCell> RoutingMatrixPaintView::hitTest(QPointF point) const
{
    return hitTestRoutingMatrix(point, m_columnWidth, m_rowHeight, m_gridSpacing,
                                matrixTracks(m_viewModel->tracks()).size(), m_columnIDs.size());
}

std::optional<RoutingMatrixPaintView::PaintedCell>
RoutingMatrixPaintView::cellAt(QPointF point) const
{
    // NOTE: a mouse position names the top-left corner of the pixel under the pointer. Tested
    // as it is, the one-pixel gap after a cell (its offset 48 to 49) would never be hit by a
    // whole-pixel position, so the pixel's centre is tested instead.
    const QPointF pixelCentre(std::floor(point.x()) + 0.5, std::floor(point.y()) + 0.5);
    const TrackList tracks = matrixTracks(m_viewModel->tracks());
    const std::optional<RoutingMatrixCell> cell = hitTestRoutingMatrix(
        pixelCentre, m_columnWidth, m_rowHeight, m_gridSpacing, tracks.size(), m_columnIDs.size());
    if (!cell)
        return std::nullopt;
    return PaintedCell{tracks.at(cell->row).id, m_columnIDs.at(cell->column), *cell};
}

void RoutingMatrixPaintView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QPalette &colors = palette();
    const QColor background = colors.color(QPalette::Window);
    const QColor cellFill = colors.color(QPalette::Base);
    const QColor text = colors.color(QPalette::WindowText);
    const TrackList tracks = matrixTracks(m_viewModel->tracks());
    const QRect exposed = event->rect();
    if (tracks.isEmpty() || m_columnIDs.isEmpty()) {
        painter.fillRect(exposed, background);
        return;
    }
    const int columnPitch = m_columnWidth + m_gridSpacing;
    const int rowPitch = m_rowHeight + m_gridSpacing;
    const qsizetype firstColumn = std::max(0, exposed.left() / columnPitch);
    const qsizetype lastColumn =
        std::min(m_columnIDs.size() - 1, qsizetype(exposed.right() / columnPitch));
    const qsizetype firstRow = std::max(0, exposed.top() / rowPitch);
    const qsizetype lastRow = std::min(tracks.size() - 1, qsizetype(exposed.bottom() / rowPitch));
    if (firstColumn > lastColumn || firstRow > lastRow) {
        painter.fillRect(exposed, background);
        return;
    }

    // Every row looks the same but for its marker: the block is one row of the exposed cells,
    // repeated down as a single tiled pixmap.
    // NOTE: one call, since every fill of a few hundred scan lines goes through Qt's thread
    // pool; one stripe per column edge, or per tinted column, spent more time waking threads
    // than filling pixels.
    const int left = cellRect(0, firstColumn).left();
    const int right = cellRect(0, lastColumn).right() + 1 + m_gridSpacing;
    const int top = cellRect(firstRow, 0).top();
    const int bottom = cellRect(lastRow, 0).bottom() + 1 + m_gridSpacing;
    painter.drawTiledPixmap(QRect(left, top, right - left, bottom - top),
                            rowBand(firstColumn, lastColumn, background, cellFill, text));
    // What lies beyond the last row or column.
    if (exposed.right() >= right)
        painter.fillRect(QRect(right, exposed.top(), exposed.right() + 1 - right, exposed.height()),
                         background);
    if (exposed.bottom() >= bottom)
        painter.fillRect(
            QRect(exposed.left(), bottom, exposed.width(), exposed.bottom() + 1 - bottom),
            background);

    QColor marker = text;
    marker.setAlphaF(0.42f);
    const qreal side = std::max(m_columnWidth - 12, 14);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(marker);
    for (qsizetype row = firstRow; row <= lastRow; ++row) {
        // A pair is marked in both its cells.
        const Span span = spanOf(tracks.at(row).audioInputChannelID);
        for (qsizetype column = span.column; column < span.column + span.width; ++column) {
            if (column < firstColumn || column > lastColumn)
                continue;
            const QRectF cell = cellRect(row, column);
            QRectF square(0, 0, side, side);
            square.moveCenter(cell.center() + QPointF(0.5, 0.5));
            painter.drawRoundedRect(square, 5, 5);
        }
    }
}

void RoutingMatrixPaintView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_dragState != DragState::idle) {
        event->ignore();
        return;
    }
    m_dragState = DragState::pressed;
    m_lastPainted.reset();
    m_paintStartHit = cellAt(event->position());
    m_lastPoint = event->position();
    m_lastGlobalPoint = event->globalPosition();
    Q_EMIT paintingChanged(true);
}

void RoutingMatrixPaintView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragState == DragState::idle || !(event->buttons() & Qt::LeftButton))
        return;
    m_dragState = DragState::painting;
    m_lastGlobalPoint = event->globalPosition();
    paintAlong(m_lastPoint, event->position());
}

void RoutingMatrixPaintView::continueDrag()
{
    if (m_dragState != DragState::painting)
        return;
    paintAlong(m_lastPoint, mapFromGlobal(m_lastGlobalPoint));
}

void RoutingMatrixPaintView::paintAlong(QPointF from, QPointF to)
{
    // Mouse events arrive some pixels apart, and a quick stroke jumps whole cells between two of
    // them; walking the segment in steps shorter than the slack paints every cell it crosses.
    const qreal step = std::max(1.0, std::min(m_columnWidth, m_rowHeight) * cellExitSlack / 2);
    const QPointF delta = to - from;
    const int steps = std::max(1, int(std::ceil(std::hypot(delta.x(), delta.y()) / step)));
    for (int i = m_lastPainted ? 1 : 0; i <= steps; ++i)
        paintAt(from + delta * (qreal(i) / steps));
    m_lastPoint = to;
}

void RoutingMatrixPaintView::paintAt(QPointF point)
{
    if (m_lastPainted) {
        const qreal slackX = m_columnWidth * cellExitSlack;
        const qreal slackY = m_rowHeight * cellExitSlack;
        const QRectF around = QRectF(cellRect(m_lastPainted->cell.row, m_lastPainted->cell.column))
                                  .adjusted(-slackX, -slackY, slackX, slackY);
        if (around.contains(point))
            return;
    }
    const std::optional<PaintedCell> hit = cellAt(point);
    if (!hit)
        return;
    if (m_lastPainted && m_lastPainted->trackID == hit->trackID &&
        m_lastPainted->columnID == hit->columnID)
        return;
    m_lastPainted = hit;
    Q_EMIT paintRequested(hit->trackID, hit->columnID);
}

void RoutingMatrixPaintView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_dragState == DragState::idle)
        return;
    // A click is judged by the cell under the mouse-down alone.
    if (m_dragState == DragState::pressed && m_paintStartHit) {
        const TrackList &tracks = m_viewModel->tracks();
        const auto track = std::find_if(tracks.cbegin(), tracks.cend(), [this](const auto &t) {
            return t.id == m_paintStartHit->trackID;
        });
        if (track != tracks.cend()) {
            if (spanOf(track->audioInputChannelID).contains(m_paintStartHit->cell.column))
                Q_EMIT clearRequested(m_paintStartHit->trackID);
            else
                Q_EMIT paintRequested(m_paintStartHit->trackID, m_paintStartHit->columnID);
        }
    }
    finishGesture();
}

void RoutingMatrixPaintView::hideEvent(QHideEvent *event)
{
    cancelGesture();
    QWidget::hideEvent(event);
}

void RoutingMatrixPaintView::cancelGesture()
{
    if (m_dragState != DragState::idle)
        finishGesture();
}

void RoutingMatrixPaintView::finishGesture()
{
    m_dragState = DragState::idle;
    m_lastPainted.reset();
    m_paintStartHit.reset();
    Q_EMIT paintingChanged(false);
}

} // namespace kelvary::ui
