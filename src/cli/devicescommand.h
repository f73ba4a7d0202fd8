#pragma once

#include "cli/commands.h"

namespace kelvary {
class AudioInputDeviceEnumerator;
}

namespace kelvary::cli {

// `devices` over the given enumerator rather than this computer's audio service.
int runDevices(CommandContext &context, const AudioInputDeviceEnumerator &enumerator);

} // namespace kelvary::cli
