#include "devices/planneddevicedialogs.h"

#include "app/sessionviewmodel.h"
#include "model/recordingcheck.h"
#include "shell/commandbroadcaster.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

PlannedDeviceDialog::PlannedDeviceDialog(SessionViewModel *viewModel, QWidget *parent)
    : QDialog(parent)
    , m_viewModel(viewModel)
{
    setWindowTitle(u"添加计划设备"_s);
    setMinimumWidth(420);
    auto *layout = new QVBoxLayout(this);
    m_intro = new QLabel(
        u"描述一台此刻未连接的音频接口，就能先把轨道分配到它的输入上；到现场接上同名设备后，"
        "在设备菜单中改选即可。"_s,
        this);
    m_intro->setWordWrap(true);
    layout->addWidget(m_intro);

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

PlannedDeviceDialog::PlannedDeviceDialog(SessionViewModel *viewModel,
                                         const PlannedAudioDevice &edited, Confirm confirm,
                                         QWidget *parent)
    : PlannedDeviceDialog(viewModel, parent)
{
    m_editedID = edited.id;
    m_confirm = std::move(confirm);
    setWindowTitle(u"编辑计划设备"_s);
    m_intro->setText(u"改名不影响这台设备上的轨道分配；减少输入数时，超出范围的轨道会失去输入。"_s);
    m_name->setText(edited.name);
    m_inputCount->setValue(int(edited.inputChannelCount));
}

void PlannedDeviceDialog::accept()
{
    const QString name = m_name->text().trimmed();
    const qint64 count = m_inputCount->value();
    if (const std::optional<QString> problem =
            plannedDeviceProblem(name, count, m_viewModel->plannedAudioDevices(), m_editedID)) {
        m_problem->setText(*problem);
        m_problem->show();
        // Grown to fit the reason rather than squeezing the fields.
        adjustSize();
        m_name->setFocus();
        return;
    }
    if (m_editedID.isEmpty()) {
        m_viewModel->addPlannedAudioDevice(name, count);
        QDialog::accept();
        return;
    }
    if (const TrackList losing = m_viewModel->tracksLosingInput(m_editedID, count);
        !losing.isEmpty() &&
        !m_confirm(this, {u"编辑计划设备"_s,
                          u"缩减到 %1 路输入后，%2 条轨道将失去输入：%3。是否继续？"_s.arg(count)
                              .arg(losing.size())
                              .arg(trackNameList(losing)),
                          u"缩减"_s}))
        return;
    m_viewModel->editPlannedAudioDevice(m_editedID, name, count);
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
    m_edit = buttons->addButton(u"编辑…"_s, QDialogButtonBox::ActionRole);
    m_remove = buttons->addButton(u"移除"_s, QDialogButtonBox::ActionRole);
    QPushButton *close = buttons->addButton(u"关闭"_s, QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(m_edit, &QPushButton::clicked, this, &PlannedDevicesDialog::editCurrent);
    connect(m_remove, &QPushButton::clicked, this, &PlannedDevicesDialog::removeCurrent);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] {
        m_edit->setEnabled(currentID().has_value());
        m_remove->setEnabled(currentID().has_value());
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &PlannedDevicesDialog::editCurrent);
    connect(m_viewModel, &SessionViewModel::audioInputCatalogChanged, this,
            &PlannedDevicesDialog::showDevices);
    showDevices();
}

void PlannedDevicesDialog::showDevices()
{
    const std::optional<QString> current = currentID();
    m_list->clear();
    const QList<AudioInputDevice> &catalogue = m_viewModel->audioInputCatalog().devices();
    for (const PlannedAudioDevice &planned : m_viewModel->plannedAudioDevices()) {
        const std::optional<AudioInputDevice> device = deviceWithID(planned.id, catalogue);
        const QString state = device && device->isAttached ? u"已连接"_s : u"未连接"_s;
        auto *item = new QListWidgetItem(
            u"%1 · %2 路输入（%3）"_s.arg(planned.name).arg(planned.inputChannelCount).arg(state),
            m_list);
        item->setData(Qt::UserRole, planned.id);
        // An edit keeps the row it was made on current.
        if (planned.id == current)
            m_list->setCurrentItem(item);
    }
    if (m_list->count() == 0) {
        auto *item = new QListWidgetItem(u"没有计划设备"_s, m_list);
        item->setFlags(Qt::NoItemFlags);
    }
    m_edit->setEnabled(currentID().has_value());
    m_remove->setEnabled(currentID().has_value());
}

std::optional<QString> PlannedDevicesDialog::currentID() const
{
    const QListWidgetItem *item = m_list->currentItem();
    if (!item || !(item->flags() & Qt::ItemIsEnabled))
        return std::nullopt;
    return item->data(Qt::UserRole).toString();
}

PlannedDeviceDialog *PlannedDevicesDialog::editCurrent()
{
    const std::optional<QString> id = currentID();
    if (!id)
        return nullptr;
    const QList<PlannedAudioDevice> &planned = m_viewModel->plannedAudioDevices();
    const auto device = std::find_if(planned.cbegin(), planned.cend(),
                                     [&](const PlannedAudioDevice &d) { return d.id == *id; });
    if (device == planned.cend())
        return nullptr;
    auto *form = new PlannedDeviceDialog(m_viewModel, *device, m_confirm, this);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->open();
    return form;
}

void PlannedDevicesDialog::removeCurrent()
{
    const std::optional<QString> id = currentID();
    if (!id)
        return;
    const std::optional<AudioInputDevice> device =
        deviceWithID(*id, m_viewModel->audioInputCatalog().devices());
    // An attached device keeps its assignments: only the entry goes.
    const qsizetype assigned =
        device && !device->isAttached ? m_viewModel->tracksAssignedToDevice(*id) : 0;
    if (assigned > 0 &&
        !m_confirm(this, {u"移除计划设备"_s,
                          u"有 %1 条轨道分配在“%2”上。移除这台设备会清除这些分配（可撤销）。"_s
                              .arg(assigned)
                              .arg(device->name),
                          u"移除"_s}))
        return;
    m_viewModel->removePlannedAudioDevice(*id);
}

bool confirmWithMessageBox(QWidget *parent, const Confirmation &confirmation)
{
    QMessageBox box(QMessageBox::Question, confirmation.title, confirmation.question,
                    QMessageBox::NoButton, parent);
    QPushButton *action = box.addButton(confirmation.action, QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(u"取消"_s, QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.exec();
    return box.clickedButton() == action;
}

QPushButton *newAddPlannedDeviceButton(QWidget *parent)
{
    auto *button = new QPushButton(u"添加计划设备…"_s, parent);
    button->setToolTip(u"描述一台未连接的音频接口，先把轨道分配上去"_s);
    QObject::connect(button, &QPushButton::clicked, &CommandBroadcaster::instance(),
                     &CommandBroadcaster::kelvaryAddPlannedDeviceRequested);
    return button;
}

} // namespace kelvary::ui
