#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/KeepCore.h"
#include "app/KeepLog.h"
#include "app/KeepRules.h"
#include "lut/RampOperations.h"
#include "support/TempDir.h"
#include "support/TestRamps.h"

namespace {

using Kind = KeepWake::Kind;

// Far enough apart for a display that holds one not to hold another.
GammaRamp Scaled(int numerator)
{
    GammaRamp ramp = DistinctRamp();
    for (std::uint16_t& entry : ramp.entries)
        entry = static_cast<std::uint16_t>(entry * numerator / 4);
    return ramp;
}
const GammaRamp kKept = Scaled(3), kHanded = Scaled(2), kReset = Scaled(1);

// A connected monitor: its connector, its identity and its ramp.
struct Monitor {
    std::string connector, serial;
    GammaRamp ramp = kReset;
};

// Monitors that come, go and move as a script says, at the times of a clock that runs
// only while the keeper waits. The trace tells what the keeper did: "MS take MONITOR",
// "MS K0" (a write of the kept ramp to display 0; H the handed one), "MS CAUSE" (a log
// line).
struct ScriptedSystem : KeepPort, KeepClock {
    struct Step {
        int at;
        std::function<std::optional<KeepWake>(ScriptedSystem&)> act;
    };
    std::vector<Step> script;
    std::vector<Monitor> monitors{{"DP-1", "1"}, {"DP-2", "2"}};
    bool loads = true;
    TakeOverResult takeOver = TakeOverResult::Taken;
    std::vector<std::string> running;
    std::optional<std::string> rules;  // handed to the keeper once
    bool hdr = false;
    std::string doing = "keeps its calibration";
    std::vector<std::string> trace;
    std::chrono::milliseconds now{0};
    std::size_t next = 0;

    static KeepSchedule::Clock::time_point At(int ms) { return KeepSchedule::Clock::time_point(std::chrono::milliseconds(ms)); }
    KeepSchedule::Clock::time_point Now() override { return KeepSchedule::Clock::time_point(now); }
    std::time_t WallNow() override { return 0; }
    void Trace(const std::string& what) { trace.push_back(std::to_string(now.count()) + " " + what); }
    bool LoadSource(const LaunchArguments& a, int, GammaRamp& ramp) override
    {
        return ramp = a.lutSource == "other.cal" ? kHanded : kKept, loads && a.lutSource != "missing.cal";
    }
    TakeOverResult TakeOver(const std::string& monitor) override { return Trace("take " + monitor), takeOver; }
    bool Apply(int index, const GammaRamp& ramp) override { return Write(index, ramp); }
    std::vector<DisplayListing> Displays() override
    {
        std::vector<DisplayListing> listed;
        for (const Monitor& m : monitors)
            listed.push_back({static_cast<int>(listed.size()), "", "", m.connector, EdidFacts{{"DEL40F3", m.serial}, ""}});
        return listed;
    }
    std::optional<RampDifference> Compare(int index, const GammaRamp& ramp) override
    {
        const GammaRamp& held = monitors.at(index).ramp;
        return CompareWithRamp({held.Channel(0), held.Channel(1), held.Channel(2)}, ramp);
    }
    bool Write(int index, const GammaRamp& ramp) override
    {
        monitors.at(index).ramp = ramp;
        GammaRamp linear;
        SetLinearRamp(linear);
        std::string what(1, ramp == kKept ? 'K' : ramp == kHanded ? 'H' : ramp == linear ? 'L' : 'S');
        return Trace(what.append(std::to_string(index))), true;
    }
    KeepWake Wait(KeepSchedule::Clock::time_point until) override
    {
        for (; next < script.size() && At(script[next].at) <= until; ++next) {
            now = std::chrono::milliseconds(script[next].at);
            if (const std::optional<KeepWake> wake = script[next].act(*this))
                return ++next, *wake;
        }
        now = std::chrono::duration_cast<std::chrono::milliseconds>(until.time_since_epoch());
        return KeepWake::Of(next < script.size() ? Kind::Due : Kind::Stop);
    }
    // A re-apply by its cause, other lines without their time.
    void Log(const std::string& line) override
    {
        const std::size_t after = line.find("after ") + 6;
        Trace(line.find("another program") != std::string::npos ? "give way"
              : after < 6                                     ? line.substr(line.find(' ', 11) + 1)
                                                              : line.substr(after, line.find(" (largest") - after));
    }
    std::vector<std::string> RunningPrograms(bool) override { return running; }
    std::optional<std::string> ChangedRules() override { return std::exchange(rules, std::nullopt); }
    bool InHdrMode(int) override { return hdr; }
    // What the keeper says it does, when that changes.
    void Publish(const KeepStatus& status) override
    {
        if (status.doing != doing)
            Trace("status: " + (doing = status.doing));
    }
};

ScriptedSystem::Step Reset(int at)
{
    return {at, [](ScriptedSystem& s) { return s.monitors.at(0).ramp = kReset, std::nullopt; }};
}
ScriptedSystem::Step Wake(int at, Kind kind, const char* cause = nullptr)
{
    return {at, [=](ScriptedSystem&) {
        KeepWake wake = KeepWake::Of(kind, cause);
        return wake.ramp = kHanded, std::optional(wake);
    }};
}
// The desk changes (monitors re-plugged, switched off, renumbered), and says so.
ScriptedSystem::Step Desk(int at, std::vector<Monitor> monitors)
{
    return {at, [=](ScriptedSystem& s) {
        s.monitors = monitors;
        return std::optional(KeepWake::Of(Kind::Event, "output change"));
    }};
}

} // namespace

// The keeper takes over, then writes, and then writes again when a check finds the
// display changed: every second, and 0.5, 2, 5 and 15 s after an event, which names the
// check; the first check after an event writes in any case, behind a ramp one step off
// (S). Against a program that keeps resetting the ramp it gives way, once it has
// written three times within a minute, waiting twice as long before each write. It keeps the monitor it started with wherever it goes, writes nothing while it
// is away, and ends as the system says.
TEST(Keep, PutsTheRampBackOnlyWhenTheDisplayNoLongerHoldsIt)
{
    const struct {
        const char* name;
        std::vector<ScriptedSystem::Step> script;
        std::vector<std::string> trace;
        int status = 0;
        bool loads = true;
        KeepPort::TakeOverResult takeOver = KeepPort::TakeOverResult::Taken;
        const char* display = "0";
    } cases[] = {
        {"nothing changes", {Wake(20000, Kind::Stop)}, {"0 take DEL40F3:1", "0 K0"}},
        {"a reset waits for the periodic check", {Reset(1500), Wake(4000, Kind::Stop)},
         {"0 take DEL40F3:1", "0 K0", "2000 K0", "2000 periodic check"}},
        {"after an event", {Wake(1200, Kind::Event, "resume"), Reset(2500), Wake(3500, Kind::Stop)},
         {"0 take DEL40F3:1", "0 K0", "1700 S0", "1700 K0", "1700 resume", "3000 K0", "3000 periodic check"}},
        // The 1300 event's check at 1800 gives way to the 1600 event's checks.
        {"events close together make one series of checks", {Wake(1000, Kind::Event, "display change"), Reset(1300),
          Wake(1300, Kind::Event, "display change"), Wake(1600, Kind::Event, "output change"), Wake(2400, Kind::Stop)},
         {"0 take DEL40F3:1", "0 K0", "1000 S0", "1000 K0", "1000 display change", "2000 S0", "2000 K0",
          "2000 output change"}},
        {"the window or /pt hands over a ramp", {Wake(1000, Kind::NewRamp), Reset(2000), Wake(2500, Kind::Stop)},
         {"0 take DEL40F3:1", "0 K0", "1000 H0", "2000 H0", "2000 periodic check"}},
        // Away, the monitor is waited for; another one that takes its number is left alone.
        {"the monitor goes and comes back on another connector",
         {Desk(1000, {{"DP-2", "2"}}), Reset(2000), Desk(4000, {{"DP-2", "2"}, {"HDMI-1", "1"}}),
          Wake(4500, Kind::Stop)},
         {"0 take DEL40F3:1", "0 K0", "1000 status: waits for its monitor", "4000 S1", "4000 K1", "4000 output change",
          "4000 status: keeps its calibration"}},
        {"another program resets the ramp twice a second for a minute",
         [] {
             std::vector<ScriptedSystem::Step> resets;
             for (int at = 500; at <= 60000; at += 500)
                 resets.push_back(Reset(at));
             return resets.push_back(Wake(70000, Kind::Stop)), resets;
         }(),
         {"0 take DEL40F3:1", "0 K0", "1000 K0", "1000 periodic check", "2000 K0", "2000 periodic check", "3000 K0",
          "3000 periodic check", "3000 give way",
          "3000 status: gives way to another program that keeps changing the ramp", "5000 K0", "5000 periodic check", "9000 K0", "9000 periodic check",
          "17000 K0", "17000 periodic check", "33000 K0", "33000 periodic check", "65000 K0", "65000 periodic check"}},
        {"an identity that two monitors carry", {}, {}, 1, true, KeepPort::TakeOverResult::Taken, "DEL40F3"},
        {"the display system goes", {Reset(1500), Wake(1800, Kind::Gone)}, {"0 take DEL40F3:1", "0 K0"}, 1},
        {"the source does not load", {}, {}, 1, false},
        {"the keeper before does not end", {}, {"0 take DEL40F3:1"}, 1, true, KeepPort::TakeOverResult::Failed},
        {"a later /keep claims the display first", {}, {"0 take DEL40F3:1"}, 0, true,
         KeepPort::TakeOverResult::Superseded},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSystem system;
        system.script = c.script, system.loads = c.loads, system.takeOver = c.takeOver;
        EXPECT_EQ(RunKeep(ParseLaunchArguments({"/pt", "kept.lut", c.display, "/keep"}), system, system), c.status);
        EXPECT_EQ(system.trace, c.trace);
    }
}

ScriptedSystem::Step Running(int at, std::vector<std::string> programs)
{
    return {at, [=](ScriptedSystem& s) { return s.running = programs, std::nullopt; }};
}

// HDR goes on or off, and the display changes with it.
ScriptedSystem::Step Hdr(int at, bool on)
{
    return {at, [=](ScriptedSystem& s) {
        s.hdr = on;
        return std::optional(KeepWake::Of(Kind::Event, "display change"));
    }};
}

// While a measuring program, one that a rule names or HDR is on, the keeper stands down
// as the rule says and tells so; once none is, it writes its calibration again.
TEST(Keep, StandsDownWhileProgramsThatOwnTheRampRun)
{
    const struct {
        const char* name;
        std::vector<ScriptedSystem::Step> script;
        std::vector<std::string> trace;
        const char* rules = "";
    } cases[] = {
        // Looked at only before a write while it runs, and then at each check to see it end.
        {"a measuring program", {Running(1500, {"bash", "dispcal"}), Reset(2500), Running(4500, {"bash"}), Wake(6000, Kind::Stop)},
         {"0 take DEL40F3:1", "0 K0", "3000 display 0 (DEL40F3:1): stands down while dispcal runs",
          "3000 status: stands down while dispcal runs", "5000 S0", "5000 K0", "5000 stand-down",
          "5000 status: keeps its calibration"}},
        // Rules that set a ramp make the keeper look at the programs every fifth check.
        {"rules: linear, a source, keep, bad lines",
         {Running(1500, {"myplayer"}), Running(6500, {"dispcal"}), Running(7500, {"viewer", "myplayer"}),
          Running(12500, {"gone"}), Wake(13500, Kind::Stop)},
         {"0 take DEL40F3:1", "0 K0", "1000 rules line 1 ignored: \"myplayer\" has no action",
          "1000 rules line 5 ignored: a quote that does not close", "6000 display 0 (DEL40F3:1): linear while myplayer runs",
          "6000 L0", "6000 status: linear while myplayer runs", "7000 S0", "7000 K0", "7000 stand-down",
          "7000 status: keeps its calibration", "12000 display 0 (DEL40F3:1): linear while myplayer runs", "12000 L0",
          "12000 status: linear while myplayer runs", "13000 S0", "13000 K0", "13000 stand-down",
          "13000 status: keeps its calibration"},
         "myplayer  # no action yet\nmyplayer linear\nviewer other.cal\ndispcal keep\n\"my player pause\n"},
        {"a source to keep, and one that does not load", {Running(1500, {"viewer"}), Running(6500, {"editor"}), Wake(7500, Kind::Stop)},
         {"0 take DEL40F3:1", "0 K0", "6000 display 0 (DEL40F3:1): keeps other.cal while viewer runs", "6000 H0",
          "6000 status: keeps other.cal while viewer runs",
          "7000 display 0 (DEL40F3:1): missing.cal cannot be loaded",
          "7000 display 0 (DEL40F3:1): stands down while editor runs", "7000 status: stands down while editor runs"},
         "viewer other.cal\neditor missing.cal"},
        {"paused and resumed from the icon", {Wake(1500, Kind::Pause), Reset(2500), Wake(3500, Kind::Resume), Wake(4500, Kind::Stop)},
         {"0 take DEL40F3:1", "0 K0", "1500 display 0 (DEL40F3:1): paused from its icon",
          "1500 status: paused from its icon", "4000 S0", "4000 K0", "4000 stand-down", "4000 status: keeps its calibration"}},
        {"HDR on and off", {Hdr(1500, true), Reset(2500), Hdr(3500, false), Wake(4500, Kind::Stop)},
         {"0 take DEL40F3:1", "0 K0", "2000 display 0 (DEL40F3:1): stands down in HDR mode",
          "2000 status: stands down in HDR mode", "4000 S0", "4000 K0", "4000 stand-down",
          "4000 status: keeps its calibration"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSystem system;
        system.script = c.script, system.rules = c.rules;
        EXPECT_EQ(RunKeep(ParseLaunchArguments({"/pt", "kept.lut", "0", "/keep"}), system, system), 0);
        EXPECT_EQ(system.trace, c.trace);
    }
}

// Names compare as each system names its programs; a pause wins over the other rules.
TEST(KeepRules, ChooseWhatToDoForTheProgramsThatRun)
{
    using Kind = StandDown::Kind;
    const struct {
        const char* rules;
        std::vector<std::string> running;
        ProgramNames names;
        StandDown expected;
    } cases[] = {
        {"", {"DisplayCAL.EXE"}, ProgramNames::Windows, {Kind::Pause, "displaycal", ""}},
        {"", {"DisplayCAL.EXE"}, ProgramNames::Linux, {}},
        {"MyPlayer linear", {"myplayer.exe"}, ProgramNames::Windows, {Kind::Linear, "myplayer", ""}},
        {"\"My Player.exe\" \"C:\\Cal\\night shift.cal\"", {"my player.exe"}, ProgramNames::Windows,
         {Kind::Source, "my player", "C:\\Cal\\night shift.cal"}},
        {"averyveryverylongname pause", {"averyveryverylo"}, ProgramNames::Linux, {Kind::Pause, "averyveryverylo", ""}},
        {"viewer other.cal\nplayer linear", {"viewer", "player", "spotread"}, ProgramNames::Linux,
         {Kind::Pause, "spotread", ""}},
        {"spotread keep\nviewer other.cal\nplayer linear", {"viewer", "player", "spotread"}, ProgramNames::Linux,
         {Kind::Linear, "player", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rules);
        const KeepRules rules = ReadKeepRules(c.rules, c.names);
        EXPECT_TRUE(rules.badLines.empty());
        EXPECT_EQ(ChooseStandDown(rules, c.running, c.names), c.expected);
    }
}

// The log and the one before stay near their cap, also when the one before cannot be
// replaced.
TEST(KeepLog, RotatesOnceTheFileWouldPassItsCap)
{
    const TempDir dir;
    const std::string log = dir.PathOf("keep.log"), line = FormatKeepLogLine(0, 1, "DEL40F3:7", "resume", 300);
    EXPECT_NE(line.find(" display 1 (DEL40F3:7): re-applied after resume (largest difference 300)"), std::string::npos)
        << line;
    KeepStatus status{"1", "DEL40F3:7", 1, "office.icc", 0, 0, "", std::string(200, 'x')};
    EXPECT_EQ(FormatKeepTooltip(status), ("Rampwise, display 1 (DEL40F3:7): " + status.doing).substr(0, 127));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(AppendKeepLogLine(log, line, 2 * (line.size() + 1)));
    EXPECT_EQ(dir.Read("keep.log").size(), line.size() + 1);
    EXPECT_EQ(dir.Read("keep.log.1").size(), 2 * (line.size() + 1));
    std::filesystem::remove(log + ".1");
    std::filesystem::create_directory(log + ".1");
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(AppendKeepLogLine(log, line, 2 * (line.size() + 1)));
    EXPECT_EQ(dir.Read("keep.log").size(), line.size() + 1);
}
