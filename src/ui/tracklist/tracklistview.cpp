#include "tracklist/tracklistview.h"

#include "app/sessionviewmodel.h"
#include "devices/planneddevicedialogs.h"
#include "routingmatrix/trackroutingmatrixview.h"
#include "shell/commandbroadcaster.h"
#include "shell/symbolicon.h"
#include "tracklist/tracktableview.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

TrackListView::TrackListView(SessionViewModel *viewModel, QWidget *parent)
    : QStackedWidget(parent)
    , m_viewModel(viewModel)
{
    m_emptyState = makeEmptyState();
    addWidget(m_emptyState);
    m_listPage = makeListPage();
    addWidget(m_listPage);
    showSymbols();

    connect(m_viewModel, &SessionViewModel::sessionChanged, this, &TrackListView::showCurrentPage);
    connect(m_viewModel, &SessionViewModel::audioInputCatalogChanged, this,
            &TrackListView::showCurrentPage);
    showCurrentPage();
}

QWidget *TrackListView::makeEmptyState()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->setSpacing(10);
    layout->addStretch(1);

    m_emptySymbol = new QLabel(page);
    m_emptySymbol->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_emptySymbol);

    auto *title = new QLabel(u"尚未加载 Session Report"_s, page);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    auto *description = new QLabel(
        u"从 DiGiCo 调音台导出 .rtf Session Report（需勾选 Channels），点击「打开报告」，"
        "或将文件拖入窗口。\n也可打开 X32/M32 场景（.scn）、WING 快照（.snap）"
        "或通道表格（.csv、.tsv）。"_s,
        page);
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
    layout->addLayout(descriptionRow);

    // NOTE: Ctrl+O belongs to the window's "打开报告" command, which shows the same panel; a
    // second holder of the shortcut would make Qt fire neither.
    m_openReportButton = new QPushButton(u"打开报告…"_s, page);
    m_openReportButton->setToolTip(QKeySequence(u"Ctrl+O"_s).toString(QKeySequence::NativeText));
    // The same request as the menu's "导入…": the window asks about unsaved changes first.
    connect(m_openReportButton, &QPushButton::clicked, &CommandBroadcaster::instance(),
            &CommandBroadcaster::kelvaryImportReportRequested);
    layout->addSpacing(4);
    layout->addWidget(m_openReportButton, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    return page;
}

QWidget *TrackListView::makeListPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_noInputNotice = new QWidget(page);
    auto *notice = new QHBoxLayout(m_noInputNotice);
    notice->setContentsMargins(12, 10, 12, 10);
    notice->setSpacing(6);
    m_noInputSymbol = new QLabel(m_noInputNotice);
    notice->addWidget(m_noInputSymbol);
    auto *noticeText = new QLabel(u"未检测到音频输入"_s, m_noInputNotice);
    QFont caption = noticeText->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    noticeText->setFont(caption);
    noticeText->setForegroundRole(QPalette::PlaceholderText);
    notice->addWidget(noticeText);
    m_addPlannedDeviceButton = newAddPlannedDeviceButton(m_noInputNotice);
    notice->addWidget(m_addPlannedDeviceButton);
    notice->addStretch(1);
    layout->addWidget(m_noInputNotice);

    m_table = new TrackTableView(m_viewModel, page);
    layout->addWidget(m_table, 1);
    return page;
}

void TrackListView::changeEvent(QEvent *event)
{
    QStackedWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        showSymbols();
}

void TrackListView::showSymbols()
{
    m_emptySymbol->setPixmap(symbolIcon(u"doc.text"_s, false).pixmap(48, 48, QIcon::Disabled));
    const int caption = QFontMetrics(m_noInputNotice->font()).height();
    m_noInputSymbol->setPixmap(
        symbolIcon(u"mic.slash"_s, false).pixmap(caption, caption, QIcon::Disabled));
}

void TrackListView::setDisplayMode(TrackListDisplayMode mode)
{
    m_displayMode = mode;
    showCurrentPage();
}

void TrackListView::setColorPicker(ColorPicker picker)
{
    m_table->setColorPicker(std::move(picker));
}

void TrackListView::showCurrentPage()
{
    const bool hasTracks = !m_viewModel->tracks().isEmpty();
    const bool routing = hasTracks && m_displayMode == TrackListDisplayMode::routing;
    m_noInputNotice->setVisible(m_viewModel->audioInputCatalog().attachedDeviceCount() == 0);
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
        setCurrentWidget(hasTracks ? m_listPage : m_emptyState);
}

} // namespace kelvary::ui
