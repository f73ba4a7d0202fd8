#pragma once

#include "app/filepanels.h"

#include <QList>

namespace kelvary {

// Panels that answer with what the test wrote down and remember every request they were shown.
class ScriptedPanels final : public FilePanels {
public:
    // The answer to every save panel; nothing answers like the user cancelling.
    std::optional<QString> saveLocation;
    QList<SavePanelRequest> saveRequests;

    std::optional<QString> chooseFileToOpen(const OpenPanelRequest &) override
    {
        return std::nullopt;
    }

    std::optional<QString> chooseSaveLocation(const SavePanelRequest &request) override
    {
        saveRequests.append(request);
        return saveLocation;
    }
};

} // namespace kelvary
