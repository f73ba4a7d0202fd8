#include "routingmatrix/routingmatrixgrid.h"

#include "app/sessionviewmodel.h"
#include "routingmatrix/matrixboxpainting.h"
#include "routingmatrix/matrixtracknamerow.h"
#include "routingmatrix/routingmatrixdeviceheader.h"
#include "routingmatrix/routingmatrixpaintview.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

// The strip of rotated channel labels above the cells; the grid paints it and answers its
// tooltips, since only the grid knows the columns and the scroll position.
class RoutingMatrixGrid::ColumnHeader final : public QWidget {
public:
    explicit ColumnHeader(RoutingMatrixGrid *grid)
        : QWidget(grid)
        , m_grid(grid)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::ToolTip) {
            if (!m_grid->showColumnTip(*static_cast<QHelpEvent *>(event))) {
                QToolTip::hideText();
                event->ignore();
            }
            return true;
        }
        return QWidget::event(event);
    }

    void paintEvent(QPaintEvent *event) override
    {
        // NOTE: one rectangle at a time, each under a plain rectangular clip: Qt then fills
        // directly instead of scan line by scan line through its thread pool.
        QPainter painter(this);
        for (const QRect &area : event->region()) {
            painter.setClipRect(area);
            m_grid->paintColumnHeaders(painter, area);
        }
    }

private:
    RoutingMatrixGrid *m_grid;
};

RoutingMatrixGrid::RoutingMatrixGrid(SessionViewModel *viewModel, QWidget *parent)
    : QScrollArea(parent)
    , m_viewModel(viewModel)
    , m_deviceHeader(new RoutingMatrixDeviceHeader(viewModel, this))
    , m_columnHeader(new ColumnHeader(this))
    , m_nameColumn(new QWidget(this))
    , m_nameStrip(new QWidget(m_nameColumn))
    , m_paintView(new RoutingMatrixPaintView(viewModel))
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    viewport()->setBackgroundRole(QPalette::Window);
    setWidget(m_paintView);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_columnHeader,
            qOverload<>(&QWidget::update));
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int y) { m_nameStrip->move(0, -y); });
}

void RoutingMatrixGrid::setModel(const RoutingMatrixModel &model)
{
    const bool relabelled = model.columns != m_model.columns || model.layout != m_model.layout;
    m_model = model;
    const RoutingMatrixLayout &layout = m_model.layout;
    const int spacing = RoutingMatrixLayout::gridSpacing;
    setViewportMargins(layout.nameColumnWidth + spacing, layout.columnHeaderHeight + spacing, 0, 0);

    m_paintView->setGrid(m_model.columns, layout.cellSize, layout.cellSize, spacing);

    const TrackList tracks = matrixTracks(m_viewModel->tracks());
    const QFont font = RoutingMatrixFonts::standard(layout.cellSize).label;
    while (m_nameRows.size() > tracks.size())
        delete m_nameRows.takeLast();
    while (m_nameRows.size() < tracks.size()) {
        auto *row = new MatrixTrackNameRow(m_viewModel, m_nameStrip);
        row->show();
        m_nameRows.append(row);
    }
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        m_nameRows[i]->setTrack(tracks.at(i));
        if (m_nameRows[i]->font() != font)
            m_nameRows[i]->setFont(font);
        m_nameRows[i]->setGeometry(0, int(i) * (layout.cellSize + spacing), layout.nameColumnWidth,
                                   layout.cellSize);
    }

    const QSize block = m_paintView->blockSize();
    m_nameStrip->resize(layout.nameColumnWidth, block.height());
    m_paintView->resize(block);
    m_paintView->refreshMarkers();
    placePanes();
    if (relabelled) {
        if (model.layout != m_drawnLayout) {
            m_turnedLabels.clear();
            m_drawnLayout = model.layout;
        }
        m_headerStrip = QImage();
        m_columnHeader->update();
    }
}

void RoutingMatrixGrid::placePanes()
{
    const RoutingMatrixLayout &layout = m_model.layout;
    const QRect cells = viewport()->geometry();
    const int top = cells.top() - layout.columnHeaderHeight - RoutingMatrixLayout::gridSpacing;
    const int left = cells.left() - layout.nameColumnWidth - RoutingMatrixLayout::gridSpacing;
    m_deviceHeader->setGeometry(left, top, layout.nameColumnWidth, layout.columnHeaderHeight);
    m_columnHeader->setGeometry(cells.left(), top, cells.width(), layout.columnHeaderHeight);
    m_nameColumn->setGeometry(left, cells.top(), layout.nameColumnWidth, cells.height());
    m_nameStrip->move(0, -verticalScrollBar()->value());
}

void RoutingMatrixGrid::resizeEvent(QResizeEvent *event)
{
    // Receives the viewport's resizes too, as when a scroll bar comes or goes.
    QScrollArea::resizeEvent(event);
    placePanes();
}

void RoutingMatrixGrid::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QScrollArea::wheelEvent(event);
        return;
    }
    const int delta = event->angleDelta().y();
    if (delta != 0)
        Q_EMIT zoomRequested(delta > 0 ? std::max(1, delta / 120) : std::min(-1, delta / 120));
    event->accept();
}

bool RoutingMatrixGrid::event(QEvent *event)
{
    // The wheel over a frozen pane scrolls (or zooms) the grid as it does over the cells.
    if (event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QScrollArea::event(event);
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
        const QFont font = RoutingMatrixFonts::standard(m_model.layout.cellSize).label;
        painter.setFont(font);
        painter.setPen(palette().color(QPalette::PlaceholderText));
        // The header is measured to the widest label; the elision only guards a font that
        // changed since.
        const QString shown =
            QFontMetrics(font).elidedText(label, Qt::ElideRight, upright.width() - 8);
        painter.drawText(QRect(QPoint(), upright), Qt::AlignCenter, shown);
    }
    QImage turned = text.transformed(QTransform().rotate(-90));
    turned.setDevicePixelRatio(pixelRatio);
    return *m_turnedLabels.insert(label, turned);
}

void RoutingMatrixGrid::changeEvent(QEvent *event)
{
    QScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
        m_turnedLabels.clear();
        m_headerStrip = QImage();
        m_columnHeader->update();
    }
}

QRect RoutingMatrixGrid::columnHeaderRect(qsizetype column) const
{
    const RoutingMatrixLayout &layout = m_model.layout;
    const int pitch = layout.cellSize + RoutingMatrixLayout::gridSpacing;
    return QRect(m_columnHeader->x() + int(column) * pitch - horizontalScrollBar()->value(),
                 m_columnHeader->y(), layout.cellSize, layout.columnHeaderHeight);
}

bool RoutingMatrixGrid::showColumnTip(const QHelpEvent &help)
{
    const QPoint at = help.pos() + m_columnHeader->pos();
    for (qsizetype column = 0; column < m_model.columns.size(); ++column) {
        const QRect header = columnHeaderRect(column);
        if (!header.contains(at))
            continue;
        const RoutingMatrixColumn &shown = m_model.columns.at(column);
        QString tip = shown.channelLabel;
        if (!shown.sharedBy.isEmpty())
            tip += u" · 由 %1 条轨道共用：%2"_s.arg(shown.sharedBy.size())
                       .arg(shown.sharedBy.join(u'、'));
        QToolTip::showText(help.globalPos(), tip, m_columnHeader,
                           header.translated(-m_columnHeader->pos()));
        return true;
    }
    return false;
}

const QImage &RoutingMatrixGrid::headerStrip(qreal pixelRatio)
{
    if (!m_headerStrip.isNull() && m_headerStrip.devicePixelRatio() == pixelRatio)
        return m_headerStrip;
    const RoutingMatrixLayout &layout = m_model.layout;
    const int pitch = layout.cellSize + RoutingMatrixLayout::gridSpacing;
    const QSize size(int(m_model.columns.size()) * pitch, layout.columnHeaderHeight);
    const QPalette &colors = palette();
    QImage strip(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    strip.setDevicePixelRatio(pixelRatio);
    strip.fill(colors.color(QPalette::Window));
    QPainter painter(&strip);
    for (qsizetype column = 0; column < m_model.columns.size(); ++column) {
        const QRect header(int(column) * pitch, 0, layout.cellSize, layout.columnHeaderHeight);
        const bool shared = !m_model.columns.at(column).sharedBy.isEmpty();
        paintMatrixBox(painter, header,
                       shared ? sharedInputTint(colors.color(QPalette::Base))
                              : colors.color(QPalette::Base),
                       colors.color(QPalette::WindowText));
        // Reading upwards.
        painter.drawImage(header.topLeft(),
                          turnedLabel(m_model.columns.at(column).channelLabel, pixelRatio));
    }
    painter.end();
    m_headerStrip = strip;
    return m_headerStrip;
}

void RoutingMatrixGrid::paintColumnHeaders(QPainter &painter, const QRect &area)
{
    if (m_model.columns.isEmpty()) {
        painter.fillRect(area, palette().color(QPalette::Window));
        return;
    }
    // NOTE: the row is copied from one image drawn in advance. Drawn box by box, every header
    // taller than a hundred pixels went through Qt's thread pool three times (its two sides and
    // its label) on every scroll step.
    const qreal ratio = devicePixelRatioF();
    const QImage &strip = headerStrip(ratio);
    // The strip's x of the header's left edge, from the same rectangles the tooltips use.
    const int offset = m_columnHeader->x() - columnHeaderRect(0).left();
    const QRect wanted = area.translated(offset, 0);
    const QRect source =
        wanted.intersected(QRect(QPoint(), strip.deviceIndependentSize().toSize()));
    if (source != wanted)
        painter.fillRect(area, palette().color(QPalette::Window));
    if (!source.isEmpty())
        painter.drawImage(source.topLeft() - QPoint(offset, 0), strip,
                          QRectF(QPointF(source.topLeft()) * ratio, QSizeF(source.size()) * ratio));
}

} // namespace kelvary::ui
