#include "shell/appcommands.h"

#include "shell/commandbroadcaster.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

AppCommands::AppCommands(QMenuBar *menuBar, std::function<void()> showAbout, QObject *parent)
    : QObject(parent)
{
    CommandBroadcaster &broadcaster = CommandBroadcaster::instance();
    QMenu *file = menuBar->addMenu(u"文件"_s);

    auto addRequest = [&](const QString &text, const QKeySequence &shortcut,
                          void (CommandBroadcaster::*request)()) {
        QAction *action = file->addAction(text);
        action->setShortcut(shortcut);
        // Menu shortcuts belong to the whole window, whichever widget has the focus.
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, &broadcaster, request);
        return action;
    };
    m_openProject = addRequest(u"打开…"_s, QKeySequence(u"Ctrl+O"_s),
                               &CommandBroadcaster::kelvaryOpenProjectRequested);
    m_importReport = addRequest(u"导入…"_s, QKeySequence(u"Ctrl+Shift+O"_s),
                                &CommandBroadcaster::kelvaryImportReportRequested);
    m_updateFromReport = addRequest(u"用新报告更新…"_s, QKeySequence(),
                                    &CommandBroadcaster::kelvaryUpdateFromReportRequested);
    file->addSeparator();
    m_saveProject = addRequest(u"保存"_s, QKeySequence(u"Ctrl+S"_s),
                               &CommandBroadcaster::kelvarySaveProjectRequested);
    m_saveProjectAs = addRequest(u"另存为…"_s, QKeySequence(u"Ctrl+Shift+S"_s),
                                 &CommandBroadcaster::kelvarySaveProjectAsRequested);

    // The platform's application menu holds Quit; a Linux window has none, so File does.
    file->addSeparator();
    m_quit = file->addAction(u"退出"_s);
    m_quit->setShortcut(QKeySequence::Quit);
    m_quit->setMenuRole(QAction::QuitRole);

    QMenu *edit = menuBar->addMenu(u"编辑"_s);
    m_undo = edit->addAction(u"撤销"_s);
    m_undo->setShortcuts(QKeySequence::Undo);
    m_redo = edit->addAction(u"重做"_s);
    // Every binding of the platform: Ctrl+Shift+Z and Ctrl+Y on Linux.
    m_redo->setShortcuts(QKeySequence::Redo);

    QMenu *devices = menuBar->addMenu(u"设备"_s);
    m_addPlannedDevice = devices->addAction(u"添加计划设备…"_s);
    connect(m_addPlannedDevice, &QAction::triggered, &broadcaster,
            &CommandBroadcaster::kelvaryAddPlannedDeviceRequested);
    m_managePlannedDevices = devices->addAction(u"管理计划设备…"_s);
    connect(m_managePlannedDevices, &QAction::triggered, &broadcaster,
            &CommandBroadcaster::kelvaryManagePlannedDevicesRequested);
    devices->addSeparator();
    m_assignFromConsole = devices->addAction(u"按调音台路由分配…"_s);
    connect(m_assignFromConsole, &QAction::triggered, &broadcaster,
            &CommandBroadcaster::kelvaryAssignFromConsoleRequested);

    QMenu *help = menuBar->addMenu(u"帮助"_s);
    m_about = help->addAction(u"关于 Kelvary"_s);
    m_about->setMenuRole(QAction::AboutRole);
    connect(m_about, &QAction::triggered, this, std::move(showAbout));
}

} // namespace kelvary::ui
