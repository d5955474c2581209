// The command-line program: the silent apply on the displays of the X server that
// DISPLAY names. Exit status 0 when the display took the ramp, 1 when nothing was
// applied, 2 when the command line names no LUT source.

#include <cstdio>
#include <string>
#include <vector>

#include "base/LaunchArguments.h"
#include "app/SilentApply.h"
#include "base/File.h"

namespace {

constexpr int kApplied = 0;
constexpr int kNothingApplied = 1;
constexpr int kUsage = 2;

constexpr const char* kUsageLine = "usage: rampwise [/pt] LUT-FILE|PROFILE|@default [DISPLAY-NUMBER]\n";

int Run(const LaunchArguments& arguments)
{
    switch (RunSilentApply(arguments)) {
    case SilentApplyResult::Applied:
        return kApplied;
    case SilentApplyResult::NotLoaded:
        if (arguments.lutSource == kDefaultProfileKeyword)
            std::fprintf(stderr, "rampwise: display %d has no colour profile with calibration curves\n",
                         arguments.DisplayIndex());
        else
            std::fprintf(stderr, "rampwise: %s could not be loaded: missing, too short, or without calibration curves\n",
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
    if (!arguments.IsSilentApply()) {
        std::fputs(kUsageLine, stderr);
        return kUsage;
    }
    try {
        return Run(arguments);
    } catch (const CFileException& error) {
        std::fprintf(stderr, "rampwise: %s could not be read (error %d)\n", error.FileName().c_str(),
                     error.ErrorCode());
        return kNothingApplied;
    }
}
