// The command-line program: the silent apply on the displays of the X server that
// DISPLAY names. Exit status 0 when the display took the ramp, 1 when nothing was
// applied, 2 when the command line names no LUT source or is not understood.
// "/verify" compares instead: 0 held, 1 differs, 2 when the source or the display
// cannot be read.
// With /keep the program stays and keeps the display on the ramp (app/Keeper.h).

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/KeepLog.h"
#include "app/Keeper.h"
#include "app/Launch.h"
#include "app/LogPosix.h"
#include "app/SilentApply.h"
#include "app/Verify.h"
#include "base/File.h"
#include "base/LaunchArguments.h"
#include "base/Log.h"
#include "lut/DisplayAccessX11.h"

namespace {

constexpr int kNothingApplied = 1;

// One line on standard output (or error), its control characters escaped.
void PrintLine(const std::string& text, std::FILE* stream = stdout)
{
    const std::string line = EscapeControlCharacters(text) + '\n';
    std::fwrite(line.data(), 1, line.size(), stream);
}

void PrintUsage(std::FILE* stream)
{
    for (const std::string& line : UsageLines())
        PrintLine(line, stream);
}

// "/list": one line per display on standard output; 1 when the server cannot be asked.
int List()
{
    X11Connection connection;
    if (!connection.IsOpen()) {
        LogError("rampwise: cannot connect to the X server (%s)", X11ServerName().c_str());
        return kNothingApplied;
    }
    for (const DisplayListing& display : ListDisplays(connection))
        PrintLine(FormatDisplayLine(display));
    return 0;
}

// "/verify": the answer on standard output, whatever kept it from one on standard
// error (from the back end, for a display that cannot be read).
int Verify(const LaunchArguments& arguments)
{
    const VerifyOutcome outcome = RunVerify(arguments);
    switch (outcome.result) {
    case VerifyOutcome::Result::Holds:
    case VerifyOutcome::Result::Differs:
        PrintLine(FormatVerifyLine(arguments, outcome));
        break;
    case VerifyOutcome::Result::NotLoaded:
        SayWhyNotLoaded(arguments);
        break;
    case VerifyOutcome::Result::NotRead:
        if (!outcome.why.empty())
            LogError("%s", outcome.why.c_str());
        break;
    }
    return outcome.ExitStatus();
}

// "/pt" and "/clear": the ramp goes to the display, and to its keeper when it has one,
// which says so.
int SilentApply(const LaunchArguments& arguments, bool identity)
{
    AppliedRamp applied;
    const SilentApplyResult result = identity ? RunClear(arguments, &applied) : RunSilentApply(arguments, &applied);
    if (result != SilentApplyResult::Applied)
        return kNothingApplied;
    const std::string source = identity ? kIdentityRampName : arguments.lutSource;
    if (HandRampToKeeper(applied.displayIndex, applied.ramp, source))
        PrintLine(FormatHandedLine(applied.displayIndex, source));
    return 0;
}

int Run(const LaunchArguments& arguments, LaunchAction action)
{
    switch (action) {
    case LaunchAction::Mistake:
        PrintLine(arguments.mistake, stderr);
        break;
    case LaunchAction::Help:
        PrintUsage(stdout);
        return 0;
    case LaunchAction::Version:
        PrintLine(VersionLine());
        return 0;
    case LaunchAction::Clear:
        return SilentApply(arguments, true);
    case LaunchAction::Save:
        return RunSave(arguments) ? 0 : kNothingApplied;
    case LaunchAction::Verify:
        return Verify(arguments);
    case LaunchAction::Release:
        return ReleaseKeepers(arguments);
    case LaunchAction::List:
        return List();
    case LaunchAction::Keep:
        return RunKeeper(arguments);
    case LaunchAction::Status:
        for (const std::string& line : KeeperStatusLines())
            PrintLine(line);
        return 0;
    case LaunchAction::SilentApply:
        return SilentApply(arguments, false);
    case LaunchAction::NoSource:
        break;
    }
    PrintUsage(stderr);
    return kMistakeStatus;
}

} // namespace

int main(int argc, char** argv)
{
    const LaunchArguments arguments =
        ParseLaunchArguments(std::vector<std::string>(argv + 1, argv + argc), SlashSwitches::KnownOnly);
    const LaunchAction action = ClassifyLaunch(arguments);
    // An X server that went away, or whose time ran out, makes the next write to it
    // fail; that must end in a line and status 1, not in the signal's default.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        return Run(arguments, action);
    } catch (const CFileException& error) {
        LogError("rampwise: %s could not be read (error %d)", error.FileName().c_str(), error.ErrorCode());
        const VerifyOutcome unreadable{VerifyOutcome::Result::NotLoaded, {}, {}, std::nullopt, {}};
        return action == LaunchAction::Verify ? unreadable.ExitStatus() : kNothingApplied;
    }
}
