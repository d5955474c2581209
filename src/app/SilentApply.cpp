#include "app/SilentApply.h"

#include <optional>

#include "app/LaunchDisplay.h"
#include "base/Log.h"
#include "lut/ByteSource.h"
#include "lut/DisplayAccess.h"
#include "lut/LutFile.h"

bool LoadLaunchSource(const LaunchArguments& arguments, int displayIndex, GammaRamp& ramp)
{
    return arguments.lutSource == kDefaultProfileKeyword ? LoadDisplayProfile(displayIndex, ramp)
                                                         : LoadLutSource(ramp, arguments.lutSource);
}

// For @default the display back end has said why: no profile, no server, ...; for a
// calibration file that could be opened, its parser has named the line and the reason.
void SayWhyNotLoaded(const LaunchArguments& arguments)
{
    if (arguments.lutSource == kDefaultProfileKeyword)
        return;
    if (FileByteSource file; IsCalFileName(arguments.lutSource) && file.Open(arguments.lutSource.c_str()))
        return;
    LogError("rampwise: %s could not be loaded: missing, too short, or without calibration curves",
             arguments.lutSource.c_str());
}

bool LoadLaunchSourceOrSayWhy(const LaunchArguments& arguments, int displayIndex, GammaRamp& ramp)
{
    if (LoadLaunchSource(arguments, displayIndex, ramp))
        return true;
    SayWhyNotLoaded(arguments);
    return false;
}

// A driver may accept a ramp and show another: only a display that holds the ramp when
// read back has taken it. A display that cannot be written or read back has said why.
SilentApplyResult ApplyRamp(int displayIndex, const GammaRamp& ramp)
{
    const std::optional<RampDifference> difference = WriteDisplayRampAndCompare(displayIndex, ramp);
    if (!difference)
        return SilentApplyResult::NotApplied;
    if (difference->Holds())
        return SilentApplyResult::Applied;
    LogError("rampwise: display %d took the ramp but does not hold it (largest difference %d at %s entry %d)",
             displayIndex, difference->largest, ChannelName(difference->channel), static_cast<int>(difference->entry));
    return SilentApplyResult::NotHeld;
}

SilentApplyResult RunSilentApply(const LaunchArguments& arguments, AppliedRamp* applied)
{
    const DisplayChoice display = ChooseLaunchDisplay(arguments);
    if (!display.index) {
        LogError("%s", display.why.c_str());
        return SilentApplyResult::NotApplied;
    }
    GammaRamp ramp;
    if (!LoadLaunchSourceOrSayWhy(arguments, *display.index, ramp))
        return SilentApplyResult::NotLoaded;
    if (applied)
        *applied = {*display.index, ramp};
    return ApplyRamp(*display.index, ramp);
}
