#include "tracklist/tracklistview.h"

#include "app/sessionviewmodel.h"
#include "routingmatrix/trackroutingmatrixview.h"
#include "shell/symbolicon.h"

#include <QBrush>
#include <QColor>
#include <QEvent>
#include <QLabel>
#include <QListView>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

TrackNameListModel::TrackNameListModel(SessionViewModel *viewModel, QObject *parent)
    : QAbstractListModel(parent)
    , m_viewModel(viewModel)
{
    connect(m_viewModel, &SessionViewModel::sessionChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int TrackNameListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_viewModel->tracks().size());
}

QVariant TrackNameListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const TrackChannel &track = m_viewModel->tracks().at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return u"%1  %2"_s.arg(track.channelLabel, track.name);
    case Qt::DecorationRole:
        return QColor::fromRgbF(float(track.color.red), float(track.color.green),
                                float(track.color.blue));
    case Qt::ForegroundRole:
        // Tracks left out of the export are greyed.
        return track.isIncluded ? QVariant()
                                : QVariant(QPalette().brush(QPalette::PlaceholderText));
    default:
        return {};
    }
}

TrackListView::TrackListView(SessionViewModel *viewModel, QWidget *parent)
    : QStackedWidget(parent)
    , m_viewModel(viewModel)
{
    m_emptyState = new QWidget(this);
    auto *emptyLayout = new QVBoxLayout(m_emptyState);
    emptyLayout->setSpacing(10);
    emptyLayout->addStretch(1);

    m_emptySymbol = new QLabel(m_emptyState);
    m_emptySymbol->setAlignment(Qt::AlignCenter);
    emptyLayout->addWidget(m_emptySymbol);
    showEmptySymbol();

    auto *title = new QLabel(u"尚未加载 Session Report"_s, m_emptyState);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    emptyLayout->addWidget(title);

    auto *description = new QLabel(
        u"从 DiGiCo 调音台导出 .rtf Session Report（需勾选 Channels），点击「打开报告」，"
        "或将文件拖入窗口。"_s,
        m_emptyState);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignCenter);
    description->setForegroundRole(QPalette::PlaceholderText);
    description->setFixedWidth(440);
    // Centred by stretches rather than an alignment flag: an aligned item gets its single-line
    // size hint and the wrapped text would be cut.
    auto *descriptionRow = new QHBoxLayout;
    descriptionRow->addStretch(1);
    descriptionRow->addWidget(description);
    descriptionRow->addStretch(1);
    emptyLayout->addLayout(descriptionRow);

    // NOTE: Ctrl+O is not set on this button: the sidebar's "打开报告" carries it while this
    // page shows, and two holders of one shortcut would make Qt fire neither.
    m_openReportButton = new QPushButton(u"打开报告…"_s, m_emptyState);
    m_openReportButton->setToolTip(QKeySequence(u"Ctrl+O"_s).toString(QKeySequence::NativeText));
    connect(m_openReportButton, &QPushButton::clicked, m_viewModel,
            &SessionViewModel::showImportPanel);
    emptyLayout->addSpacing(4);
    emptyLayout->addWidget(m_openReportButton, 0, Qt::AlignHCenter);
    emptyLayout->addStretch(1);
    addWidget(m_emptyState);

    m_trackList = new QListView(this);
    m_trackList->setModel(new TrackNameListModel(m_viewModel, m_trackList));
    m_trackList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_trackList->setSelectionMode(QAbstractItemView::NoSelection);
    m_trackList->setFrameShape(QFrame::NoFrame);
    m_trackList->setUniformItemSizes(true);
    addWidget(m_trackList);

    connect(m_viewModel, &SessionViewModel::sessionChanged, this, &TrackListView::showCurrentPage);
    showCurrentPage();
}

void TrackListView::setDisplayMode(TrackListDisplayMode mode)
{
    m_displayMode = mode;
    showCurrentPage();
}

void TrackListView::changeEvent(QEvent *event)
{
    QStackedWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        showEmptySymbol();
}

void TrackListView::showEmptySymbol()
{
    m_emptySymbol->setPixmap(symbolIcon(u"doc.text"_s, false).pixmap(48, 48, QIcon::Disabled));
}

void TrackListView::showCurrentPage()
{
    const bool hasTracks = !m_viewModel->tracks().isEmpty();
    const bool routing = hasTracks && m_displayMode == TrackListDisplayMode::routing;
    // The matrix keeps its chosen device only while it is shown: it starts afresh each time.
    if (!routing && m_routingMatrix) {
        delete m_routingMatrix;
        m_routingMatrix = nullptr;
    } else if (routing && !m_routingMatrix) {
        m_routingMatrix = new TrackRoutingMatrixView(m_viewModel, this);
        addWidget(m_routingMatrix);
    }
    if (routing)
        setCurrentWidget(m_routingMatrix);
    else
        setCurrentWidget(hasTracks ? static_cast<QWidget *>(m_trackList) : m_emptyState);
}

} // namespace kelvary::ui
