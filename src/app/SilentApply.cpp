#include "app/SilentApply.h"

#include <optional>

#include "app/LaunchDisplay.h"
#include "base/File.h"
#include "base/Log.h"
#include "lut/ByteSource.h"
#include "lut/DisplayAccess.h"
#include "lut/LutFile.h"
#include "lut/RampOperations.h"

bool LoadLaunchSource(const LaunchArguments& arguments, int displayIndex, GammaRamp& ramp, std::string* profileName)
{
    return arguments.lutSource == kDefaultProfileKeyword ? LoadDisplayProfile(displayIndex, ramp, profileName)
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

namespace {

// Loads a ramp for the display the command line names and applies it; a number that
// names no display is said so in place of the display access's own lines.
template <class Load>
SilentApplyResult LoadAndApply(const LaunchArguments& arguments, AppliedRamp* applied, Load load)
{
    const DisplayChoice display = ChooseLaunchDisplay(arguments);
    if (!display.index) {
        LogError("%s", display.why.c_str());
        return SilentApplyResult::NotApplied;
    }
    LogHold hold;
    GammaRamp ramp;
    if (!load(*display.index, ramp)) {
        SayNoDisplayWithNumber(arguments, hold);
        return SilentApplyResult::NotLoaded;
    }
    if (applied)
        *applied = {*display.index, ramp};
    const SilentApplyResult result = ApplyRamp(*display.index, ramp);
    if (result != SilentApplyResult::Applied && SayNoDisplayWithNumber(arguments, hold))
        return SilentApplyResult::NotApplied;
    return result;
}

} // namespace

SilentApplyResult RunSilentApply(const LaunchArguments& arguments, AppliedRamp* applied)
{
    return LoadAndApply(arguments, applied, [&](int displayIndex, GammaRamp& ramp) {
        return LoadLaunchSourceOrSayWhy(arguments, displayIndex, ramp);
    });
}

SilentApplyResult RunClear(const LaunchArguments& arguments, AppliedRamp* applied)
{
    return LoadAndApply(arguments, applied, [](int, GammaRamp& ramp) {
        SetLinearRamp(ramp);
        return true;
    });
}

bool RunSave(const LaunchArguments& arguments)
{
    const DisplayChoice display = ChooseLaunchDisplay(arguments);
    if (!display.index) {
        LogError("%s", display.why.c_str());
        return false;
    }
    GammaRamp ramp;
    {
        LogHold hold;
        if (!ReadDisplayRamp(*display.index, ramp)) {
            SayNoDisplayWithNumber(arguments, hold);
            return false;
        }
    }
    const std::string& path = arguments.lutSource;
    try {
        if (SaveLutFile(ramp, path))
            return true;
        LogError("rampwise: %s could not be saved: it is read-only, not a plain file, or its folder is missing",
                 path.c_str());
    } catch (const CFileException& error) {
        LogError("rampwise: %s could not be saved (error %d)", path.c_str(), error.ErrorCode());
    }
    return false;
}
