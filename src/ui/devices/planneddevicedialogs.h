#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

// Asks for the name and input count of an interface that is not attached, so tracks can be
// patched to it before the rig is reached. Bad values are refused here, with the reason shown.
class AddPlannedDeviceDialog : public QDialog {
    Q_OBJECT

public:
    explicit AddPlannedDeviceDialog(SessionViewModel *viewModel, QWidget *parent = nullptr);

    QLineEdit *nameEdit() const { return m_name; }
    QSpinBox *inputCountBox() const { return m_inputCount; }
    QLabel *problemLabel() const { return m_problem; }
    QPushButton *okButton() const { return m_ok; }

    void accept() override;

private:
    SessionViewModel *m_viewModel;
    QLineEdit *m_name;
    QSpinBox *m_inputCount;
    QLabel *m_problem;
    QPushButton *m_ok;
};

// Lists the planned and remembered interfaces and removes one. Removing one that tracks are
// assigned to asks first, through `confirm`, with the question it should put.
class PlannedDevicesDialog : public QDialog {
    Q_OBJECT

public:
    using Confirm = std::function<bool(QWidget *parent, const QString &question)>;

    PlannedDevicesDialog(SessionViewModel *viewModel, Confirm confirm, QWidget *parent = nullptr);

    QListWidget *list() const { return m_list; }
    QPushButton *removeButton() const { return m_remove; }

    void removeCurrent();

private:
    void showDevices();

    SessionViewModel *m_viewModel;
    Confirm m_confirm;
    QListWidget *m_list;
    QPushButton *m_remove;
};

// A question with "移除" and "取消", "取消" the default.
bool confirmWithMessageBox(QWidget *parent, const QString &question);

} // namespace kelvary::ui
