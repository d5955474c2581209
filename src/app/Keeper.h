#pragma once

#include "base/LaunchArguments.h"

// How long a new keeper or "/release" waits for the keeper it ends. A Linux keeper
// may be waiting for an X server's answer, which has as long to come.
inline constexpr int kKeeperEndSeconds = 10;

// "/pt SOURCE DISPLAY /keep" on this system: RunKeep through this system's port.
int RunKeeper(const LaunchArguments& arguments);

// "/release [DISPLAY]": ends the keeper of the display, or every keeper of this user,
// and returns once they have ended: 0, or 1 when one of them did not end in time.
int ReleaseKeepers(const LaunchArguments& arguments);
