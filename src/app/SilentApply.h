#pragma once

#include "base/LaunchArguments.h"
#include "lut/GammaRamp.h"
#include "lut/RampComparison.h"

enum class SilentApplyResult {
    Applied,     // the display took the ramp and holds it
    NotLoaded,   // the source could not be loaded; nothing was written
    NotApplied,  // the source was loaded but the display named no display or refused it
    NotHeld,     // the display took the ramp but does not hold it when read back
};

// Loads the command line's LUT source: a LUT file or profile, or "@default", the
// colour profile of the display it names. On false the ramp is unchanged.
bool LoadLaunchSource(const LaunchArguments& arguments, GammaRamp& ramp);

// Loads the command line's LUT source, writes it to the display it names and reads
// the display back. A source that cannot be loaded writes nothing. For NotHeld the
// difference found is stored in `found`, when given; the loaded ramp goes to
// `loadedRamp`, when given.
SilentApplyResult RunSilentApply(const LaunchArguments& arguments, RampDifference* found = nullptr,
                                 GammaRamp* loadedRamp = nullptr);
