#pragma once

#include "base/LaunchArguments.h"
#include "lut/GammaRamp.h"

enum class SilentApplyResult {
    Applied,     // the display took the ramp
    NotLoaded,   // the source could not be loaded; nothing was written
    NotApplied,  // the source was loaded but the display named no display or refused it
};

// Loads the command line's LUT source and writes it to the display it names. A
// source that cannot be loaded writes nothing. The ramp goes to loadedRamp when
// given.
SilentApplyResult RunSilentApply(const LaunchArguments& arguments, GammaRamp* loadedRamp = nullptr);
