#include "shell/commandbroadcaster.h"

namespace kelvary::ui {

CommandBroadcaster &CommandBroadcaster::instance()
{
    static CommandBroadcaster broadcaster;
    return broadcaster;
}

} // namespace kelvary::ui
