#pragma once

#include "lut/GammaRamp.h"

// Replaces every channel by the identity: entry i = i * 256. Always true.
bool SetLinearRamp(GammaRamp& ramp);

// Smooths each channel once with the kernel 5, 20, 50, 20, 5; the end entries of a
// channel keep their values. Always true.
bool SmoothRamp(GammaRamp& ramp);
