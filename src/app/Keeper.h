#pragma once

#include <string>
#include <vector>

#include "base/LaunchArguments.h"
#include "lut/GammaRamp.h"

// How long a new keeper or "/release" waits for the keeper it ends. A Linux keeper
// may be waiting for an X server's answer, which has as long to come.
inline constexpr int kKeeperEndSeconds = 10;

// "/pt SOURCE DISPLAY /keep" on this system: RunKeep through this system's port.
int RunKeeper(const LaunchArguments& arguments);

// "/release [DISPLAY]": ends the keeper of the display, or every keeper of this user,
// and returns once they have ended: 0, or 1 when one of them did not end in time.
int ReleaseKeepers(const LaunchArguments& arguments);

// "/status": one line per keeper of this user that runs now (see FormatKeepStatus).
std::vector<std::string> KeeperStatusLines();

// After "/pt" wrote the ramp from source to the display: hands it to the keeper of
// the display's monitor, if it has one, which keeps it from then on. True when a
// keeper took it. Where no keeper runs, the displays are not even listed.
bool HandRampToKeeper(int displayIndex, const GammaRamp& ramp, const std::string& source);
