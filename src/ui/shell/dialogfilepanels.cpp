#include "shell/dialogfilepanels.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

QStringList nameFilters(const QList<FileType> &types)
{
    QStringList filters;
    for (const FileType &type : types) {
        QStringList patterns;
        for (const QString &extension : type.extensions) {
            patterns.append(u"*."_s + extension.toLower());
            if (extension.toUpper() != extension.toLower())
                patterns.append(u"*."_s + extension.toUpper());
        }
        filters.append(
            u"%1 (%2)"_s.arg(type.description, patterns.isEmpty() ? u"*"_s : patterns.join(u' ')));
    }
    return filters;
}

std::optional<QString> DialogFilePanels::chooseFileToOpen(const OpenPanelRequest &request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(request.types));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

namespace {

void setUpSaveDialog(QFileDialog &dialog, const SavePanelRequest &request)
{
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters(request.types));
    // "(*)" says nothing beside a folder's description.
    if (!request.types.isEmpty() && request.types.constFirst().extensions.isEmpty())
        dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (!request.prompt.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, request.prompt);
    if (!request.types.isEmpty() && !request.types.constFirst().extensions.isEmpty())
        dialog.setDefaultSuffix(request.types.constFirst().extensions.constFirst());
    dialog.selectFile(request.suggestedName);
}

} // namespace

std::optional<QString> DialogFilePanels::chooseSaveLocation(const SavePanelRequest &request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    setUpSaveDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<SavePanelChoice>
DialogFilePanels::chooseSaveLocationWithOption(const SavePanelRequest &request,
                                               const SavePanelTextOption &option,
                                               const SavePanelListOption &list)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    // NOTE: only Qt's own dialog takes a widget of ours; it lays itself out in a grid.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    setUpSaveDialog(dialog, request);
    auto *text = new QComboBox(&dialog);
    text->setEditable(true);
    text->addItems(option.suggestions);
    text->setCurrentText(option.text);
    auto *items = new QComboBox(&dialog);
    items->addItems(list.items);
    items->setCurrentIndex(int(list.current));
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout())) {
        const auto addRow = [&](const QString &label, QWidget *field) {
            const int row = grid->rowCount();
            grid->addWidget(new QLabel(label, &dialog), row, 0);
            grid->addWidget(field, row, 1, 1, grid->columnCount() - 1);
        };
        addRow(option.label, text);
        if (!list.items.isEmpty())
            addRow(list.label, items);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return SavePanelChoice{dialog.selectedFiles().constFirst(), text->currentText().trimmed(),
                           list.items.isEmpty() ? list.current : items->currentIndex()};
}

} // namespace kelvary::ui
