#pragma once

#include "model/audioinputcatalog.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

// A question put before a change the user should see coming: the box's title, the text, and the
// button that goes ahead ("取消" is the other one, and the default).
struct Confirmation {
    QString title;
    QString question;
    QString action;
};
using Confirm = std::function<bool(QWidget *parent, const Confirmation &confirmation)>;

// Asks for the name and input count of an interface that is not attached, so tracks can be
// patched to it before the rig is reached; or, given one, for its new name and count. Bad values
// are refused here, with the reason shown. Fewer inputs than its tracks use asks first, through
// `confirm`.
class PlannedDeviceDialog : public QDialog {
    Q_OBJECT

public:
    explicit PlannedDeviceDialog(SessionViewModel *viewModel, QWidget *parent = nullptr);
    PlannedDeviceDialog(SessionViewModel *viewModel, const PlannedAudioDevice &edited,
                        Confirm confirm, QWidget *parent = nullptr);

    QLineEdit *nameEdit() const { return m_name; }
    QSpinBox *inputCountBox() const { return m_inputCount; }
    QLabel *problemLabel() const { return m_problem; }
    QPushButton *okButton() const { return m_ok; }

    void accept() override;

private:
    SessionViewModel *m_viewModel;
    // Empty when adding.
    QString m_editedID;
    Confirm m_confirm;
    QLabel *m_intro;
    QLineEdit *m_name;
    QSpinBox *m_inputCount;
    QLabel *m_problem;
    QPushButton *m_ok;
};

// Lists the planned and remembered interfaces, edits one in a PlannedDeviceDialog and removes
// one. Removing one that tracks are assigned to asks first, through `confirm`.
class PlannedDevicesDialog : public QDialog {
    Q_OBJECT

public:
    PlannedDevicesDialog(SessionViewModel *viewModel, Confirm confirm, QWidget *parent = nullptr);

    QListWidget *list() const { return m_list; }
    QPushButton *editButton() const { return m_edit; }
    QPushButton *removeButton() const { return m_remove; }

    // Opens the form on the current row, window-modal; the form closes itself.
    PlannedDeviceDialog *editCurrent();
    void removeCurrent();

private:
    void showDevices();
    // The id of the current row; nothing on the "no devices" row.
    std::optional<QString> currentID() const;

    SessionViewModel *m_viewModel;
    Confirm m_confirm;
    QListWidget *m_list;
    QPushButton *m_edit;
    QPushButton *m_remove;
};

// The confirmation as a question box.
bool confirmWithMessageBox(QWidget *parent, const Confirmation &confirmation);

// "添加计划设备…" where no interface is at hand (the table's notice, the empty matrix): it asks
// for the dialog the way the 设备 menu does, so the window opens it with its own parent.
QPushButton *newAddPlannedDeviceButton(QWidget *parent);

} // namespace kelvary::ui
