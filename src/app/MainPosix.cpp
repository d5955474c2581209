// The command-line program: the silent apply on the displays of the X server that
// DISPLAY names. Exit status 0 when the display took the ramp, 1 when nothing was
// applied, 2 when the command line names no LUT source. "/verify" compares instead:
// 0 held, 1 differs, 2 when the source or the display cannot be read.
// With /keep the program stays and keeps the display on the ramp (app/KeeperPosix.h).

#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/KeeperPosix.h"
#include "app/LogPosix.h"
#include "app/SilentApply.h"
#include "app/Verify.h"
#include "base/File.h"
#include "base/LaunchArguments.h"
#include "base/Log.h"
#include "lut/ByteSource.h"
#include "lut/DisplayAccess.h"
#include "lut/LutFile.h"

namespace {

constexpr int kApplied = 0;
constexpr int kNothingApplied = 1;
constexpr int kUsage = 2;

constexpr const char* kUsageLine = "usage: rampwise [/pt] LUT-FILE|PROFILE|@default [DISPLAY-NUMBER]\n";

// The source the command line names could not be loaded. For @default the display
// back end has said why: no profile, no server, ...; for a calibration file that
// could be opened, its parser has named the line and the reason.
void ReportNotLoaded(const LaunchArguments& arguments)
{
    if (arguments.lutSource == kDefaultProfileKeyword)
        return;
    if (FileByteSource file; IsCalFileName(arguments.lutSource) && file.Open(arguments.lutSource.c_str()))
        return;
    LogError("rampwise: %s could not be loaded: missing, too short, or without calibration curves",
             arguments.lutSource.c_str());
}

// "/verify": the answer on standard output, whatever kept it from one on standard
// error (from the back end, for a display that cannot be read).
int Verify(const LaunchArguments& arguments)
{
    const VerifyOutcome outcome = RunVerify(arguments);
    switch (outcome.result) {
    case VerifyOutcome::Result::Holds:
    case VerifyOutcome::Result::Differs: {
        const std::string line = EscapeControlCharacters(FormatVerifyLine(arguments, outcome)) + '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
        break;
    }
    case VerifyOutcome::Result::NotLoaded:
        ReportNotLoaded(arguments);
        break;
    case VerifyOutcome::Result::NotRead:
        break;
    }
    return outcome.ExitStatus();
}

// Loads the command line's source; says so when it cannot.
bool Load(const LaunchArguments& arguments, GammaRamp& ramp)
{
    if (LoadLaunchSource(arguments, ramp))
        return true;
    ReportNotLoaded(arguments);
    return false;
}

// Writes the loaded ramp to the display and reads it back. A display that cannot be
// written or read back has said why through the log.
int Apply(const LaunchArguments& arguments, const GammaRamp& ramp)
{
    const std::optional<RampDifference> difference = WriteDisplayRampAndCompare(arguments.DisplayIndex(), ramp);
    if (!difference)
        return kNothingApplied;
    if (difference->Holds())
        return kApplied;
    LogError("rampwise: display %d took the ramp but does not hold it (largest difference %d at %s entry %zu)",
             arguments.DisplayIndex(), difference->largest, ChannelName(difference->channel), difference->entry);
    return kNothingApplied;
}

// "/keep": the source is loaded first, so that one that cannot be loaded leaves the
// display's keeper running. The old keeper then ends before the ramp is written, so
// that it cannot put its own back; when this process cannot keep the display, the
// ramp is still applied and the status is 1.
int ApplyAndKeep(const LaunchArguments& arguments)
{
    GammaRamp ramp;
    if (!Load(arguments, ramp))
        return kNothingApplied;
    const std::optional<KeeperLock> lock = TakeOverDisplay(arguments.DisplayIndex());
    if (Apply(arguments, ramp) != kApplied || !lock)
        return kNothingApplied;
    return KeepDisplay(*lock, arguments.DisplayIndex(), ramp);
}

int Run(const LaunchArguments& arguments)
{
    if (arguments.IsVerify())
        return Verify(arguments);
    if (arguments.keep)
        return ApplyAndKeep(arguments);
    GammaRamp ramp;
    return Load(arguments, ramp) ? Apply(arguments, ramp) : kNothingApplied;
}

} // namespace

int main(int argc, char** argv)
{
    const LaunchArguments arguments = ParseLaunchArguments(std::vector<std::string>(argv + 1, argv + argc), SlashSwitches::KnownOnly);
    if (arguments.IsRelease())
        return ReleaseKeepers(arguments);
    if (!arguments.IsSilentApply() && !arguments.IsVerify()) {
        std::fputs(kUsageLine, stderr);
        return kUsage;
    }
    // An X server that went away, or whose time ran out, makes the next write to it
    // fail; that must end in a line and status 1, not in the signal's default.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        return Run(arguments);
    } catch (const CFileException& error) {
        LogError("rampwise: %s could not be read (error %d)", error.FileName().c_str(), error.ErrorCode());
        const VerifyOutcome unreadable{VerifyOutcome::Result::NotLoaded, {}};
        return arguments.IsVerify() ? unreadable.ExitStatus() : kNothingApplied;
    }
}
