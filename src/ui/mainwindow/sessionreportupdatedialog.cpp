#include "mainwindow/sessionreportupdatedialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

namespace {

QString changeText(const SessionReportChange &change, bool withBefore, bool withAfter)
{
    const auto shown = [](const QString &text) { return text.isEmpty() ? u"—"_s : text; };
    QString text = change.channelLabel;
    if (withBefore)
        text += u' ' + shown(change.before);
    if (withBefore && withAfter)
        text += u" →"_s;
    if (withAfter)
        text += u' ' + shown(change.after);
    return text;
}

} // namespace

SessionReportUpdateDialog::SessionReportUpdateDialog(const SessionReportUpdate &update,
                                                     bool changesAnything,
                                                     const QString &reportName, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(u"用新报告更新"_s);
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QDialogButtonBox(this);

    if (!changesAnything) {
        layout->addWidget(new QLabel(u"“%1”与当前工程一致，无需更新。"_s.arg(reportName), this));
        QPushButton *ok = buttons->addButton(u"好"_s, QDialogButtonBox::AcceptRole);
        ok->setDefault(true);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::reject);
        layout->addWidget(buttons);
        return;
    }

    auto *intro = new QLabel(u"“%1”与当前工程相比有以下变化。颜色、包含、顺序和输入分配都会保留；"
                             "可以撤销。"_s.arg(reportName),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    const struct {
        QString title;
        const QList<SessionReportChange> &changes;
        bool before;
        bool after;
    } groups[] = {
        {u"新增"_s, update.added, false, true},
        {u"删除"_s, update.removed, true, false},
        {u"改名"_s, update.renamed, true, true},
        {u"改输入"_s, update.rerouted, true, true},
    };
    for (const auto &group : groups) {
        auto *title = new QLabel(u"%1（%2）"_s.arg(group.title).arg(group.changes.size()), this);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        layout->addWidget(title);
        auto *list = new QListWidget(this);
        for (const SessionReportChange &change : group.changes)
            list->addItem(changeText(change, group.before, group.after));
        if (group.changes.isEmpty())
            list->addItem(u"无"_s);
        list->setSelectionMode(QAbstractItemView::NoSelection);
        list->setFocusPolicy(Qt::NoFocus);
        const int rows = int(std::clamp<qsizetype>(list->count(), 1, 6));
        list->setFixedHeight(list->sizeHintForRow(0) * rows + 2 * list->frameWidth() + 4);
        layout->addWidget(list);
    }

    m_update = buttons->addButton(u"更新"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"取消"_s, QDialogButtonBox::RejectRole);
    m_update->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

QStringList SessionReportUpdateDialog::shownText() const
{
    QStringList text;
    for (QObject *child : children()) {
        if (auto *label = qobject_cast<QLabel *>(child))
            text << label->text();
        else if (auto *list = qobject_cast<QListWidget *>(child)) {
            for (int row = 0; row < list->count(); ++row)
                text << u"  "_s + list->item(row)->text();
        }
    }
    return text;
}

} // namespace kelvary::ui
