#pragma once

#include "app/filepanels.h"

namespace kelvary::ui {

// The view model's open and save panels as Qt file dialogs, modal over the active window.
class DialogFilePanels final : public FilePanels {
public:
    std::optional<QString> chooseFileToOpen(const OpenPanelRequest &request) override;
    std::optional<QString> chooseSaveLocation(const SavePanelRequest &request) override;
    // Qt's own save dialog, with the text option as an editable list under the name and the list
    // option as a fixed one under that.
    std::optional<SavePanelChoice>
    chooseSaveLocationWithOption(const SavePanelRequest &request, const SavePanelTextOption &option,
                                 const SavePanelListOption &list) override;
};

// "DiGiCo Session Report (*.rtf *.RTF *.txt *.TXT)": file systems on Linux tell case apart, and
// consoles and Windows machines write upper-case extensions as often as lower-case ones. A type
// without extensions offers every name: "Ardour 会话文件夹 (*)".
QStringList nameFilters(const QList<FileType> &types);

} // namespace kelvary::ui
