#include "mainwindow/sidebar.h"

#include "app/sessionviewmodel.h"
#include "mainwindow/exportformatpicker.h"
#include "shell/commandbroadcaster.h"
#include "shell/symbolicon.h"
#include "typebar/channeltypequickpickbar.h"

#include <QAction>
#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QSpinBox>
#include <QTextLayout>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

namespace {

QString orDash(const QString &text)
{
    return text.isEmpty() ? u"—"_s : text;
}

QLabel *sectionTitle(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 0.9);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

} // namespace

ElidedLabel::ElidedLabel(int maxLines, QWidget *parent)
    : QLabel(parent)
    , m_maxLines(maxLines)
{
    // The sidebar sets the width; a long name must not push it wider.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(1);
    setTextFormat(Qt::PlainText);
}

void ElidedLabel::setFullText(const QString &text)
{
    m_fullText = text;
    setToolTip(text);
    reflow();
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    reflow();
}

void ElidedLabel::reflow()
{
    const int width = contentsRect().width();
    const QFontMetrics metrics = fontMetrics();
    QStringList lines;
    QString rest = m_fullText;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    while (!rest.isEmpty() && lines.size() < m_maxLines - 1) {
        QTextLayout layout(rest, font());
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(width);
        layout.endLayout();
        const int length = std::max(1, line.textLength());
        lines.append(rest.left(length).trimmed());
        rest = rest.mid(length);
    }
    if (!rest.isEmpty())
        lines.append(metrics.elidedText(rest, Qt::ElideMiddle, width));
    setText(lines.join(u'\n'));
}

Sidebar::Sidebar(SessionViewModel *viewModel, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
{
    setMinimumWidth(minimumWidth);
    setMaximumWidth(maximumWidth);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Title and the sidebar's own toolbar.
    auto *header = new QHBoxLayout;
    header->setContentsMargins(14, 10, 8, 6);
    auto *title = new QLabel(u"Kelvary"_s, this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    title->setFont(titleFont);
    header->addWidget(title);
    header->addStretch(1);
    m_openReport = new QAction(symbolIcon(u"doc.text"_s, false), u"打开报告"_s, this);
    m_openReport->setShortcutContext(Qt::WindowShortcut);
    // The same request as the menu's "导入…": the window asks about unsaved changes first.
    connect(m_openReport, &QAction::triggered, &CommandBroadcaster::instance(),
            &CommandBroadcaster::kelvaryImportReportRequested);
    auto *openButton = new QToolButton(this);
    openButton->setDefaultAction(m_openReport);
    openButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    openButton->setAutoRaise(true);
    header->addWidget(openButton);
    layout->addLayout(header);

    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *content = new QWidget(scroll);
    auto *sections = new QVBoxLayout(content);
    sections->setContentsMargins(14, 4, 14, 14);
    sections->setSpacing(6);

    sections->addWidget(sectionTitle(u"工程"_s, content));
    m_facts = new QFormLayout;
    m_facts->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_facts->setLabelAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_facts->setHorizontalSpacing(12);
    m_facts->setVerticalSpacing(4);
    for (const QString &fact :
         {u"名称"_s, u"调音台"_s, u"来源文件"_s, u"保存时间"_s, u"软件版本"_s}) {
        auto *value = new ElidedLabel(fact == u"来源文件" ? 2 : 1, content);
        value->setForegroundRole(QPalette::PlaceholderText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_facts->addRow(fact, value);
        m_factLabels.append({fact, value});
    }
    sections->addLayout(m_facts);

    sections->addSpacing(10);
    sections->addWidget(sectionTitle(u"导出"_s, content));
    m_exportFormat = new ExportFormatPicker(content);
    connect(m_exportFormat, &ExportFormatPicker::formatActivated, m_viewModel,
            &SessionViewModel::setExportFormat);
    sections->addWidget(m_exportFormat);

    // Virtual soundcheck: each track plays back to the output of the input it records from, or
    // an offset further for an interface whose playback outputs start elsewhere.
    m_playbackSwitch = new QCheckBox(u"虚拟声检回放"_s, content);
    m_playbackSwitch->setToolTip(u"每条轨道回放到与其录音输入同号的接口输出，"
                                 "写入 Reaper 模版、Ardour 会话和 PDF 通道表。"_s);
    m_playbackOffset = new QSpinBox(content);
    m_playbackOffset->setRange(0, int(maximumPlannedInputCount));
    m_playbackOffset->setPrefix(u"输出偏移 +"_s);
    m_playbackOffset->setToolTip(u"输入 n 回放到输出 n + 偏移"_s);
    m_playbackOffset->setKeyboardTracking(false);
    const auto changePlayback = [this] {
        m_viewModel->setPlaybackOutputs(
            {m_playbackSwitch->isChecked(), qint64(m_playbackOffset->value())});
        showPlayback();
    };
    connect(m_playbackSwitch, &QCheckBox::toggled, this, changePlayback);
    connect(m_playbackOffset, &QSpinBox::valueChanged, this, changePlayback);
    auto *playbackRow = new QHBoxLayout;
    playbackRow->setContentsMargins(0, 0, 0, 0);
    playbackRow->addWidget(m_playbackSwitch, 1);
    playbackRow->addWidget(m_playbackOffset);
    sections->addLayout(playbackRow);

    sections->addSpacing(10);
    sections->addWidget(sectionTitle(u"通道"_s, content));
    m_stereoSwitch = new QCheckBox(u"立体声通道分离"_s, content);
    connect(m_stereoSwitch, &QCheckBox::toggled, this, [this](bool split) {
        m_viewModel->setSplitStereoChannels(split);
        // The view model may keep the switch as it was; the box shows what it decided.
        const QSignalBlocker blocker(m_stereoSwitch);
        m_stereoSwitch->setChecked(m_viewModel->splitStereoChannels());
    });
    sections->addWidget(m_stereoSwitch);

    sections->addSpacing(10);
    sections->addWidget(sectionTitle(u"按类型"_s, content));
    m_typeBar = new ChannelTypeQuickPickBar(m_viewModel, Qt::Vertical, false, content);
    sections->addWidget(m_typeBar);
    sections->addStretch(1);
    scroll->setWidget(content);
    layout->addWidget(scroll, 1);

    m_statusBar = new QFrame(this);
    m_statusBar->setFrameShape(QFrame::NoFrame);
    m_statusBar->setAutoFillBackground(true);
    m_statusBar->setBackgroundRole(QPalette::AlternateBase);
    auto *statusLayout = new QVBoxLayout(m_statusBar);
    statusLayout->setContentsMargins(8, 8, 8, 8);
    m_statusLabel = new QLabel(m_statusBar);
    QFont caption = m_statusLabel->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    m_statusLabel->setFont(caption);
    m_statusLabel->setForegroundRole(QPalette::PlaceholderText);
    m_statusLabel->setWordWrap(true);
    m_statusLabel->setTextFormat(Qt::PlainText);
    m_statusLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_statusLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    statusLayout->addWidget(m_statusLabel);
    layout->addWidget(m_statusBar);

    connect(m_viewModel, &SessionViewModel::sessionChanged, this, &Sidebar::showSession);
    connect(m_viewModel, &SessionViewModel::splitStereoChannelsChanged, this,
            &Sidebar::showSession);
    connect(m_viewModel, &SessionViewModel::exportFormatChanged, this, [this] {
        m_exportFormat->setFormat(m_viewModel->exportFormat());
        showPlayback();
    });
    connect(m_viewModel, &SessionViewModel::playbackOutputsChanged, this, &Sidebar::showPlayback);
    connect(m_viewModel, &SessionViewModel::statusMessageChanged, this, &Sidebar::showStatus);
    connect(m_viewModel, &SessionViewModel::isLoadingChanged, this,
            [this] { m_openReport->setEnabled(!m_viewModel->isLoading()); });
    m_exportFormat->setFormat(m_viewModel->exportFormat());
    showPlayback();
    showSession();
    showStatus();
}

ElidedLabel *Sidebar::sessionFact(const QString &title) const
{
    for (const auto &[fact, label] : m_factLabels) {
        if (fact == title)
            return label;
    }
    return nullptr;
}

bool Sidebar::isSessionFactShown(const QString &title) const
{
    return m_facts->isRowVisible(sessionFact(title));
}

void Sidebar::showSession()
{
    const ParsedSession &session = m_viewModel->session();
    sessionFact(u"名称"_s)->setFullText(orDash(session.sessionName));
    sessionFact(u"调音台"_s)->setFullText(orDash(session.consoleName));
    sessionFact(u"来源文件"_s)->setFullText(session.sourceFileName);
    m_facts->setRowVisible(sessionFact(u"来源文件"_s), !session.sourceFileName.isEmpty());
    sessionFact(u"保存时间"_s)->setFullText(orDash(session.saveTime));
    sessionFact(u"软件版本"_s)->setFullText(orDash(session.softwareVersion));

    // The switch follows the view model, which may refuse or reset the split.
    const QSignalBlocker blocker(m_stereoSwitch);
    m_stereoSwitch->setChecked(m_viewModel->splitStereoChannels());
    m_stereoSwitch->setEnabled(m_viewModel->hasStereoCandidates());
}

void Sidebar::showPlayback()
{
    // Only the Reaper template and the Ardour session carry hardware outputs.
    const TemplateExportFormat format = m_viewModel->exportFormat();
    const bool offered = format == TemplateExportFormat::reaperTrackTemplate ||
                         format == TemplateExportFormat::ardourSession;
    const PlaybackOutputs &playback = m_viewModel->playbackOutputs();
    const QSignalBlocker switchBlocker(m_playbackSwitch);
    const QSignalBlocker offsetBlocker(m_playbackOffset);
    m_playbackSwitch->setChecked(playback.enabled);
    m_playbackSwitch->setEnabled(offered);
    if (playback.enabled)
        m_playbackOffset->setValue(int(playback.offset));
    m_playbackOffset->setEnabled(offered && playback.enabled);
}

void Sidebar::showStatus()
{
    const std::optional<QString> &message = m_viewModel->statusMessage();
    m_statusLabel->setText(message.value_or(QString()));
    m_statusBar->setVisible(message.has_value());
}

} // namespace kelvary::ui
