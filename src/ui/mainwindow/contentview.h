#pragma once

#include "audio/audioinputdeviceenumerator.h"
#include "tracklist/tracklistview.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMessageBox;
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
// operations, shows the view model's error text in an alert and opens dropped files.
class ContentView : public QMainWindow {
    Q_OBJECT

public:
    static constexpr QSize defaultSize{960, 640};
    static constexpr QSize minimumContentSize{1160, 520};

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

    TrackListDisplayMode displayMode() const { return m_trackList->displayMode(); }
    void setDisplayMode(TrackListDisplayMode mode);

    QAction *undoAction() const { return m_undo; }
    QAction *restoreColorsAction() const { return m_restoreColors; }
    QAction *displayModeAction() const { return m_displayMode; }
    QAction *exportPDFAction() const { return m_exportPDF; }
    QAction *exportTemplateAction() const { return m_exportTemplate; }
    QAction *appearanceAction() const { return m_appearanceAction; }

private:
    void buildToolbar();
    void subscribeToMenuRequests();
    void updateTitle();
    void updateActions();
    void updateAppearanceAction();
    void updateOpenShortcut();
    void showErrorAlert();
    void showAddPlannedDeviceDialog();
    void showPlannedDevicesDialog();

    SessionViewModel *m_viewModel;
    Appearance *m_appearance;
    UpdateConfirmation m_confirmUpdate;
    AppCommands *m_commands = nullptr;
    Sidebar *m_sidebar = nullptr;
    QSplitter *m_splitter = nullptr;
    QLabel *m_title = nullptr;
    TrackListView *m_trackList = nullptr;
    SessionReportDropModifier *m_drop = nullptr;
    QMessageBox *m_errorAlert = nullptr;

    QAction *m_undo = nullptr;
    QAction *m_restoreColors = nullptr;
    QAction *m_displayMode = nullptr;
    QAction *m_exportPDF = nullptr;
    QAction *m_exportTemplate = nullptr;
    QAction *m_appearanceAction = nullptr;
};

} // namespace kelvary::ui
