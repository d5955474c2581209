#include "ui/DisplayStartupApplier.h"

#include "lut/DisplayAccess.h"
#include "lut/LutFile.h"

std::vector<DisplayListing> DisplayStartupApplier::Displays()
{
    return ListDisplays();
}

bool DisplayStartupApplier::Load(GammaRamp& ramp, const std::string& source)
{
    return LoadLutSource(ramp, source);
}

bool DisplayStartupApplier::Write(int displayIndex, const GammaRamp& ramp)
{
    return WriteDisplayRamp(displayIndex, ramp);
}
