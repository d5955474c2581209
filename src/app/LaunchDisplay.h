#pragma once

#include <optional>
#include <string>

#include "base/LaunchArguments.h"
#include "base/Log.h"
#include "lut/DisplayNaming.h"

// The display that the command line's DISPLAY names now. A number is taken as it is,
// without listing the displays (the display access says when none has it); an
// identity or a connector is looked for among the displays listed now.
DisplayChoice ChooseLaunchDisplay(const LaunchArguments& arguments);

// After a step on the display that DISPLAY names failed: when DISPLAY is a number and
// the displays listed now are some but none has it, the line that says so ("rampwise:
// no display 5 (displays 0 to 1)"); else nothing. Only a failure lists the displays, so
// a number that names a display costs no listing.
std::optional<std::string> NoDisplayWithNumber(const LaunchArguments& arguments);

// The same, said through LogError in place of the lines that the hold took from the
// step. True when it said so.
bool SayNoDisplayWithNumber(const LaunchArguments& arguments, LogHold& hold);
