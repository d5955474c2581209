#include "app/SilentApply.h"

#include "lut/DisplayAccess.h"
#include "lut/LutFile.h"

SilentApplyResult RunSilentApply(const LaunchArguments& arguments)
{
    const int displayIndex = arguments.DisplayIndex();
    const std::string path = arguments.lutSource == kDefaultProfileKeyword
                                 ? GetDisplayProfilePath(displayIndex)
                                 : arguments.lutSource;
    GammaRamp ramp;
    if (!LoadLutSource(ramp, path))
        return SilentApplyResult::NotLoaded;
    return WriteDisplayRamp(displayIndex, ramp) ? SilentApplyResult::Applied : SilentApplyResult::NotApplied;
}
