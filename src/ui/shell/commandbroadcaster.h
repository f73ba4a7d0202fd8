#pragma once

#include <QObject>

namespace kelvary::ui {

// The process-wide channel of the four menu requests. The menu posts them without knowing who
// listens, so the shortcuts work whichever widget has the focus, and the main window turns them
// into view-model operations.
class CommandBroadcaster : public QObject {
    Q_OBJECT

public:
    // Made on first use and kept for the life of the process.
    static CommandBroadcaster &instance();

Q_SIGNALS:
    void kelvaryOpenProjectRequested();
    void kelvaryImportReportRequested();
    void kelvaryUpdateFromReportRequested();
    void kelvarySaveProjectRequested();
    void kelvarySaveProjectAsRequested();
    // From the 设备 menu and the table's no-input notice.
    void kelvaryAddPlannedDeviceRequested();
    void kelvaryManagePlannedDevicesRequested();
    void kelvaryAssignFromConsoleRequested();

private:
    CommandBroadcaster() = default;
};

} // namespace kelvary::ui
