#pragma once

#include "app/sessionreportupdate.h"

#include <QDialog>

class QPushButton;

namespace kelvary::ui {

// Shows what a revised report would change, in four groups with their counts (新增, 删除, 改名,
// 改输入), before anything changes: "更新" takes it, "取消" leaves the show as it is. When the
// report changes nothing it says so and offers only "好".
class SessionReportUpdateDialog : public QDialog {
    Q_OBJECT

public:
    SessionReportUpdateDialog(const SessionReportUpdate &update, bool changesAnything,
                              const QString &reportName, QWidget *parent = nullptr);

    // The group titles with their counts and, under each, its lines ("无" for none).
    QStringList shownText() const;
    QPushButton *updateButton() const { return m_update; }

private:
    QPushButton *m_update = nullptr;
};

} // namespace kelvary::ui
