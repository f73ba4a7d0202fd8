#pragma once

#include "cli/commands.h"

namespace kelvary {
class AudioInputDeviceEnumerator;
}

namespace kelvary::cli {

// The subcommands that drive a SessionViewModel, over the given enumerator rather than this
// computer's audio service.
int runInspect(CommandContext &context, const AudioInputDeviceEnumerator &enumerator);
int runConvert(CommandContext &context, const AudioInputDeviceEnumerator &enumerator);

} // namespace kelvary::cli
