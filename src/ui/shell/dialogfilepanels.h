#pragma once

#include "app/filepanels.h"

namespace kelvary::ui {

// The view model's open and save panels as Qt file dialogs, modal over the active window.
class DialogFilePanels final : public FilePanels {
public:
    std::optional<QString> chooseFileToOpen(const OpenPanelRequest &request) override;
    std::optional<QString> chooseSaveLocation(const SavePanelRequest &request) override;
    // Qt's own save dialog, with the option as an editable list under the name.
    std::optional<SavePanelChoice>
    chooseSaveLocationWithOption(const SavePanelRequest &request,
                                 const SavePanelTextOption &option) override;
};

// "DiGiCo Session Report (*.rtf *.RTF *.txt *.TXT)": file systems on Linux tell case apart, and
// consoles and Windows machines write upper-case extensions as often as lower-case ones.
QStringList nameFilters(const QList<FileType> &types);

} // namespace kelvary::ui
