#pragma once

#include <cstdint>
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
// A display's CRTC and the size of its gamma table, for a program that looks at the
// same display again and again: valid until RandR reports a change of the CRTCs or
// outputs.
struct X11DisplayCrtc {
    std::uint32_t crtc = 0;
    int tableSize = 0;
};
std::optional<X11DisplayCrtc> FindDisplayCrtc(X11Connection& connection, int displayIndex);
// CompareDisplayRamp for a CRTC found before: one question to the server.
std::optional<RampDifference> CompareCrtcRamp(X11Connection& connection, const X11DisplayCrtc& crtc,
                                              const GammaRamp& ramp);
// ListDisplays of DisplayAccess.h over a connection the caller holds.
std::vector<DisplayListing> ListDisplays(X11Connection& connection);
