#pragma once

#include <optional>
#include <string>

#include "base/FileDescriptor.h"
#include "base/LaunchArguments.h"
#include "lut/GammaRamp.h"

// The lock of one display of one X server, held by the process that keeps it: a file
// under $XDG_RUNTIME_DIR/rampwise, locked with flock and holding the keeper's pid.
class KeeperLock {
public:
    explicit KeeperLock(int fd) : m_file(fd) {}

private:
    FileDescriptor m_file;
};

// Makes this process the display's keeper: ends the keeper it has (which may take a
// moment) and takes its lock. Also holds back SIGTERM and SIGINT, which from now on
// end the keeper with status 0 instead of killing it. Nothing, after a line that says
// why, when there is no runtime folder or the old keeper does not end.
std::optional<KeeperLock> TakeOverDisplay(int displayIndex);

// Keeps the display on the ramp until SIGTERM or SIGINT (status 0) or until the X
// server goes (status 1). Needs the lock that TakeOverDisplay gave.
int KeepDisplay(const KeeperLock& lock, int displayIndex, const GammaRamp& ramp);

// "/release [DISPLAY]": ends the keeper of that display of this X server, or every
// keeper of this user, and waits until they have ended. 0 when none is left.
int ReleaseKeepers(const LaunchArguments& arguments);
