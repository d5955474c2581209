#pragma once

#include <string>

#include "lut/GammaRamp.h"

// The ramp and the colour profile of a display, by its zero-based index in the
// platform's display enumeration. Every call enumerates afresh and reports a failed
// platform call through LogError.
bool ReadDisplayRamp(int displayIndex, GammaRamp& ramp);
bool WriteDisplayRamp(int displayIndex, const GammaRamp& ramp);
std::string GetDisplayProfilePath(int displayIndex);
