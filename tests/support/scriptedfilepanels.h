#pragma once

#include "app/filepanels.h"

#include <QList>

namespace kelvary {

// Panels that answer with what the test wrote down and remember every request they were shown.
class ScriptedFilePanels final : public FilePanels {
public:
    // Taken in order; once they run out, an open panel is cancelled.
    QList<std::optional<QString>> openAnswers;
    QList<OpenPanelRequest> openRequests;
    // The answer to every save panel; nothing answers like the user cancelling.
    std::optional<QString> saveLocation;
    QList<SavePanelRequest> saveRequests;
    // What the user types into a save panel's option; nothing keeps the text it shows.
    std::optional<QString> optionText;
    QList<SavePanelTextOption> optionRequests;
    // The item the user picks in a save panel's list; nothing keeps the one it starts on.
    std::optional<qsizetype> listIndex;
    QList<SavePanelListOption> listRequests;

    std::optional<QString> chooseFileToOpen(const OpenPanelRequest &request) override
    {
        openRequests.append(request);
        return openAnswers.isEmpty() ? std::nullopt : openAnswers.takeFirst();
    }

    std::optional<QString> chooseSaveLocation(const SavePanelRequest &request) override
    {
        saveRequests.append(request);
        return saveLocation;
    }

    std::optional<SavePanelChoice>
    chooseSaveLocationWithOption(const SavePanelRequest &request, const SavePanelTextOption &option,
                                 const SavePanelListOption &list) override
    {
        optionRequests.append(option);
        listRequests.append(list);
        const std::optional<QString> location = chooseSaveLocation(request);
        if (!location)
            return std::nullopt;
        return SavePanelChoice{*location, optionText.value_or(option.text),
                               listIndex.value_or(list.current)};
    }
};

} // namespace kelvary
