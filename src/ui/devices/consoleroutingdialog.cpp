#include "devices/consoleroutingdialog.h"

#include "app/sessionviewmodel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

ConsoleRoutingDialog::ConsoleRoutingDialog(SessionViewModel *viewModel, QWidget *parent)
    : QDialog(parent)
    , m_viewModel(viewModel)
{
    setWindowTitle(u"按调音台路由分配"_s);
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(u"按文件中调音台送往录音设备的路由，为录音设备送出的每条轨道分配输入："
                             "录音设备的第 k 路即接口的 Ch k。其余轨道保持不变。"_s,
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    m_recorder = new QComboBox(this);
    for (const ConsoleRecorder &recorder : viewModel->session().recorderPatch) {
        m_recorder->addItem(u"%1（%2 路）"_s.arg(recorder.name).arg(recorder.channels.size()),
                            recorder.id);
    }
    form->addRow(u"录音设备："_s, m_recorder);
    // An X32 has its card only: there is nothing to choose.
    form->setRowVisible(m_recorder, m_recorder->count() > 1);
    m_device = new QComboBox(this);
    form->addRow(u"音频接口："_s, m_device);
    layout->addLayout(form);

    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(u"分配"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"取消"_s, QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    m_ok->setEnabled(m_recorder->count() > 0);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_recorder, &QComboBox::currentIndexChanged, this, &ConsoleRoutingDialog::showDevices);
    showDevices();
}

void ConsoleRoutingDialog::showDevices()
{
    m_device->clear();
    const QString recorderID = m_recorder->currentData().toString();
    const ConsoleRecorder *recorder = m_viewModel->consoleRecorder(recorderID);
    if (!recorder)
        return;
    const std::optional<QString> named = m_viewModel->recorderDeviceUID(recorderID);
    if (!named) {
        m_device->addItem(
            u"新建计划设备“%1”（%2 路）"_s.arg(recorder->name).arg(recorder->channels.size()),
            QString());
    }
    for (const AudioInputDevice &device : m_viewModel->audioInputCatalog().devices()) {
        m_device->addItem(deviceDisplayName(device), device.id);
        if (device.id == named)
            m_device->setCurrentIndex(m_device->count() - 1);
    }
}

void ConsoleRoutingDialog::accept()
{
    const QString device = m_device->currentData().toString();
    if (m_viewModel->assignFromConsoleRecorder(m_recorder->currentData().toString(),
                                               device.isEmpty() ? std::nullopt
                                                                : std::optional<QString>(device)))
        QDialog::accept();
}

} // namespace kelvary::ui
