#pragma once

#include "lut/GammaRamp.h"
#include "support/CrtcGammaProbe.h"

// The CRTC table of 256 entries per channel that holds the ramp exactly.
inline CrtcGammaTable TableOf(const GammaRamp& ramp)
{
    const auto& e = ramp.entries;
    return {{e.begin(), e.begin() + 256}, {e.begin() + 256, e.begin() + 512}, {e.begin() + 512, e.end()}};
}
