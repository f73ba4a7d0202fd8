#include "devices/planneddevicedialogs.h"

#include "app/sessionviewmodel.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

AddPlannedDeviceDialog::AddPlannedDeviceDialog(SessionViewModel *viewModel, QWidget *parent)
    : QDialog(parent)
    , m_viewModel(viewModel)
{
    setWindowTitle(u"添加计划设备"_s);
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(
        u"描述一台此刻未连接的音频接口，就能先把轨道分配到它的输入上；到现场接上同名设备后，"
        "在设备菜单中改选即可。"_s,
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setPlaceholderText(u"例如 Stage Rack"_s);
    form->addRow(u"名称："_s, m_name);
    m_inputCount = new QSpinBox(this);
    m_inputCount->setRange(1, int(maximumPlannedInputCount));
    m_inputCount->setValue(32);
    m_inputCount->setSuffix(u" 路"_s);
    form->addRow(u"输入数："_s, m_inputCount);
    layout->addLayout(form);

    m_problem = new QLabel(this);
    m_problem->setWordWrap(true);
    m_problem->setForegroundRole(QPalette::BrightText);
    QPalette problemPalette = m_problem->palette();
    problemPalette.setColor(QPalette::BrightText, QColor(0xC0, 0x30, 0x30));
    m_problem->setPalette(problemPalette);
    m_problem->hide();
    layout->addWidget(m_problem);

    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(u"确定"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"取消"_s, QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_name, &QLineEdit::textEdited, m_problem, &QWidget::hide);
}

void AddPlannedDeviceDialog::accept()
{
    const QString name = m_name->text().trimmed();
    const qint64 count = m_inputCount->value();
    if (const std::optional<QString> problem =
            plannedDeviceProblem(name, count, m_viewModel->plannedAudioDevices())) {
        m_problem->setText(*problem);
        m_problem->show();
        m_name->setFocus();
        return;
    }
    m_viewModel->addPlannedAudioDevice(name, count);
    QDialog::accept();
}

PlannedDevicesDialog::PlannedDevicesDialog(SessionViewModel *viewModel, Confirm confirm,
                                           QWidget *parent)
    : QDialog(parent)
    , m_viewModel(viewModel)
    , m_confirm(std::move(confirm))
{
    setWindowTitle(u"管理计划设备"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"计划的设备和工程记住的设备："_s, this));
    m_list = new QListWidget(this);
    m_list->setMinimumSize(360, 180);
    layout->addWidget(m_list);

    auto *buttons = new QDialogButtonBox(this);
    m_remove = buttons->addButton(u"移除"_s, QDialogButtonBox::ActionRole);
    QPushButton *close = buttons->addButton(u"关闭"_s, QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(m_remove, &QPushButton::clicked, this, &PlannedDevicesDialog::removeCurrent);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_list, &QListWidget::currentRowChanged, this,
            [this](int row) { m_remove->setEnabled(row >= 0); });
    connect(m_viewModel, &SessionViewModel::audioInputCatalogChanged, this,
            &PlannedDevicesDialog::showDevices);
    showDevices();
}

void PlannedDevicesDialog::showDevices()
{
    m_list->clear();
    const QList<AudioInputDevice> &catalogue = m_viewModel->audioInputCatalog().devices();
    for (const PlannedAudioDevice &planned : m_viewModel->plannedAudioDevices()) {
        const std::optional<AudioInputDevice> device = deviceWithID(planned.id, catalogue);
        const QString state = device && device->isAttached ? u"已连接"_s : u"未连接"_s;
        auto *item = new QListWidgetItem(
            u"%1 · %2 路输入（%3）"_s.arg(planned.name).arg(planned.inputChannelCount).arg(state),
            m_list);
        item->setData(Qt::UserRole, planned.id);
    }
    if (m_list->count() == 0) {
        auto *item = new QListWidgetItem(u"没有计划设备"_s, m_list);
        item->setFlags(Qt::NoItemFlags);
    }
    m_remove->setEnabled(false);
}

void PlannedDevicesDialog::removeCurrent()
{
    const QListWidgetItem *item = m_list->currentItem();
    if (!item || !(item->flags() & Qt::ItemIsEnabled))
        return;
    const QString id = item->data(Qt::UserRole).toString();
    const std::optional<AudioInputDevice> device =
        deviceWithID(id, m_viewModel->audioInputCatalog().devices());
    // An attached device keeps its assignments: only the entry goes.
    const qsizetype assigned =
        device && !device->isAttached ? m_viewModel->tracksAssignedToDevice(id) : 0;
    if (assigned > 0 &&
        !m_confirm(this, u"有 %1 条轨道分配在“%2”上。移除这台设备会清除这些分配（可撤销）。"_s
                             .arg(assigned)
                             .arg(device->name)))
        return;
    m_viewModel->removePlannedAudioDevice(id);
}

bool confirmWithMessageBox(QWidget *parent, const QString &question)
{
    QMessageBox box(QMessageBox::Question, u"移除计划设备"_s, question, QMessageBox::NoButton,
                    parent);
    QPushButton *remove = box.addButton(u"移除"_s, QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(u"取消"_s, QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.exec();
    return box.clickedButton() == remove;
}

} // namespace kelvary::ui
