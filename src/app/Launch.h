#pragma once

#include <string>
#include <vector>

#include "base/LaunchArguments.h"

// What a command line asks the program to do, the same on every system.
enum class LaunchAction {
    Mistake,      // an unknown switch, or one without its argument: the line and the usage, status 2
    Help,         // "/help", "/?": the usage on standard output
    Version,      // "/version": "rampwise VERSION"
    Verify,       // "/verify SOURCE [DISPLAY]": compare, write nothing
    Release,      // "/release [DISPLAY]": end keepers
    List,         // "/list": one line per display
    Status,       // "/status": one line per running keeper
    Clear,        // "/clear [DISPLAY]": the identity ramp
    Save,         // "/save FILE [DISPLAY]": the display's ramp to a file
    Keep,         // "/pt SOURCE DISPLAY /keep": apply, then keep
    SilentApply,  // "/pt SOURCE [DISPLAY]" or "SOURCE": apply and end
    NoSource,     // none of these: the window on Windows, the usage on Linux
};

LaunchAction ClassifyLaunch(const LaunchArguments& arguments);

// The usage, without line ends: every switch, the kinds of source and the ways to
// name a display.
std::vector<std::string> UsageLines();
// "rampwise 1.1.0.46".
std::string VersionLine();
// The exit status of a command line that the program does not understand.
inline constexpr int kMistakeStatus = 2;
