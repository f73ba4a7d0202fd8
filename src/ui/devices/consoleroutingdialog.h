#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

// 按调音台路由分配: asks which of the console's recorders (a WING has three) and which
// interface records it, then assigns every track that recorder carries. The interface offered
// first is the one named after the recorder, else a new planned one made for it.
class ConsoleRoutingDialog : public QDialog {
    Q_OBJECT

public:
    explicit ConsoleRoutingDialog(SessionViewModel *viewModel, QWidget *parent = nullptr);

    QComboBox *recorderBox() const { return m_recorder; }
    QComboBox *deviceBox() const { return m_device; }
    QPushButton *okButton() const { return m_ok; }

    void accept() override;

private:
    // The interfaces for the chosen recorder; an empty item data stands for the new planned one.
    void showDevices();

    SessionViewModel *m_viewModel;
    QComboBox *m_recorder;
    QComboBox *m_device;
    QPushButton *m_ok;
};

} // namespace kelvary::ui
