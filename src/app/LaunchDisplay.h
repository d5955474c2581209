#pragma once

#include "base/LaunchArguments.h"
#include "lut/DisplayNaming.h"

// The display that the command line's DISPLAY names now. A number is taken as it is,
// without listing the displays (the display access says when none has it); an
// identity or a connector is looked for among the displays listed now.
DisplayChoice ChooseLaunchDisplay(const LaunchArguments& arguments);
