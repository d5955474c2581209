#pragma once

#include <string>
#include <vector>

#include "lut/GammaRamp.h"

// The ramp and the colour profile of a display, by its zero-based index in the
// platform's display enumeration. Every call enumerates afresh and reports a failed
// platform call through LogError.
bool ReadDisplayRamp(int displayIndex, GammaRamp& ramp);
bool WriteDisplayRamp(int displayIndex, const GammaRamp& ramp);
std::string GetDisplayProfilePath(int displayIndex);

// A display that shows a picture: its index for the calls above, the adapter that
// drives it and the monitor attached to it, as the platform names them.
struct DisplayListing {
    int index = 0;
    std::string adapter;
    std::string monitor;
};

// Every display with a monitor, in enumeration order.
std::vector<DisplayListing> ListDisplays();
