#include "shell/dialogfilepanels.h"

#include <QApplication>
#include <QFileDialog>

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
        filters.append(u"%1 (%2)"_s.arg(type.description, patterns.join(u' ')));
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

std::optional<QString> DialogFilePanels::chooseSaveLocation(const SavePanelRequest &request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters(request.types));
    if (!request.prompt.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, request.prompt);
    if (!request.types.isEmpty() && !request.types.constFirst().extensions.isEmpty())
        dialog.setDefaultSuffix(request.types.constFirst().extensions.constFirst());
    dialog.selectFile(request.suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace kelvary::ui
