#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "app/KeepLog.h"
#include "app/KeepSchedule.h"
#include "base/LaunchArguments.h"
#include "lut/DisplayNaming.h"
#include "lut/GammaRamp.h"
#include "lut/RampComparison.h"

// What woke a waiting keeper.
struct KeepWake {
    enum class Kind {
        Due,      // the time asked for has come
        Event,    // a resume, an unlock, a display change: `cause` names it in the log
        NewRamp,  // the window or a "/pt" wrote `ramp` (from `source`) to the display: keep that one from now on
        Pause,    // the user paused keeping (the keeper's icon): write nothing until Resume
        Resume,
        Stop,     // asked to end: "/release", a newer keeper, the end of the session, a signal
        Gone,     // the keeper can wait no longer (the display system went away), after a line that says so
    };
    Kind kind = Kind::Due;
    const char* cause = nullptr;  // a string literal
    GammaRamp ramp;
    std::string source;  // as the command line named it; empty from the window

    static KeepWake Of(Kind kind, const char* cause = nullptr)
    {
        KeepWake wake;
        wake.kind = kind;
        wake.cause = cause;
        return wake;
    }
};

// The time as a keeper sees it: steady for its schedule, the wall clock for its log.
class KeepClock {
public:
    virtual ~KeepClock() = default;
    virtual KeepSchedule::Clock::time_point Now() = 0;
    virtual std::time_t WallNow() = 0;
};

class SystemKeepClock : public KeepClock {
public:
    KeepSchedule::Clock::time_point Now() override { return KeepSchedule::Clock::now(); }
    std::time_t WallNow() override { return std::time(nullptr); }
};

// What a keeper needs of its system. Each platform implements it; the keeping itself
// is RunKeep's alone.
class KeepPort {
public:
    virtual ~KeepPort() = default;

    // Loads the command line's source for the display; says why when it cannot.
    virtual bool LoadSource(const LaunchArguments& arguments, int displayIndex, GammaRamp& ramp) = 0;
    enum class TakeOverResult {
        Taken,       // the display's keeper from now on, ready to wait
        Failed,      // after a line that says why
        Superseded,  // a /keep that came later claimed the display meanwhile
    };
    // Claims the monitor (named as LastingName names it), ends its keeper, if it has
    // one, and takes its place.
    virtual TakeOverResult TakeOver(const std::string& monitor) = 0;
    // Writes the ramp and reads it back: true when the display holds it; says why not.
    virtual bool Apply(int displayIndex, const GammaRamp& ramp) = 0;
    // The displays that show a picture now, with their monitors' identities.
    virtual std::vector<DisplayListing> Displays() = 0;
    virtual std::optional<RampDifference> Compare(int displayIndex, const GammaRamp& ramp) = 0;
    virtual bool Write(int displayIndex, const GammaRamp& ramp) = 0;
    // Waits until the time comes or something happens, whichever is first.
    virtual KeepWake Wait(KeepSchedule::Clock::time_point until) = 0;
    // Adds a line to the keeper's log; a line that cannot be written is dropped.
    virtual void Log(const std::string& line) = 0;

    // The names of the programs that run now, as the system names them. Without
    // `fresh` the list may be one from before where no program has started since
    // (see ProcessNames).
    virtual std::vector<std::string> RunningPrograms(bool fresh) = 0;
    // The text of the user's keep rules when it changed since the last call ("" when
    // there is no rule file); nothing when it is unchanged. The first call gives it.
    virtual std::optional<std::string> ChangedRules() = 0;
    // Whether the display shows HDR (advanced colour) now: its ramp has no defined
    // effect then. Asked again only after an event: HDR going on or off is a display change.
    virtual bool InHdrMode(int displayIndex) = 0;
    // Tells "/status" (and the keeper's icon) what the keeper does, again whenever it
    // changes.
    virtual void Publish(const KeepStatus& status) = 0;
};

// "/pt SOURCE DISPLAY /keep": finds the monitor that DISPLAY names, loads the source,
// takes over the monitor from its keeper, writes the ramp, then looks at the monitor
// on KeepSchedule's times, wherever it is plugged in, and writes the ramp again when
// it no longer holds it, until asked to stop (status 0) or until the display system
// goes (status 1). While the monitor is away nothing is written (least of all to a
// monitor that took its number). A DISPLAY that names no monitor, a source that cannot
// be loaded, a take-over that fails or a display that does not take the ramp end it
// with status 1, in the first three cases with nothing written. The last /keep of a
// monitor wins: one that a later one supersedes while it waits writes nothing and
// ends with status 0.
// While a program runs that a keep rule (or a built-in one) names, the keeper stands
// down as the rule says, and puts its calibration back at the first check after the
// last such program ended; so it does while the display shows HDR.
int RunKeep(const LaunchArguments& arguments, KeepPort& port, KeepClock& clock);

// The name of the monitor under which its keeper, if it has one, took it over: its
// lasting name when the argument names a display now, else the argument's own name
// (a keeper may be waiting for a monitor that is away).
std::string KeptMonitorName(const std::string& displayArgument, const std::vector<DisplayListing>& displays);
