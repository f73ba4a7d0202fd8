#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kelvary {

// A kind of file a panel offers, such as {"DiGiCo Session Report", {"rtf", "txt"}}.
struct FileType {
    QString description;
    QStringList extensions;

    bool operator==(const FileType &) const = default;
};

struct OpenPanelRequest {
    QString title;
    QList<FileType> types;

    bool operator==(const OpenPanelRequest &) const = default;
};

struct SavePanelRequest {
    QString title;
    QString prompt;
    QString suggestedName;
    QList<FileType> types;

    bool operator==(const SavePanelRequest &) const = default;
};

// A line of text a save panel lets the user edit beside the name: what it is, the texts its list
// suggests, and the text it starts with.
struct SavePanelTextOption {
    QString label;
    QStringList suggestions;
    QString text;

    bool operator==(const SavePanelTextOption &) const = default;
};

// A choice among fixed items a save panel shows beside the name: what it is, the items and the
// one it starts on. Without items the panel shows none.
struct SavePanelListOption {
    QString label;
    QStringList items;
    qsizetype current = 0;

    bool operator==(const SavePanelListOption &) const = default;
};

struct SavePanelChoice {
    QString location;
    QString optionText;
    qsizetype listIndex = 0;

    bool operator==(const SavePanelChoice &) const = default;
};

// The open and save panels of the desktop, kept behind an interface so that the logic runs
// without a window and tests can answer the panels themselves.
class FilePanels {
public:
    virtual ~FilePanels() = default;

    // The chosen file, or nothing when the user cancels.
    virtual std::optional<QString> chooseFileToOpen(const OpenPanelRequest &request) = 0;
    // The chosen destination, or nothing when the user cancels.
    virtual std::optional<QString> chooseSaveLocation(const SavePanelRequest &request) = 0;
    // The chosen destination, option text and list item. Panels that cannot show the options
    // keep the text and the item they start with.
    virtual std::optional<SavePanelChoice>
    chooseSaveLocationWithOption(const SavePanelRequest &request, const SavePanelTextOption &option,
                                 const SavePanelListOption &list)
    {
        const std::optional<QString> location = chooseSaveLocation(request);
        if (!location)
            return std::nullopt;
        return SavePanelChoice{*location, option.text, list.current};
    }
};

} // namespace kelvary
