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

// The open and save panels of the desktop, kept behind an interface so that the logic runs
// without a window and tests can answer the panels themselves.
class FilePanels {
public:
    virtual ~FilePanels() = default;

    // The chosen file, or nothing when the user cancels.
    virtual std::optional<QString> chooseFileToOpen(const OpenPanelRequest &request) = 0;
    // The chosen destination, or nothing when the user cancels.
    virtual std::optional<QString> chooseSaveLocation(const SavePanelRequest &request) = 0;
};

} // namespace kelvary
