#pragma once

#include <optional>
#include <vector>

#include "lut/DisplayNaming.h"
#include "lut/GammaRamp.h"
#include "lut/RampComparison.h"
#include "lut/X11Display.h"

// CompareDisplayRamp and WriteDisplayRamp of DisplayAccess.h over a connection the
// caller holds, for a program that keeps one open.
std::optional<RampDifference> CompareDisplayRamp(X11Connection& connection, int displayIndex, const GammaRamp& ramp);
bool WriteDisplayRamp(X11Connection& connection, int displayIndex, const GammaRamp& ramp);
// ListDisplays of DisplayAccess.h over a connection the caller holds.
std::vector<DisplayListing> ListDisplays(X11Connection& connection);
