#include "routingmatrix/trackroutingmatrixview.h"

#include "app/sessionviewmodel.h"
#include "devices/planneddevicedialogs.h"
#include "routingmatrix/routingmatrixdeviceheader.h"
#include "routingmatrix/routingmatrixgrid.h"
#include "routingmatrix/routingmatrixpaintview.h"
#include "shell/symbolicon.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSlider>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

namespace {

// How close to the edge of the visible grid a paint drag must come before the grid follows it,
// and the most it moves per step.
constexpr int autoScrollMargin = 24;
constexpr int autoScrollStep = 40;

int autoScrollDelta(qreal position, int length)
{
    if (position < autoScrollMargin)
        return -std::min(autoScrollStep, int(autoScrollMargin - position) / 2 + 1);
    if (position > length - autoScrollMargin)
        return std::min(autoScrollStep, int(position - (length - autoScrollMargin)) / 2 + 1);
    return 0;
}

} // namespace

TrackRoutingMatrixView::TrackRoutingMatrixView(SessionViewModel *viewModel, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
{
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pages = new QStackedWidget(this);
    layout->addWidget(m_pages);

    // The unavailable-content panel, under the device header in the states that have a device.
    m_panelPage = new QWidget(m_pages);
    auto *panelLayout = new QVBoxLayout(m_panelPage);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(8);
    m_panelHeader = new RoutingMatrixDeviceHeader(m_viewModel, m_panelPage);
    auto *headerRow = new QHBoxLayout;
    headerRow->setContentsMargins(12, 12, 12, 12);
    headerRow->addWidget(m_panelHeader);
    headerRow->addStretch(1);
    panelLayout->addLayout(headerRow);
    panelLayout->addStretch(1);
    m_panelSymbol = new QLabel(m_panelPage);
    m_panelSymbol->setAlignment(Qt::AlignCenter);
    panelLayout->addWidget(m_panelSymbol);
    m_panelTitle = new QLabel(m_panelPage);
    QFont titleFont = m_panelTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    m_panelTitle->setFont(titleFont);
    m_panelTitle->setAlignment(Qt::AlignCenter);
    panelLayout->addWidget(m_panelTitle);
    m_panelDescription = new QLabel(m_panelPage);
    m_panelDescription->setWordWrap(true);
    m_panelDescription->setAlignment(Qt::AlignCenter);
    m_panelDescription->setForegroundRole(QPalette::PlaceholderText);
    m_panelDescription->setFixedWidth(440);
    auto *descriptionRow = new QHBoxLayout;
    descriptionRow->addStretch(1);
    descriptionRow->addWidget(m_panelDescription);
    descriptionRow->addStretch(1);
    panelLayout->addLayout(descriptionRow);
    m_addPlannedDeviceButton = newAddPlannedDeviceButton(m_panelPage);
    panelLayout->addWidget(m_addPlannedDeviceButton, 0, Qt::AlignHCenter);
    panelLayout->addStretch(1);
    m_pages->addWidget(m_panelPage);

    m_loadingPage = new QWidget(m_pages);
    auto *loadingLayout = new QVBoxLayout(m_loadingPage);
    loadingLayout->addStretch(1);
    auto *spinner = new QProgressBar(m_loadingPage);
    spinner->setRange(0, 0);
    spinner->setTextVisible(false);
    spinner->setFixedWidth(160);
    loadingLayout->addWidget(spinner, 0, Qt::AlignHCenter);
    m_loadingLabel = new QLabel(u"加载路由矩阵…"_s, m_loadingPage);
    m_loadingLabel->setAlignment(Qt::AlignCenter);
    loadingLayout->addWidget(m_loadingLabel);
    loadingLayout->addStretch(1);
    m_pages->addWidget(m_loadingPage);

    bool stored = false;
    const int storedSize = QSettings().value(cellSizeSettingsKey).toInt(&stored);
    m_cellSize = stored ? clampedMatrixCellSize(storedSize) : RoutingMatrixLayout::defaultCellSize;
    m_grid = new RoutingMatrixGrid(m_viewModel, m_pages);
    m_pages->addWidget(m_grid);
    QSlider *zoom = m_grid->deviceHeader()->addZoomSlider();
    zoom->setValue(m_cellSize);
    connect(zoom, &QSlider::valueChanged, this, &TrackRoutingMatrixView::setCellSize);
    connect(m_grid, &RoutingMatrixGrid::zoomRequested, this,
            [this](int steps) { setCellSize(m_cellSize + 2 * steps); });

    m_autoScroll = new QTimer(this);
    m_autoScroll->setInterval(16);
    connect(m_autoScroll, &QTimer::timeout, this, &TrackRoutingMatrixView::scrollTowardsPointer);

    RoutingMatrixPaintView *cells = m_grid->paintView();
    connect(cells, &RoutingMatrixPaintView::paintRequested, this,
            [this](const QUuid &trackID, const QString &columnID) {
                m_viewModel->recordUndoSnapshotIfNeeded();
                m_viewModel->patchAudioInput(columnID, trackID);
            });
    connect(cells, &RoutingMatrixPaintView::clearRequested, this, [this](const QUuid &trackID) {
        m_viewModel->recordUndoSnapshotIfNeeded();
        m_viewModel->assignAudioInputChannel(std::nullopt, trackID);
    });
    connect(cells, &RoutingMatrixPaintView::paintingChanged, this,
            &TrackRoutingMatrixView::setPaintingRoutes);
    for (RoutingMatrixDeviceHeader *header : {m_panelHeader, m_grid->deviceHeader()}) {
        connect(header, &RoutingMatrixDeviceHeader::deviceChosen, this,
                [this](const QString &deviceUID) { setSelectedDeviceUID(deviceUID); });
    }

    connect(m_viewModel, &SessionViewModel::sessionChanged, this,
            &TrackRoutingMatrixView::rebuildModel);
    connect(m_viewModel, &SessionViewModel::audioInputCatalogRevisionChanged, this,
            &TrackRoutingMatrixView::chooseDevice);
    chooseDevice();
}

TrackRoutingMatrixView::~TrackRoutingMatrixView()
{
    // The cells cancel their gesture when QWidget's destructor hides them; by then this view is
    // no longer one, so they must not reach back into it.
    disconnect(m_grid->paintView(), nullptr, this, nullptr);
    // A view dropped in the middle of a drag must still close the undo group it opened, or every
    // later edit would fold into it.
    if (m_isPaintingRoutes)
        m_viewModel->endGroupedMutation();
}

RoutingMatrixDeviceHeader *TrackRoutingMatrixView::deviceHeader() const
{
    return m_state == State::grid ? m_grid->deviceHeader() : m_panelHeader;
}

RoutingMatrixPaintView *TrackRoutingMatrixView::paintView() const
{
    return m_grid->paintView();
}

QScrollArea *TrackRoutingMatrixView::scrollArea() const
{
    return m_grid;
}

void TrackRoutingMatrixView::setCellSize(int size)
{
    QSlider *zoom = m_grid->deviceHeader()->zoomSlider();
    // The cells must not move under a paint drag; the slider goes back to the size kept.
    if (m_isPaintingRoutes || clampedMatrixCellSize(size) == m_cellSize) {
        const QSignalBlocker blocker(zoom);
        zoom->setValue(m_cellSize);
        return;
    }
    m_cellSize = clampedMatrixCellSize(size);
    QSettings().setValue(cellSizeSettingsKey, m_cellSize);
    {
        const QSignalBlocker blocker(zoom);
        zoom->setValue(m_cellSize);
    }
    // The cell at the top-left corner of the view stays there.
    const std::optional<int> oldPitch =
        m_matrixModel
            ? std::optional(m_matrixModel->layout.cellSize + RoutingMatrixLayout::gridSpacing)
            : std::nullopt;
    QScrollBar *horizontal = m_grid->horizontalScrollBar();
    QScrollBar *vertical = m_grid->verticalScrollBar();
    const QPoint oldScroll(horizontal->value(), vertical->value());
    rebuildModel();
    if (oldPitch && m_matrixModel) {
        const qreal scale =
            qreal(m_matrixModel->layout.cellSize + RoutingMatrixLayout::gridSpacing) / *oldPitch;
        horizontal->setValue(qRound(oldScroll.x() * scale));
        vertical->setValue(qRound(oldScroll.y() * scale));
    }
}

void TrackRoutingMatrixView::setSelectedDeviceUID(const std::optional<QString> &deviceUID)
{
    m_selectedDeviceUID = deviceUID;
    rebuildModel();
}

void TrackRoutingMatrixView::chooseDevice()
{
    const AudioInputCatalog &catalog = m_viewModel->audioInputCatalog();
    if (!m_selectedDeviceUID) {
        // The selection's shared device counts only while the catalogue still has it.
        const std::optional<QString> shared = m_viewModel->sharedAssignedDeviceUID();
        if (shared && deviceWithID(shared, catalog.devices()))
            m_selectedDeviceUID = shared;
        else if (!catalog.devices().isEmpty())
            m_selectedDeviceUID = catalog.devices().first().id;
    }
    rebuildModel();
}

void TrackRoutingMatrixView::rebuildModel()
{
    // The name widths are kept while the fonts stay the same.
    const RoutingMatrixFonts standard = RoutingMatrixFonts::standard(m_cellSize);
    if (standard.label != m_fonts.label || standard.deviceName != m_fonts.deviceName)
        m_fonts = standard;
    const RoutingMatrixFonts &fonts = m_fonts;
    const AudioInputCatalog &catalog = m_viewModel->audioInputCatalog();
    const TrackList tracks = matrixTracks(m_viewModel->tracks());
    m_matrixModel =
        buildRoutingMatrixModel(m_selectedDeviceUID, catalog, tracks, fonts, m_cellSize);
    if (!m_matrixModel && m_selectedDeviceUID) {
        // The chosen device went away: choose again as on entering routing mode, rather than
        // wait for a device that may never come back.
        m_selectedDeviceUID.reset();
        chooseDevice();
        return;
    }
    showState();
}

void TrackRoutingMatrixView::showState()
{
    const QList<AudioInputDevice> &devices = m_viewModel->audioInputCatalog().devices();
    if (devices.isEmpty())
        m_state = State::noDevices;
    else if (!m_matrixModel)
        m_state = State::loading;
    else if (m_matrixModel->columns.isEmpty())
        m_state = State::noChannels;
    else if (matrixTracks(m_viewModel->tracks()).isEmpty())
        m_state = State::noTracks;
    else
        m_state = State::grid;

    if (m_matrixModel) {
        const std::optional<AudioInputDevice> device =
            deviceWithID(m_selectedDeviceUID.value_or(devices.first().id), devices);
        const QString label = device ? deviceMenuLabel(*device) : u"选择输入设备"_s;
        const RoutingMatrixLayout &layout = m_matrixModel->layout;
        for (RoutingMatrixDeviceHeader *header : {m_panelHeader, m_grid->deviceHeader()})
            header->setLabel(label);
        m_panelHeader->setFixedSize(layout.nameColumnWidth, layout.columnHeaderHeight);
    }

    switch (m_state) {
    case State::noDevices:
        showPanel(u"mic.slash"_s, u"无音频输入设备"_s, u"路由矩阵需要本机音频输入设备信息。"_s,
                  false);
        break;
    case State::loading:
        m_pages->setCurrentWidget(m_loadingPage);
        break;
    case State::noChannels:
        showPanel(u"circle.grid.cross"_s, u"无可用通道"_s, u"当前设备没有可用的单声道输入通道。"_s,
                  true);
        break;
    case State::noTracks:
        showPanel(u"checkmark.circle"_s, u"无选中通道"_s,
                  u"请在通道列表中勾选「选中」，已选中的轨道会显示在路由矩阵中。"_s, true);
        break;
    case State::grid:
        m_grid->setModel(*m_matrixModel);
        m_pages->setCurrentWidget(m_grid);
        break;
    }
}

void TrackRoutingMatrixView::showPanel(const QString &symbol, const QString &title,
                                       const QString &description, bool withHeader)
{
    m_panelHeader->setVisible(withHeader);
    m_addPlannedDeviceButton->setVisible(m_state == State::noDevices);
    m_panelSymbolName = symbol;
    m_panelSymbol->setPixmap(symbolIcon(symbol, false).pixmap(48, 48, QIcon::Disabled));
    m_panelTitle->setText(title);
    m_panelDescription->setText(description);
    m_pages->setCurrentWidget(m_panelPage);
}

void TrackRoutingMatrixView::setPaintingRoutes(bool painting)
{
    if (painting == m_isPaintingRoutes)
        return;
    m_isPaintingRoutes = painting;
    // The drag paints; neither the wheel nor the scroll bars may move the grid under it.
    m_grid->horizontalScrollBar()->setEnabled(!painting);
    m_grid->verticalScrollBar()->setEnabled(!painting);
    if (painting) {
        m_viewModel->beginGroupedMutation();
        m_autoScroll->start();
    } else {
        m_autoScroll->stop();
        m_viewModel->endGroupedMutation();
    }
}

void TrackRoutingMatrixView::scrollTowardsPointer()
{
    RoutingMatrixPaintView *cells = m_grid->paintView();
    if (cells->dragState() != RoutingMatrixPaintView::DragState::painting)
        return;
    QWidget *viewport = m_grid->viewport();
    const QPointF pointer = viewport->mapFromGlobal(cells->pointerGlobalPosition());
    QScrollBar *horizontal = m_grid->horizontalScrollBar();
    QScrollBar *vertical = m_grid->verticalScrollBar();
    const int oldX = horizontal->value();
    const int oldY = vertical->value();
    horizontal->setValue(oldX + autoScrollDelta(pointer.x(), viewport->width()));
    vertical->setValue(oldY + autoScrollDelta(pointer.y(), viewport->height()));
    if (horizontal->value() != oldX || vertical->value() != oldY)
        cells->continueDrag();
}

void TrackRoutingMatrixView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ApplicationFontChange)
        rebuildModel();
    else if (event->type() == QEvent::PaletteChange && !m_panelSymbolName.isEmpty())
        m_panelSymbol->setPixmap(
            symbolIcon(m_panelSymbolName, false).pixmap(48, 48, QIcon::Disabled));
}

} // namespace kelvary::ui
