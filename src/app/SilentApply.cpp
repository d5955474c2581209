#include "app/SilentApply.h"

#include "lut/DisplayAccess.h"
#include "lut/LutFile.h"

bool RunSilentApply(const LaunchArguments& arguments)
{
    const int displayIndex = arguments.DisplayIndex();
    const std::string path = arguments.lutSource == kDefaultProfileKeyword
                                 ? GetDisplayProfilePath(displayIndex)
                                 : arguments.lutSource;
    GammaRamp ramp;
    if (!LoadLutSource(ramp, path))
        return false;
    return WriteDisplayRamp(displayIndex, ramp);
}
