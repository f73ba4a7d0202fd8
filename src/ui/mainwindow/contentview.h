#pragma once

#include "audio/audioinputdeviceenumerator.h"
#include "tracklist/tracklistview.h"

#include <QMainWindow>
#include <QMessageBox>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QSplitter;

namespace kelvary {
class FilePanels;
struct ParsedSession;
struct SessionReportUpdate;
class SessionViewModel;
} // namespace kelvary

namespace kelvary::ui {

class AppCommands;
class Appearance;
class SessionReportDropModifier;
class Sidebar;

// The detail's title: the list with its included and total counts, the matrix, or with no tracks
// the session's name or the application's.
QString detailTitle(const ParsedSession &session, qsizetype includedCount,
                    TrackListDisplayMode mode);

// The main window. It creates and owns the window's one SessionViewModel, lays out the sidebar
// beside the track list, holds the toolbar and the menus, turns the menu requests into view-model
// operations, shows the view model's error text in an alert and opens dropped files. Before the
// show is closed or replaced by another, it asks whether to save unsaved changes.
class ContentView : public QMainWindow {
    Q_OBJECT

public:
    static constexpr QSize defaultSize{960, 640};
    // A 1024 × 640 laptop screen holds the whole window; the table's columns give way first.
    static constexpr QSize minimumContentSize{1024, 480};

    ContentView(AudioInputDeviceEnumerator audioInputEnumerator,
                std::shared_ptr<FilePanels> filePanels, Appearance *appearance,
                std::function<void()> showAbout, QWidget *parent = nullptr);
    ~ContentView() override;

    SessionViewModel *viewModel() const { return m_viewModel; }
    AppCommands *commands() const { return m_commands; }
    Sidebar *sidebar() const { return m_sidebar; }
    TrackListView *trackListView() const { return m_trackList; }
    QLabel *titleLabel() const { return m_title; }
    SessionReportDropModifier *dropModifier() const { return m_drop; }
    // Present only while the view model holds an error text.
    QMessageBox *errorAlert() const { return m_errorAlert; }

    // Asks whether to take a revised report's changes; the dialog by default, a script in tests.
    using UpdateConfirmation = std::function<bool(const SessionReportUpdate &update,
                                                  bool changesAnything, const QString &reportName)>;
    void setUpdateConfirmation(UpdateConfirmation confirm) { m_confirmUpdate = std::move(confirm); }
    void updateFromRevisedReport();

    // Asks whether to save the changes of the show with this name: Save, Discard or Cancel. A
    // message box by default, a script in tests.
    using SaveQuestion = std::function<QMessageBox::StandardButton(const QString &name)>;
    void setSaveQuestion(SaveQuestion ask) { m_askToSave = std::move(ask); }
    // Whether the show may be closed or replaced: nothing is unsaved, the user lets the changes
    // go, or saving them succeeded.
    bool askToSaveChanges();

    TrackListDisplayMode displayMode() const { return m_trackList->displayMode(); }
    void setDisplayMode(TrackListDisplayMode mode);

    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }
    QAction *restoreColorsAction() const { return m_restoreColors; }
    QAction *displayModeAction() const { return m_displayMode; }
    QAction *exportPDFAction() const { return m_exportPDF; }
    QAction *exportTemplateAction() const { return m_exportTemplate; }
    QAction *appearanceAction() const { return m_appearanceAction; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolbar();
    void subscribeToMenuRequests();
    void importReport();
    void openProject();
    void openDroppedFile(const QString &location);
    void quit();
    void updateTitle();
    void updateActions();
    void updateAppearanceAction();
    void updateOpenShortcut();
    void showErrorAlert();
    void showAddPlannedDeviceDialog();
    void showPlannedDevicesDialog();
    // 设备 → 按调音台路由分配…, for a session whose file routes the console's recorder.
    void showConsoleRoutingDialog();

    SessionViewModel *m_viewModel;
    Appearance *m_appearance;
    UpdateConfirmation m_confirmUpdate;
    SaveQuestion m_askToSave;
    AppCommands *m_commands = nullptr;
    Sidebar *m_sidebar = nullptr;
    QSplitter *m_splitter = nullptr;
    QLabel *m_title = nullptr;
    TrackListView *m_trackList = nullptr;
    SessionReportDropModifier *m_drop = nullptr;
    QMessageBox *m_errorAlert = nullptr;

    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QAction *m_restoreColors = nullptr;
    QAction *m_displayMode = nullptr;
    QAction *m_exportPDF = nullptr;
    QAction *m_exportTemplate = nullptr;
    QAction *m_appearanceAction = nullptr;
};

} // namespace kelvary::ui
