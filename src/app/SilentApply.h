#pragma once

#include "app/LaunchArguments.h"

// Loads the command line's LUT source and writes it to the display it names. True
// when the display took the ramp; a source that cannot be loaded writes nothing.
bool RunSilentApply(const LaunchArguments& arguments);
