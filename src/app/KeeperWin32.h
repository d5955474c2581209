#pragma once

#include "base/LaunchArguments.h"

// "/pt SOURCE DISPLAY /keep": ends the display's keeper if it has one, applies SOURCE
// as the silent apply does, then stays without a window and writes the ramp again
// whenever the display no longer holds it, until the session ends, "/release" or
// another keeper of the display. The exit status: 0 when it kept the display, 1 when
// the source could not be loaded or the display did not take it.
int RunKeeper(const LaunchArguments& arguments);

// "/release [DISPLAY]": ends the keeper of the display, or every keeper of this
// session, and returns once they have ended. The exit status: 0, or 1 when one of
// them did not end within 10 seconds.
int ReleaseKeepers(const LaunchArguments& arguments);
