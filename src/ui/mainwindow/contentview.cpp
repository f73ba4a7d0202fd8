#include "mainwindow/contentview.h"

#include "app/sessionviewmodel.h"
#include "devices/consoleroutingdialog.h"
#include "devices/planneddevicedialogs.h"
#include "mainwindow/sessionreportdropmodifier.h"
#include "mainwindow/sessionreportupdatedialog.h"
#include "mainwindow/sidebar.h"
#include "shell/appcommands.h"
#include "shell/appearance.h"
#include "shell/commandbroadcaster.h"
#include "shell/symbolicon.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

namespace {

const QKeySequence openShortcut(u"Ctrl+O"_s);
const QString capturePortPatternKey = u"ardourCapturePortPattern"_s;
const QString sampleRateKey = u"ardourSampleRate"_s;

QString appearanceStyleName(AppAppearanceStyle style)
{
    return style == AppAppearanceStyle::light ? u"浅色"_s : u"深色"_s;
}

QString appearanceStyleSymbol(AppAppearanceStyle style)
{
    return style == AppAppearanceStyle::light ? u"sun.max"_s : u"moon"_s;
}

QMessageBox::StandardButton askWithMessageBox(QWidget *parent, const QString &name)
{
    QMessageBox box(QMessageBox::Warning, QString(), u"是否保存对“%1”的更改？"_s.arg(name),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    // Named here rather than left to Qt's translations, which may be missing and call Discard
    // something else.
    box.button(QMessageBox::Save)->setText(u"保存"_s);
    box.button(QMessageBox::Discard)->setText(u"不保存"_s);
    box.button(QMessageBox::Cancel)->setText(u"取消"_s);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

QString detailTitle(const ParsedSession &session, qsizetype includedCount,
                    TrackListDisplayMode mode)
{
    if (session.tracks.isEmpty())
        return session.sessionName.isEmpty() ? u"Kelvary"_s : session.sessionName;
    if (mode == TrackListDisplayMode::routing)
        return u"路由矩阵"_s;
    return u"通道列表(%1/%2)"_s.arg(includedCount).arg(session.tracks.size());
}

ContentView::ContentView(AudioInputDeviceEnumerator audioInputEnumerator,
                         std::shared_ptr<FilePanels> filePanels, Appearance *appearance,
                         std::function<void()> showAbout, QWidget *parent)
    : QMainWindow(parent)
    , m_viewModel(
          new SessionViewModel(std::move(audioInputEnumerator), std::move(filePanels), this))
    , m_appearance(appearance)
    , m_confirmUpdate([this](const SessionReportUpdate &update, bool changesAnything,
                             const QString &reportName) {
        SessionReportUpdateDialog dialog(update, changesAnything, reportName, this);
        return dialog.exec() == QDialog::Accepted;
    })
    , m_askToSave([this](const QString &name) { return askWithMessageBox(this, name); })
{
    m_commands = new AppCommands(menuBar(), std::move(showAbout), this);
    // The capture port pattern suits the computer, not the show: it is kept in the settings.
    const QString savedPattern = QSettings().value(capturePortPatternKey).toString();
    if (!capturePortPatternProblem(savedPattern))
        m_viewModel->setArdourCapturePortPattern(savedPattern);
    connect(m_viewModel, &SessionViewModel::ardourCapturePortPatternChanged, this, [this] {
        QSettings().setValue(capturePortPatternKey, m_viewModel->ardourCapturePortPattern());
    });
    // So does the sample rate, which follows the interface; an unknown stored rate is ignored.
    m_viewModel->setArdourSampleRate(QSettings().value(sampleRateKey).toLongLong());
    connect(m_viewModel, &SessionViewModel::ardourSampleRateChanged, this,
            [this] { QSettings().setValue(sampleRateKey, m_viewModel->ardourSampleRate()); });

    auto *content = new QWidget(this);
    content->setMinimumSize(minimumContentSize);
    auto *contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);

    m_splitter = new QSplitter(Qt::Horizontal, content);
    m_splitter->setChildrenCollapsible(false);
    m_sidebar = new Sidebar(m_viewModel, m_splitter);
    // The sidebar's shortcut must work whichever widget has the focus.
    addAction(m_sidebar->openReportAction());

    auto *detail = new QWidget(m_splitter);
    auto *detailLayout = new QVBoxLayout(detail);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    detailLayout->setSpacing(0);
    m_title = new QLabel(detail);
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    m_title->setFont(titleFont);
    m_title->setContentsMargins(16, 10, 16, 8);
    detailLayout->addWidget(m_title);
    auto *rule = new QFrame(detail);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    detailLayout->addWidget(rule);
    m_trackList = new TrackListView(m_viewModel, detail);
    detailLayout->addWidget(m_trackList, 1);

    m_splitter->addWidget(m_sidebar);
    m_splitter->addWidget(detail);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({Sidebar::idealWidth, minimumContentSize.width() - Sidebar::idealWidth});
    contentLayout->addWidget(m_splitter);
    setCentralWidget(content);

    buildToolbar();
    subscribeToMenuRequests();
    m_drop = new SessionReportDropModifier(this);
    // Queued: a question must not hold up the drag's source, which waits for the drop to end.
    connect(m_drop, &SessionReportDropModifier::fileDropped, this, &ContentView::openDroppedFile,
            Qt::QueuedConnection);

    connect(m_viewModel, &SessionViewModel::sessionChanged, this, [this] {
        // With no tracks the mode button is disabled; the window must not stay in a mode it
        // could not leave.
        if (m_viewModel->tracks().isEmpty())
            setDisplayMode(TrackListDisplayMode::list);
        updateTitle();
        updateActions();
        updateOpenShortcut();
    });
    for (const auto history :
         {&SessionViewModel::undoSnapshotsChanged, &SessionViewModel::redoSnapshotsChanged})
        connect(m_viewModel, history, this, &ContentView::updateActions);
    for (const auto naming :
         {&SessionViewModel::isModifiedChanged, &SessionViewModel::projectFileURLChanged})
        connect(m_viewModel, naming, this, &ContentView::updateTitle);
    connect(m_viewModel, &SessionViewModel::errorMessageChanged, this,
            &ContentView::showErrorAlert);
    connect(m_appearance, &Appearance::changed, this, &ContentView::updateAppearanceAction);

    updateTitle();
    updateActions();
    updateAppearanceAction();
    updateOpenShortcut();
    // The minimum content size wins over the default size where the two disagree.
    resize(defaultSize.expandedTo(minimumSizeHint()));
}

ContentView::~ContentView() = default;

void ContentView::buildToolbar()
{
    QToolBar *toolbar = addToolBar(u"工具栏"_s);
    toolbar->setObjectName(u"mainToolbar"_s);
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    // The 编辑 menu's actions, with their shortcuts.
    m_undo = m_commands->undoAction();
    m_undo->setToolTip(u"撤销上一步修改"_s);
    connect(m_undo, &QAction::triggered, m_viewModel, &SessionViewModel::undo);
    toolbar->addAction(m_undo);
    m_redo = m_commands->redoAction();
    m_redo->setToolTip(u"重做撤销的修改"_s);
    connect(m_redo, &QAction::triggered, m_viewModel, &SessionViewModel::redo);
    toolbar->addAction(m_redo);

    m_restoreColors =
        toolbar->addAction(u"恢复默认色"_s, m_viewModel, &SessionViewModel::restoreDefaultColors);
    m_restoreColors->setToolTip(u"按通道类型恢复默认色"_s);

    m_displayMode = toolbar->addAction(QString(), this, [this] {
        setDisplayMode(displayMode() == TrackListDisplayMode::list ? TrackListDisplayMode::routing
                                                                   : TrackListDisplayMode::list);
    });

    toolbar->addSeparator();
    m_exportPDF = toolbar->addAction(u"导出 PDF"_s, m_viewModel, &SessionViewModel::exportPDF);
    m_exportTemplate =
        toolbar->addAction(u"导出模版"_s, m_viewModel, &SessionViewModel::exportTemplate);
    m_exportTemplate->setShortcut(QKeySequence(u"Ctrl+Shift+E"_s));

    auto *spacer = new QWidget(toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(spacer);
    m_appearanceAction = toolbar->addAction(
        QString(), this, [this] { m_appearance->setStyle(m_appearance->nextStyle()); });
}

void ContentView::subscribeToMenuRequests()
{
    CommandBroadcaster &broadcaster = CommandBroadcaster::instance();
    connect(&broadcaster, &CommandBroadcaster::kelvaryOpenProjectRequested, this,
            &ContentView::openProject);
    connect(&broadcaster, &CommandBroadcaster::kelvaryImportReportRequested, this,
            &ContentView::importReport);
    connect(&broadcaster, &CommandBroadcaster::kelvaryUpdateFromReportRequested, this,
            &ContentView::updateFromRevisedReport);
    connect(&broadcaster, &CommandBroadcaster::kelvarySaveProjectRequested, m_viewModel,
            &SessionViewModel::saveProject);
    connect(&broadcaster, &CommandBroadcaster::kelvarySaveProjectAsRequested, m_viewModel,
            &SessionViewModel::saveProjectAs);
    connect(&broadcaster, &CommandBroadcaster::kelvaryAddPlannedDeviceRequested, this,
            &ContentView::showAddPlannedDeviceDialog);
    connect(&broadcaster, &CommandBroadcaster::kelvaryManagePlannedDevicesRequested, this,
            &ContentView::showPlannedDevicesDialog);
    connect(&broadcaster, &CommandBroadcaster::kelvaryAssignFromConsoleRequested, this,
            &ContentView::showConsoleRoutingDialog);
    connect(m_commands->quitAction(), &QAction::triggered, this, &ContentView::quit);
}

bool ContentView::askToSaveChanges()
{
    if (!m_viewModel->isModified())
        return true;
    switch (m_askToSave(m_viewModel->displayName())) {
    case QMessageBox::Discard:
        return true;
    case QMessageBox::Save:
        // A cancelled save panel or a failed write leaves the changes unsaved; the error alert
        // tells why.
        m_viewModel->saveProject();
        return !m_viewModel->isModified();
    default:
        return false;
    }
}

void ContentView::closeEvent(QCloseEvent *event)
{
    if (askToSaveChanges())
        event->accept();
    else
        event->ignore();
}

void ContentView::importReport()
{
    if (askToSaveChanges())
        m_viewModel->showImportPanel();
}

void ContentView::openProject()
{
    if (askToSaveChanges())
        m_viewModel->showOpenPanel();
}

void ContentView::openDroppedFile(const QString &location)
{
    if (askToSaveChanges())
        m_viewModel->openFile(location);
}

// The About window may still be open: closing this one alone would not end the application.
void ContentView::quit()
{
    if (close())
        QCoreApplication::quit();
}

void ContentView::updateFromRevisedReport()
{
    if (m_viewModel->tracks().isEmpty())
        return;
    const std::optional<QString> location = m_viewModel->chooseRevisedReport();
    if (!location)
        return;
    // Nothing can change the session while the question is open: the dialog is modal.
    const std::optional<SessionReportUpdate> update =
        m_viewModel->previewSessionReportUpdate(*location);
    if (!update)
        return;
    const bool changesAnything = update->session != m_viewModel->session();
    if (!m_confirmUpdate(*update, changesAnything, QFileInfo(*location).fileName()) ||
        !changesAnything)
        return;
    m_viewModel->applySessionReportUpdate(*update);
    // The new tracks are the ones to patch next.
    m_viewModel->setSelectedTrackIDs(
        QSet<QUuid>(update->addedTrackIDs.cbegin(), update->addedTrackIDs.cend()));
}

void ContentView::showAddPlannedDeviceDialog()
{
    if (m_viewModel->tracks().isEmpty())
        return;
    auto *dialog = new PlannedDeviceDialog(m_viewModel, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void ContentView::showPlannedDevicesDialog()
{
    if (m_viewModel->tracks().isEmpty())
        return;
    auto *dialog = new PlannedDevicesDialog(m_viewModel, confirmWithMessageBox, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void ContentView::showConsoleRoutingDialog()
{
    if (m_viewModel->session().recorderPatch.isEmpty())
        return;
    auto *dialog = new ConsoleRoutingDialog(m_viewModel, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void ContentView::setDisplayMode(TrackListDisplayMode mode)
{
    m_trackList->setDisplayMode(mode);
    updateTitle();
    updateActions();
}

void ContentView::updateTitle()
{
    const QString title =
        detailTitle(m_viewModel->session(), m_viewModel->includedCount(), displayMode());
    m_title->setText(title);
    // The desktop adds the application's name after it.
    setWindowTitle(m_viewModel->displayName() + u"[*]"_s);
    setWindowModified(m_viewModel->isModified());
}

void ContentView::updateActions()
{
    const bool hasTracks = !m_viewModel->tracks().isEmpty();
    const bool hasIncluded = m_viewModel->includedCount() > 0;
    m_undo->setEnabled(m_viewModel->canUndo());
    m_redo->setEnabled(m_viewModel->canRedo());
    m_restoreColors->setEnabled(hasTracks);
    m_displayMode->setEnabled(hasTracks);
    m_exportPDF->setEnabled(hasIncluded);
    m_exportTemplate->setEnabled(hasIncluded);
    // Planned interfaces belong to a show: there is none before a report is loaded.
    m_commands->updateFromReportAction()->setEnabled(hasTracks);
    m_commands->addPlannedDeviceAction()->setEnabled(hasTracks);
    m_commands->managePlannedDevicesAction()->setEnabled(hasTracks);
    m_commands->assignFromConsoleAction()->setEnabled(
        !m_viewModel->session().recorderPatch.isEmpty());

    const bool list = displayMode() == TrackListDisplayMode::list;
    m_displayMode->setText(list ? u"路由矩阵"_s : u"通道列表"_s);
    m_displayMode->setToolTip(list ? u"切换到路由矩阵"_s : u"切换到通道列表"_s);
    m_displayMode->setIcon(symbolIcon(list ? u"square.grid.3x3"_s : u"list.bullet"_s,
                                      m_appearance->style() == AppAppearanceStyle::system));
}

void ContentView::updateAppearanceAction()
{
    const AppAppearanceStyle next = m_appearance->nextStyle();
    m_appearanceAction->setText(appearanceStyleName(next));
    m_appearanceAction->setToolTip(u"切换到%1风格"_s.arg(appearanceStyleName(next)));

    // Theme icons are drawn for the desktop's own colours, so they are used only while the
    // window follows the desktop; a chosen style gets the drawings tinted to its palette.
    const bool preferTheme = m_appearance->style() == AppAppearanceStyle::system;
    m_appearanceAction->setIcon(symbolIcon(appearanceStyleSymbol(next), preferTheme));
    m_undo->setIcon(symbolIcon(u"arrow.uturn.backward"_s, preferTheme));
    m_redo->setIcon(symbolIcon(u"arrow.uturn.forward"_s, preferTheme));
    m_restoreColors->setIcon(symbolIcon(u"paintpalette"_s, preferTheme));
    m_exportPDF->setIcon(symbolIcon(u"doc.richtext"_s, preferTheme));
    m_exportTemplate->setIcon(symbolIcon(u"square.and.arrow.up"_s, preferTheme));
    m_sidebar->openReportAction()->setIcon(symbolIcon(u"doc.text"_s, preferTheme));
    updateActions();
}

// Ctrl+O has three holders: the menu's "打开…", the sidebar's "打开报告" and the empty state's
// "打开报告…". Qt fires no shortcut that two enabled actions share, so it goes to the report import
// while no session is loaded and the empty state offers it, and to "打开…" once tracks are shown.
void ContentView::updateOpenShortcut()
{
    const bool empty = m_viewModel->tracks().isEmpty();
    m_sidebar->openReportAction()->setShortcut(empty ? openShortcut : QKeySequence());
    m_commands->openProjectAction()->setShortcut(empty ? QKeySequence() : openShortcut);
}

void ContentView::showErrorAlert()
{
    const std::optional<QString> &message = m_viewModel->errorMessage();
    if (!message) {
        if (m_errorAlert)
            m_errorAlert->done(QMessageBox::Accepted);
        return;
    }
    if (!m_errorAlert) {
        m_errorAlert = new QMessageBox(QMessageBox::Warning, u"错误"_s, QString(),
                                       QMessageBox::NoButton, this);
        QPushButton *ok = m_errorAlert->addButton(u"好"_s, QMessageBox::AcceptRole);
        m_errorAlert->setDefaultButton(ok);
        m_errorAlert->setEscapeButton(ok);
        // However the alert goes away, the error it showed is done with.
        connect(m_errorAlert, &QDialog::finished, this, [this] {
            m_errorAlert->deleteLater();
            m_errorAlert = nullptr;
            m_viewModel->setErrorMessage(std::nullopt);
        });
        // Shown without a nested event loop: the view model is still inside the operation
        // that set the text.
        m_errorAlert->open();
    }
    m_errorAlert->setText(*message);
}

} // namespace kelvary::ui
