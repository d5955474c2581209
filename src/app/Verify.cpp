#include "app/Verify.h"

#include <optional>
#include <utility>

#include "app/LaunchDisplay.h"
#include "app/SilentApply.h"
#include "base/Log.h"
#include "lut/DisplayAccess.h"

int VerifyOutcome::ExitStatus() const
{
    switch (result) {
    case Result::Holds:
        return 0;
    case Result::Differs:
        return 1;
    case Result::NotLoaded:
    case Result::NotRead:
        break;
    }
    return 2;
}

VerifyOutcome RunVerify(const LaunchArguments& arguments)
{
    using Result = VerifyOutcome::Result;
    const DisplayChoice display = ChooseLaunchDisplay(arguments);
    if (!display.index)
        return {Result::NotRead, {}, display.why, std::nullopt, {}};
    LogHold hold;
    // The display access's own lines give way to the one that says the number names no display.
    const auto noDisplay = [&](VerifyOutcome outcome) {
        if (std::optional<std::string> why = NoDisplayWithNumber(arguments)) {
            hold.Drop();
            return VerifyOutcome{Result::NotRead, {}, std::move(*why), std::nullopt, {}};
        }
        return outcome;
    };
    GammaRamp ramp;
    std::string profile;
    if (!LoadLaunchSource(arguments, *display.index, ramp, &profile))
        return noDisplay({Result::NotLoaded, {}, {}, display.index, {}});
    const std::optional<RampDifference> difference = CompareDisplayRamp(*display.index, ramp);
    if (!difference)
        return noDisplay({Result::NotRead, {}, {}, display.index, {}});
    return {difference->Holds() ? Result::Holds : Result::Differs, *difference, {}, display.index, profile};
}

namespace {

std::string DisplayText(const LaunchArguments& arguments)
{
    return "display " + ReadDisplayName(arguments.displayParameter).Text();
}

} // namespace

std::string FormatVerifyLine(const LaunchArguments& arguments, const VerifyOutcome& outcome)
{
    using Result = VerifyOutcome::Result;
    const std::string display = DisplayText(arguments);
    const std::string source =
        outcome.profile.empty() ? arguments.lutSource : arguments.lutSource + " (" + outcome.profile + ")";
    const RampDifference& d = outcome.difference;
    switch (outcome.result) {
    case Result::Holds:
        return display + " holds " + source;
    case Result::Differs:
        return display + " differs from " + source + ": largest difference " + std::to_string(d.largest) + " at " +
               ChannelName(d.channel) + " entry " + std::to_string(d.entry);
    case Result::NotLoaded:
        if (arguments.lutSource == kDefaultProfileKeyword)
            return display + " has no colour profile with calibration curves";
        return source + " could not be loaded: missing, too short, or without calibration curves";
    case Result::NotRead:
        if (!outcome.why.empty())
            return outcome.why;
        break;
    }
    return "the table of " + display + " could not be read";
}

std::string FormatHdrLine(const LaunchArguments& arguments)
{
    return DisplayText(arguments) + " is in HDR mode: its ramp has no defined effect there";
}
