#pragma once

#include "base/LaunchArguments.h"

// What a command line asks the program to do, the same on every system.
enum class LaunchAction {
    Verify,       // "/verify SOURCE [DISPLAY]": compare, write nothing
    Release,      // "/release [DISPLAY]": end keepers
    List,         // "/list": one line per display
    Status,       // "/status": one line per running keeper
    Keep,         // "/pt SOURCE DISPLAY /keep": apply, then keep
    SilentApply,  // "/pt SOURCE [DISPLAY]" or "SOURCE": apply and end
    NoSource,     // none of these: the window on Windows, the usage line on Linux
};

LaunchAction ClassifyLaunch(const LaunchArguments& arguments);
