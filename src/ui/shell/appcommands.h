#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMenuBar;

namespace kelvary::ui {

// The menu commands: File with open, import, save and save as, which only post their request on
// the CommandBroadcaster, and quit; Edit with undo and redo; Devices with the planned interfaces,
// and Help with the About window. Quit, undo and redo act on the window's show: the main window
// connects them, and the toolbar shows the same undo and redo actions.
class AppCommands : public QObject {
    Q_OBJECT

public:
    AppCommands(QMenuBar *menuBar, std::function<void()> showAbout, QObject *parent = nullptr);

    // "打开…", whose Ctrl+O the main window hands over while no session is loaded.
    QAction *openProjectAction() const { return m_openProject; }
    QAction *importReportAction() const { return m_importReport; }
    QAction *updateFromReportAction() const { return m_updateFromReport; }
    QAction *saveProjectAction() const { return m_saveProject; }
    QAction *saveProjectAsAction() const { return m_saveProjectAs; }
    QAction *quitAction() const { return m_quit; }
    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }
    QAction *addPlannedDeviceAction() const { return m_addPlannedDevice; }
    QAction *managePlannedDevicesAction() const { return m_managePlannedDevices; }
    QAction *assignFromConsoleAction() const { return m_assignFromConsole; }
    QAction *aboutAction() const { return m_about; }

private:
    QAction *m_openProject = nullptr;
    QAction *m_importReport = nullptr;
    QAction *m_updateFromReport = nullptr;
    QAction *m_saveProject = nullptr;
    QAction *m_saveProjectAs = nullptr;
    QAction *m_quit = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QAction *m_addPlannedDevice = nullptr;
    QAction *m_managePlannedDevices = nullptr;
    QAction *m_assignFromConsole = nullptr;
    QAction *m_about = nullptr;
};

} // namespace kelvary::ui
