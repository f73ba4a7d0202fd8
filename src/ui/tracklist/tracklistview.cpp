#include "tracklist/tracklistview.h"

#include "app/sessionviewmodel.h"
#include "tracklist/tracktableview.h"

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

    auto *title = new QLabel(u"尚未加载 Session Report"_s, page);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    auto *description = new QLabel(
        u"从 DiGiCo 调音台导出 .rtf Session Report（需勾选 Channels），点击「打开报告」，"
        "或将文件拖入窗口。"_s,
        page);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignCenter);
    description->setForegroundRole(QPalette::PlaceholderText);
    description->setFixedWidth(440);
    // NOTE: a wrapped label placed with an alignment gets its size hint, whose height is for
    // another width; without this the second line is cut off.
    description->setMinimumHeight(description->heightForWidth(440));
    layout->addWidget(description, 0, Qt::AlignHCenter);

    // NOTE: Ctrl+O belongs to the window's "打开报告" command, which shows the same panel; a
    // second holder of the shortcut would make Qt fire neither.
    m_openReportButton = new QPushButton(u"打开报告…"_s, page);
    m_openReportButton->setToolTip(QKeySequence(u"Ctrl+O"_s).toString(QKeySequence::NativeText));
    connect(m_openReportButton, &QPushButton::clicked, m_viewModel,
            &SessionViewModel::showImportPanel);
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

    m_noInputNotice = new QLabel(u"未检测到音频输入"_s, page);
    QFont caption = m_noInputNotice->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    m_noInputNotice->setFont(caption);
    m_noInputNotice->setForegroundRole(QPalette::PlaceholderText);
    m_noInputNotice->setContentsMargins(12, 10, 12, 10);
    layout->addWidget(m_noInputNotice);

    m_table = new TrackTableView(m_viewModel, page);
    layout->addWidget(m_table, 1);
    return page;
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
    // NOTE: the routing matrix is not built yet; until it is, both modes show the table.
    const bool hasTracks = !m_viewModel->tracks().isEmpty();
    m_noInputNotice->setVisible(m_viewModel->audioInputCatalog().devices().isEmpty());
    setCurrentWidget(hasTracks ? m_listPage : m_emptyState);
}

} // namespace kelvary::ui
