#include "cli/commandlinepanels.h"

#include <utility>

namespace kelvary::cli {

std::optional<QString> CommandLinePanels::chooseFileToOpen(const OpenPanelRequest &)
{
    return takeNextLocation();
}

std::optional<QString> CommandLinePanels::chooseSaveLocation(const SavePanelRequest &)
{
    return takeNextLocation();
}

std::optional<QString> CommandLinePanels::takeNextLocation()
{
    return std::exchange(m_nextLocation, std::nullopt);
}

} // namespace kelvary::cli
