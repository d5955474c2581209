#include "app/SilentApply.h"

#include <optional>

#include "lut/DisplayAccess.h"
#include "lut/LutFile.h"

bool LoadLaunchSource(const LaunchArguments& arguments, GammaRamp& ramp)
{
    return arguments.lutSource == kDefaultProfileKeyword ? LoadDisplayProfile(arguments.DisplayIndex(), ramp)
                                                         : LoadLutSource(ramp, arguments.lutSource);
}

SilentApplyResult RunSilentApply(const LaunchArguments& arguments, RampDifference* found, GammaRamp* loadedRamp)
{
    const int displayIndex = arguments.DisplayIndex();
    GammaRamp ramp;
    if (!LoadLaunchSource(arguments, ramp))
        return SilentApplyResult::NotLoaded;
    if (loadedRamp)
        *loadedRamp = ramp;
    // A driver may accept a ramp and show another: only a display that holds the ramp
    // when read back has taken it. A display that cannot be written or read back has
    // said why through the log.
    const std::optional<RampDifference> difference = WriteDisplayRampAndCompare(displayIndex, ramp);
    if (!difference)
        return SilentApplyResult::NotApplied;
    if (difference->Holds())
        return SilentApplyResult::Applied;
    if (found)
        *found = *difference;
    return SilentApplyResult::NotHeld;
}
