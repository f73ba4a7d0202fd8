#include "routingmatrix/routingmatrixgrid.h"

#include "app/sessionviewmodel.h"
#include "routingmatrix/matrixboxpainting.h"
#include "routingmatrix/matrixtracknamerow.h"
#include "routingmatrix/routingmatrixdeviceheader.h"
#include "routingmatrix/routingmatrixpaintview.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

RoutingMatrixGrid::RoutingMatrixGrid(SessionViewModel *viewModel, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
    , m_deviceHeader(new RoutingMatrixDeviceHeader(viewModel, this))
    , m_paintView(new RoutingMatrixPaintView(viewModel, this))
{
}

void RoutingMatrixGrid::setModel(const RoutingMatrixModel &model)
{
    const bool relabelled = model.columns != m_model.columns || model.layout != m_model.layout;
    m_model = model;
    const RoutingMatrixLayout &layout = m_model.layout;
    const int spacing = RoutingMatrixLayout::gridSpacing;
    const int cellTop = layout.columnHeaderHeight + spacing;
    const int cellLeft = layout.nameColumnWidth + spacing;

    m_paintView->setGrid(m_model.columns, layout.cellSize, layout.cellSize, spacing);

    const TrackList tracks = matrixTracks(m_viewModel->tracks());
    while (m_nameRows.size() > tracks.size())
        delete m_nameRows.takeLast();
    while (m_nameRows.size() < tracks.size()) {
        auto *row = new MatrixTrackNameRow(m_viewModel, this);
        row->show();
        m_nameRows.append(row);
    }
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        m_nameRows[i]->setTrack(tracks.at(i));
        m_nameRows[i]->setGeometry(0, cellTop + int(i) * (layout.cellSize + spacing),
                                   layout.nameColumnWidth, layout.cellSize);
    }

    m_deviceHeader->setGeometry(0, 0, layout.nameColumnWidth, layout.columnHeaderHeight);
    const QSize block = m_paintView->blockSize();
    m_paintView->setGeometry(cellLeft, cellTop, block.width(), block.height());
    m_paintView->refreshMarkers();
    setFixedSize(cellLeft + block.width(), cellTop + block.height());
    if (relabelled) {
        m_turnedLabels.clear();
        update();
    }
}

const QImage &RoutingMatrixGrid::turnedLabel(const QString &label, qreal pixelRatio)
{
    auto cached = m_turnedLabels.find(label);
    if (cached != m_turnedLabels.end() && cached->devicePixelRatio() == pixelRatio)
        return *cached;
    const QSize upright(m_model.layout.columnHeaderHeight, m_model.layout.cellSize);
    QImage text(upright * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    text.setDevicePixelRatio(pixelRatio);
    text.fill(Qt::transparent);
    {
        QPainter painter(&text);
        painter.setFont(RoutingMatrixFonts::standard().label);
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(QRect(QPoint(), upright), Qt::AlignCenter, label);
    }
    QImage turned = text.transformed(QTransform().rotate(-90));
    turned.setDevicePixelRatio(pixelRatio);
    return *m_turnedLabels.insert(label, turned);
}

void RoutingMatrixGrid::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        m_turnedLabels.clear();
}

QRect RoutingMatrixGrid::columnHeaderRect(qsizetype column) const
{
    const RoutingMatrixLayout &layout = m_model.layout;
    const int pitch = layout.cellSize + RoutingMatrixLayout::gridSpacing;
    return QRect(layout.nameColumnWidth + RoutingMatrixLayout::gridSpacing + int(column) * pitch, 0,
                 layout.cellSize, layout.columnHeaderHeight);
}

bool RoutingMatrixGrid::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        for (qsizetype column = 0; column < m_model.columns.size(); ++column) {
            const QRect header = columnHeaderRect(column);
            if (header.contains(help->pos())) {
                const RoutingMatrixColumn &shown = m_model.columns.at(column);
                QString tip = shown.channelLabel;
                if (!shown.sharedBy.isEmpty())
                    tip += u" · 由 %1 条轨道共用：%2"_s.arg(shown.sharedBy.size())
                               .arg(shown.sharedBy.join(u'、'));
                QToolTip::showText(help->globalPos(), tip, this, header);
                return true;
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

void RoutingMatrixGrid::paintEvent(QPaintEvent *event)
{
    // NOTE: the cell block is an opaque child, so what is left to paint here is an L of two
    // rectangles. Painted one rectangle at a time, each under a plain rectangular clip, Qt fills
    // directly instead of scan line by scan line through its thread pool.
    QPainter painter(this);
    for (const QRect &area : event->region()) {
        painter.setClipRect(area);
        paintArea(painter, area);
    }
}

void RoutingMatrixGrid::paintArea(QPainter &painter, const QRect &area)
{
    const QPalette &colors = palette();
    painter.fillRect(area, colors.color(QPalette::Window));
    if (m_model.columns.isEmpty())
        return;

    const int pitch = m_model.layout.cellSize + RoutingMatrixLayout::gridSpacing;
    const int firstLeft = columnHeaderRect(0).left();
    const qsizetype first = std::max<qsizetype>(0, (area.left() - firstLeft) / pitch);
    const qsizetype last =
        std::min<qsizetype>(m_model.columns.size() - 1, (area.right() - firstLeft) / pitch);
    for (qsizetype column = first; column <= last; ++column) {
        const QRect header = columnHeaderRect(column);
        if (!header.intersects(area))
            continue;
        const bool shared = !m_model.columns.at(column).sharedBy.isEmpty();
        paintMatrixBox(painter, header,
                       shared ? sharedInputTint(colors.color(QPalette::Base))
                              : colors.color(QPalette::Base),
                       colors.color(QPalette::WindowText));
        // Reading upwards.
        painter.drawImage(header.topLeft(), turnedLabel(m_model.columns.at(column).channelLabel,
                                                        devicePixelRatioF()));
    }
}

} // namespace kelvary::ui
