// The command-line program: the silent apply on the displays of the X server that
// DISPLAY names. Exit status 0 when the display took the ramp, 1 when nothing was
// applied, 2 when the command line names no LUT source.
// With /keep the program stays and keeps the display on the ramp (app/KeeperPosix.h).

#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/KeeperPosix.h"
#include "app/SilentApply.h"
#include "base/File.h"
#include "base/LaunchArguments.h"
#include "base/Log.h"

namespace {

constexpr int kApplied = 0;
constexpr int kNothingApplied = 1;
constexpr int kUsage = 2;

constexpr const char* kUsageLine = "usage: rampwise [/pt] LUT-FILE|PROFILE|@default [DISPLAY-NUMBER]\n";

int Run(const LaunchArguments& arguments, GammaRamp* loadedRamp = nullptr)
{
    switch (RunSilentApply(arguments, loadedRamp)) {
    case SilentApplyResult::Applied:
        return kApplied;
    case SilentApplyResult::NotLoaded:
        // For @default the display back end has said why: no profile, no server, ...
        if (arguments.lutSource != kDefaultProfileKeyword)
            LogError("rampwise: %s could not be loaded: missing, too short, or without calibration curves",
                     arguments.lutSource.c_str());
        return kNothingApplied;
    case SilentApplyResult::NotApplied:
        break;
    }
    return kNothingApplied;
}

} // namespace

int main(int argc, char** argv)
{
    const LaunchArguments arguments = ParseLaunchArguments(std::vector<std::string>(argv + 1, argv + argc), SlashSwitches::KnownOnly);
    if (arguments.IsRelease())
        return ReleaseKeepers(arguments);
    if (!arguments.IsSilentApply()) {
        std::fputs(kUsageLine, stderr);
        return kUsage;
    }
    // An X server that went away, or whose time ran out, makes the next write to it
    // fail; that must end in a line and status 1, not in the signal's default.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        // "/keep": the display's old keeper ends before the ramp is written, so that it
        // cannot put its own back; when this process cannot keep the display, the ramp
        // is still applied and the status is 1.
        if (arguments.keep) {
            std::optional<KeeperLock> lock = TakeOverDisplay(arguments.DisplayIndex());
            GammaRamp ramp;
            const int status = Run(arguments, &ramp);
            if (status != kApplied || !lock)
                return kNothingApplied;
            return KeepDisplay(*lock, arguments.DisplayIndex(), ramp);
        }
        return Run(arguments);
    } catch (const CFileException& error) {
        LogError("rampwise: %s could not be read (error %d)", error.FileName().c_str(), error.ErrorCode());
        return kNothingApplied;
    }
}
