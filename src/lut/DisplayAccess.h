#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lut/DisplayNaming.h"
#include "lut/GammaRamp.h"
#include "lut/RampComparison.h"

// The ramp and the colour profile of a display, by its zero-based index in the
// platform's display enumeration. Every call enumerates afresh and reports a failed
// platform call through LogError.
bool ReadDisplayRamp(int displayIndex, GammaRamp& ramp);
bool WriteDisplayRamp(int displayIndex, const GammaRamp& ramp);
// Reads the display's table as it stands (at its own size) and compares it with the
// ramp; nothing when the table cannot be read. Writes nothing.
std::optional<RampDifference> CompareDisplayRamp(int displayIndex, const GammaRamp& ramp);
// Writes the ramp and compares what the display then holds, through one opening of
// the display; nothing when either step failed.
std::optional<RampDifference> WriteDisplayRampAndCompare(int displayIndex, const GammaRamp& ramp);
// Fills the ramp from the calibration curves of the colour profile that the platform
// associates with the display. On false the ramp is unchanged. `name`, when given,
// gets what names the profile: its file's name (Windows), or the property that holds
// it ("_ICC_PROFILE of DP-1", X11).
bool LoadDisplayProfile(int displayIndex, GammaRamp& ramp, std::string* name = nullptr);
#ifdef _WIN32
// The file of that profile, or the empty string. An X server holds the profile
// itself, with no file behind it.
std::string GetDisplayProfilePath(int displayIndex);
#endif

// Every display with a monitor, in enumeration order, with what its EDID says.
std::vector<DisplayListing> ListDisplays();
