#pragma once

#include <string>

#include "base/LaunchArguments.h"
#include "lut/GammaRamp.h"

enum class SilentApplyResult {
    Applied,     // the display took the ramp and holds it
    NotLoaded,   // the source could not be loaded; nothing was written
    NotApplied,  // the source was loaded but the display named no display or refused it
    NotHeld,     // the display took the ramp but does not hold it when read back
};

// Loads the command line's LUT source: a LUT file or profile, or "@default", the
// colour profile of the display at the index. On false the ramp is unchanged.
// `profileName`, when given, gets what names the profile of "@default" (see
// LoadDisplayProfile).
bool LoadLaunchSource(const LaunchArguments& arguments, int displayIndex, GammaRamp& ramp,
                      std::string* profileName = nullptr);
// Says through LogError why the source could not be loaded, where no one has yet.
void SayWhyNotLoaded(const LaunchArguments& arguments);
// LoadLaunchSource, and SayWhyNotLoaded when it fails.
bool LoadLaunchSourceOrSayWhy(const LaunchArguments& arguments, int displayIndex, GammaRamp& ramp);

// Writes the ramp to the display and reads it back; says why through LogError when
// the display did not take it.
SilentApplyResult ApplyRamp(int displayIndex, const GammaRamp& ramp);

// The display that a silent apply wrote to, and what.
struct AppliedRamp {
    int displayIndex = 0;
    GammaRamp ramp;
};

// Loads the command line's LUT source and applies it to the display it names. A
// display that it does not name now, or a source that cannot be loaded, writes
// nothing. `applied`, when given, gets the display and the ramp once it was written.
// A number that names no display is said so ("rampwise: no display 5 (displays 0 to 1)").
SilentApplyResult RunSilentApply(const LaunchArguments& arguments, AppliedRamp* applied = nullptr);

// "/clear [DISPLAY]": the identity ramp, written and checked as a silent apply's.
SilentApplyResult RunClear(const LaunchArguments& arguments, AppliedRamp* applied = nullptr);

// What "/clear" says when it handed the identity ramp to the display's keeper.
inline constexpr const char* kIdentityRampName = "the identity ramp";

// "/save FILE [DISPLAY]": the display's ramp as it stands, saved by SaveLutFile (a
// calibration file for a name ending in ".cal"). True when saved; else a line says why.
bool RunSave(const LaunchArguments& arguments);
