#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/KeepCore.h"
#include "app/KeepLog.h"
#include "app/KeepSchedule.h"
#include "support/TempDir.h"
#include "support/TestRamps.h"

namespace {

using std::chrono::milliseconds;
using Kind = KeepWake::Kind;

// Far enough apart for a display that holds one not to hold another.
GammaRamp Scaled(int numerator, int denominator)
{
    GammaRamp ramp = DistinctRamp();
    for (std::uint16_t& entry : ramp.entries)
        entry = static_cast<std::uint16_t>(entry * numerator / denominator);
    return ramp;
}
const GammaRamp kKept = DistinctRamp(), kHanded = Scaled(1, 2), kReset = Scaled(1, 4);

// A system with displays that change as a script says, at times of a clock that runs
// only while the keeper waits. It records the writes, "MS RAMP" (K kept, H handed,
// R reset), and the log lines' causes, "MS CAUSE".
class ScriptedSystem : public KeepPort, public KeepClock {
public:
    struct Step {
        int at;
        std::function<std::optional<KeepWake>(ScriptedSystem&)> act;
    };
    std::map<int, std::pair<std::string, GammaRamp>> displays{{0, {"DP-1", kReset}}};
    std::vector<Step> script;
    bool loads = true, takesOver = true;
    std::vector<std::string> writes, logged;

    KeepSchedule::Clock::time_point Now() override { return m_now; }
    std::time_t WallNow() override { return 0; }
    bool LoadSource(const LaunchArguments&, GammaRamp& ramp) override { return loads && (ramp = kKept, true); }
    bool TakeOver(int) override { return takesOver; }
    bool Apply(int index, const GammaRamp& ramp) override { return Write(index, ramp); }
    std::optional<std::string> DisplayAt(int index) override
    {
        return displays.contains(index) ? std::optional(displays[index].first) : std::nullopt;
    }
    std::optional<RampDifference> Compare(int index, const GammaRamp& ramp) override
    {
        if (!displays.contains(index))
            return std::nullopt;
        const GammaRamp& held = displays[index].second;
        return CompareWithRamp({held.Channel(0), held.Channel(1), held.Channel(2)}, ramp);
    }
    bool Write(int index, const GammaRamp& ramp) override
    {
        if (!displays.contains(index))
            return false;
        displays[index].second = ramp;
        writes.push_back(Ms() + (ramp == kKept ? " K" : ramp == kHanded ? " H" : " R"));
        return true;
    }
    KeepWake Wait(KeepSchedule::Clock::time_point until) override
    {
        while (m_next < script.size() && m_start + milliseconds(script[m_next].at) <= until) {
            m_now = m_start + milliseconds(script[m_next].at);
            if (const std::optional<KeepWake> wake = script[m_next++].act(*this))
                return *wake;
        }
        m_now = until;
        return KeepWake::Of(m_next < script.size() ? Kind::Due : Kind::Stop);
    }
    void Log(const std::string& line) override
    {
        const std::size_t after = line.find("after "), bracket = line.find(" (");
        logged.push_back(Ms() + " " + line.substr(after + 6, bracket - after - 6));
    }

private:
    std::string Ms() const { return std::to_string((m_now - m_start) / milliseconds(1)); }

    KeepSchedule::Clock::time_point m_start{}, m_now{};
    std::size_t m_next = 0;
};

using Step = ScriptedSystem::Step;

Step Reset(int at, int index = 0)
{
    return {at, [index](ScriptedSystem& s) { s.displays[index].second = kReset; return std::nullopt; }};
}
Step Wake(int at, Kind kind, const char* cause = nullptr)
{
    return {at, [=](ScriptedSystem&) {
        KeepWake wake = KeepWake::Of(kind, cause);
        wake.ramp = kHanded;
        return std::optional(wake);
    }};
}
// The display at the index becomes another output (or none), as after a re-plug.
Step Plug(int at, const char* name, int index = 0)
{
    return {at, [=](ScriptedSystem& s) {
        if (name)
            s.displays[index] = {name, kReset};
        else
            s.displays.erase(index);
        return std::optional(KeepWake::Of(Kind::Event, "output change"));
    }};
}

} // namespace

// The keeper writes at its start, then only when a check finds the display changed:
// every 3 s, and 0.5, 2, 5 and 15 s after an event, which names the check; it keeps
// the output it started with, and ends as the system says.
TEST(Keep, PutsTheRampBackOnlyWhenTheDisplayNoLongerHoldsIt)
{
    const struct {
        const char* name;
        std::vector<Step> script;
        std::vector<std::string> writes, logged;
        int status = 0;
        bool loads = true, takesOver = true;
    } cases[] = {
        {"nothing changes", {Wake(20000, Kind::Stop)}, {"0 K"}, {}},
        {"a reset waits for the periodic check", {Reset(1000), Wake(7000, Kind::Stop)}, {"0 K", "3000 K"},
         {"3000 periodic check"}},
        {"after an event", {Wake(1000, Kind::Event, "resume"), Reset(1000), Reset(2500), Reset(5800), Wake(6200, Kind::Stop)},
         {"0 K", "1500 K", "3000 K", "6000 K"}, {"1500 resume", "3000 resume", "6000 resume"}},
        {"the window hands over a ramp", {Wake(1000, Kind::NewRamp), Reset(2000), Wake(4000, Kind::Stop)},
         {"0 K", "3000 H"}, {"3000 periodic check"}},
        {"an output comes back", {Plug(1000, nullptr), Plug(4000, "DP-1"), Wake(5000, Kind::Stop)},
         {"0 K", "4500 K"}, {"4500 output change"}},
        {"another output takes the number", {Plug(1000, "HDMI-1"), Plug(7000, "DP-1"), Wake(8000, Kind::Stop)},
         {"0 K", "7500 K"}, {"7500 output change"}},
        {"the display system goes", {Reset(1000), Wake(2000, Kind::Gone)}, {"0 K"}, {}, 1},
        {"the source does not load", {}, {}, {}, 1, false},
        {"the keeper before does not end", {}, {}, {}, 1, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSystem system;
        system.script = c.script;
        system.loads = c.loads, system.takesOver = c.takesOver;
        EXPECT_EQ(RunKeep(ParseLaunchArguments({"/pt", "kept.lut", "0", "/keep"}), system, system), c.status);
        EXPECT_EQ(system.writes, c.writes);
        EXPECT_EQ(system.logged, c.logged);
    }
}

TEST(KeepLog, RotatesOnceTheFileWouldPassItsCap)
{
    const TempDir dir;
    const std::string log = dir.PathOf("keep.log"), line = FormatKeepLogLine(0, 1, "resume", 300);
    EXPECT_NE(line.find(" display 1: re-applied after resume (largest difference 300)"), std::string::npos) << line;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(AppendKeepLogLine(log, line, 2 * (line.size() + 1)));
    EXPECT_EQ(dir.Read("keep.log").size(), line.size() + 1);
    EXPECT_EQ(dir.Read("keep.log.1").size(), 2 * (line.size() + 1));
}
