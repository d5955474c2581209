#include "app/SilentApply.h"

#include "lut/DisplayAccess.h"
#include "lut/LutFile.h"

SilentApplyResult RunSilentApply(const LaunchArguments& arguments, GammaRamp* loadedRamp)
{
    const int displayIndex = arguments.DisplayIndex();
    GammaRamp ramp;
    const bool loaded = arguments.lutSource == kDefaultProfileKeyword ? LoadDisplayProfile(displayIndex, ramp)
                                                                      : LoadLutSource(ramp, arguments.lutSource);
    if (!loaded)
        return SilentApplyResult::NotLoaded;
    if (loadedRamp)
        *loadedRamp = ramp;
    return WriteDisplayRamp(displayIndex, ramp) ? SilentApplyResult::Applied : SilentApplyResult::NotApplied;
}
