#include <gtest/gtest.h>

#include <climits>

#include "app/Launch.h"
#include "lut/DisplayNaming.h"
#include "base/LaunchArguments.h"

// Both programs classify a command line alike; only Linux has slashes that start paths.
TEST(CommandLine, SelectsSourceDisplayAndWhatToDo)
{
    constexpr auto all = SlashSwitches::All, knownOnly = SlashSwitches::KnownOnly;
    using enum LaunchAction;
    const struct {
        std::vector<std::string> arguments;
        SlashSwitches slash;
        const char* lutSource;
        int displayIndex;
        LaunchAction action = SilentApply;
        const char* mistake = "";
    } cases[] = {
        {{}, all, "", 0, NoSource},
        {{"day.lut"}, all, "day.lut", 0},
        {{"/pt", "C:\\cal\\day.lut", "1"}, all, "C:\\cal\\day.lut", 1},
        {{"day.lut", "/pt", "1"}, all, "day.lut", 1},                 // the switch may follow the source
        {{"/p", "day.lut", "1"}, all, "day.lut", 0},                  // only print-to takes an index
        {{"/PT", "day.lut", "1"}, all, "day.lut", 0, Mistake, "rampwise: unknown switch /PT"},  // case-sensitive
        {{"-pt", "@default", "2"}, all, "@default", 2},               // a dash introduces a switch too
        {{"/pt"}, all, "", 0, Mistake, "rampwise: /pt needs a SOURCE"},
        {{"/p"}, all, "", 0, NoSource},                               // the window, or the usage
        {{"/pt", "", "1"}, all, "1", 0},                              // an empty argument leaves the source empty
        {{"/pt", "day.lut", "/Register", "1"}, all, "day.lut", 0},    // a later mode switch stops the index
        {{"/pt", "day.lut", "-REGSERVER", "1"}, all, "day.lut", 0},   // whose names ignore case
        {{"/pt", "day.lut", "/unregserver", "1"}, all, "day.lut", 0},
        {{"/pt", "day.lut", "/Embedding", "3"}, all, "day.lut", 3},   // an unknown switch keeps the mode
        {{"/pt", "day.lut", "4", "5", "6", "7"}, all, "day.lut", 4},  // only the first further argument
        {{"/pt", "/home/ann/day.icc", "1"}, all, "1", 0, Mistake, "rampwise: unknown switch /home/ann/day.icc"},
        // Where a slash starts paths, only known switch names follow it.
        {{"/pt", "/home/ann/day.icc", "1"}, knownOnly, "/home/ann/day.icc", 1},
        {{"/home/ann/day.lut", "/pt", "1"}, knownOnly, "/home/ann/day.lut", 1},
        {{"/PT", "day.lut", "1"}, knownOnly, "/PT", 0},
        {{"/bogus"}, knownOnly, "/bogus", 0},
        {{"day.lut", "--keep"}, knownOnly, "day.lut", 0, Mistake, "rampwise: unknown switch --keep"},
        {{"-c", "-x"}, knownOnly, "", 0, Mistake, "rampwise: unknown switch -c"},  // the first one
        {{"/pt", "day.lut", "/Embedding", "3"}, knownOnly, "day.lut", 3},
        // Verify compares and release ends keepers: neither applies. Keep rides on an apply.
        {{"day.lut", "/verify", "2"}, all, "day.lut", 2, Verify},
        {{"/verify", "/home/ann/day.icc", "1", "/keep"}, knownOnly, "/home/ann/day.icc", 1, Verify},
        {{"/verify"}, all, "", 0, Mistake, "rampwise: /verify needs a SOURCE"},
        {{"/release", "3", "/keep"}, knownOnly, "", 3, Release},
        {{"/release"}, all, "", 0, Release},
        {{"/pt", "/home/ann/day.icc", "1", "/keep"}, knownOnly, "/home/ann/day.icc", 1, Keep},
        {{"/keep"}, all, "", 0, Mistake, "rampwise: /keep needs a SOURCE"},
        {{"/list"}, knownOnly, "", 0, List},
        {{"/pt", "day.lut", "1", "/keep", "/quiet"}, knownOnly, "day.lut", 1, Keep},
        {{"/clear", "1"}, knownOnly, "", 1, Clear},
        {{"/save", "/home/ann/now.CAL", "1"}, knownOnly, "/home/ann/now.CAL", 1, Save},
        {{"/save"}, knownOnly, "", 0, Mistake, "rampwise: /save needs a FILE"},
        {{"/?"}, knownOnly, "", 0, Help},
        {{"-help"}, all, "", 0, Help},
        {{"/version"}, all, "", 0, Version},
    };
    for (const auto& c : cases) {
        const LaunchArguments parsed = ParseLaunchArguments(c.arguments, c.slash);
        const std::string trace = testing::PrintToString(c.arguments);
        EXPECT_EQ(parsed.lutSource, c.lutSource) << trace;
        EXPECT_EQ(ClassifyLaunch(parsed), c.action) << trace;
        EXPECT_EQ(ReadDisplayName(parsed.displayParameter).number, c.displayIndex) << trace;
        EXPECT_EQ(parsed.mistake, c.mistake) << trace;
    }
}
