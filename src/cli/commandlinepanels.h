#pragma once

#include "app/filepanels.h"

namespace kelvary::cli {

// Panels that answer with a path the command line gave instead of asking anyone. Each answer is
// used once: a panel shown without one is cancelled, so nothing is ever written by surprise.
class CommandLinePanels final : public FilePanels {
public:
    void setNextLocation(const QString &location) { m_nextLocation = location; }

    std::optional<QString> chooseFileToOpen(const OpenPanelRequest &request) override;
    std::optional<QString> chooseSaveLocation(const SavePanelRequest &request) override;

private:
    std::optional<QString> takeNextLocation();

    std::optional<QString> m_nextLocation;
};

} // namespace kelvary::cli
