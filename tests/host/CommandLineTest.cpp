#include <gtest/gtest.h>

#include <climits>

#include "base/DisplayIndex.h"
#include "base/LaunchArguments.h"

TEST(CommandLine, SelectsSourceAndDisplay)
{
    constexpr auto all = SlashSwitches::All, knownOnly = SlashSwitches::KnownOnly;
    const struct {
        std::vector<std::string> arguments;
        SlashSwitches slash;
        const char* lutSource;
        int displayIndex;
    } cases[] = {
        {{}, all, "", 0},
        {{"day.lut"}, all, "day.lut", 0},
        {{"/pt", "C:\\cal\\day.lut", "1"}, all, "C:\\cal\\day.lut", 1},
        {{"day.lut", "/pt", "1"}, all, "day.lut", 1},                 // the switch may follow the source
        {{"/p", "day.lut", "1"}, all, "day.lut", 0},                  // only print-to takes an index
        {{"/PT", "day.lut", "1"}, all, "day.lut", 0},                 // switch names are case-sensitive
        {{"-pt", "@default", "2"}, all, "@default", 2},               // a dash introduces a switch too
        {{"/pt"}, all, "", 0},                                        // no source: interactive
        {{"/pt", "", "1"}, all, "1", 0},                              // an empty argument leaves the source empty
        {{"/pt", "day.lut", "/Register", "1"}, all, "day.lut", 0},    // a later mode switch stops the index
        {{"/pt", "day.lut", "-REGSERVER", "1"}, all, "day.lut", 0},   // whose names ignore case
        {{"/pt", "day.lut", "/unregserver", "1"}, all, "day.lut", 0},
        {{"/pt", "day.lut", "/Embedding", "3"}, all, "day.lut", 3},   // an unknown switch keeps the mode
        {{"/pt", "day.lut", "4", "5", "6", "7"}, all, "day.lut", 4},  // only the first further argument
        {{"/pt", "/home/ann/day.icc", "1"}, all, "1", 0},
        // Where a slash starts paths, only known switch names follow it.
        {{"/pt", "/home/ann/day.icc", "1"}, knownOnly, "/home/ann/day.icc", 1},
        {{"/home/ann/day.lut", "/pt", "1"}, knownOnly, "/home/ann/day.lut", 1},
        {{"/PT", "day.lut", "1"}, knownOnly, "/PT", 0},
        {{"-x", "day.lut"}, knownOnly, "day.lut", 0},  // a dash still introduces any switch
        {{"/pt", "day.lut", "/Embedding", "3"}, knownOnly, "day.lut", 3},
    };
    for (const auto& c : cases) {
        const LaunchArguments parsed = ParseLaunchArguments(c.arguments, c.slash);
        const std::string trace = testing::PrintToString(c.arguments);
        EXPECT_EQ(parsed.lutSource, c.lutSource) << trace;
        EXPECT_EQ(parsed.IsSilentApply(), *c.lutSource != '\0') << trace;
        EXPECT_EQ(parsed.DisplayIndex(), c.displayIndex) << trace;
    }
}

// "/verify" compares and "/release" ends keepers: neither applies. "/keep" rides on an apply.
TEST(CommandLine, TellsVerifyReleaseAndKeepFromTheSilentApply)
{
    constexpr auto all = SlashSwitches::All, knownOnly = SlashSwitches::KnownOnly;
    enum Is { Apply, Verify, Release, ReleaseAll, Nothing };
    const struct {
        std::vector<std::string> arguments;
        SlashSwitches slash;
        Is is;
        const char* lutSource;
        int displayIndex;
        bool keep = false;
    } cases[] = {
        {{"/verify", "day.lut"}, all, Verify, "day.lut", 0},
        {{"day.lut", "/verify", "2"}, all, Verify, "day.lut", 2},  // the display follows as after /pt
        {{"/verify", "/home/ann/day.icc", "1"}, knownOnly, Verify, "/home/ann/day.icc", 1},
        {{"/verify"}, all, Nothing, "", 0},
        {{"/Verify", "day.lut", "1"}, all, Apply, "day.lut", 0},  // case-sensitive: an unknown switch
        {{"/verify", "day.lut", "/pt", "1"}, all, Apply, "day.lut", 1},  // the last mode counts
        {{"/release"}, all, ReleaseAll, "", 0},
        {{"/release", "3"}, knownOnly, Release, "", 3},
        {{"/pt", "day.lut", "1", "/keep"}, knownOnly, Apply, "day.lut", 1, true},
        {{"/keep", "day.lut"}, all, Apply, "day.lut", 0, true},
        {{"/keep"}, all, Nothing, "", 0, true},
    };
    for (const auto& c : cases) {
        const LaunchArguments parsed = ParseLaunchArguments(c.arguments, c.slash);
        const std::string trace = testing::PrintToString(c.arguments);
        EXPECT_EQ(parsed.IsSilentApply(), c.is == Apply) << trace;
        EXPECT_EQ(parsed.IsVerify(), c.is == Verify) << trace;
        EXPECT_EQ(parsed.IsRelease(), c.is == Release || c.is == ReleaseAll) << trace;
        EXPECT_EQ(parsed.ReleasesAll(), c.is == ReleaseAll) << trace;
        EXPECT_EQ(parsed.lutSource, c.lutSource) << trace;
        EXPECT_EQ(parsed.DisplayIndex(), c.displayIndex) << trace;
        EXPECT_EQ(parsed.keep, c.keep) << trace;
    }
}

TEST(DisplayIndex, ReadsLikeAtoiButSaturates)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0},        {"2x", 2},       {"\t\n 7", 7},   {"abc", 0},
        {"-1", -1},     {"+5", 5},       {"- 1", 0},      {"0000000000000000000000012", 12},
        {"2147483647", INT_MAX},         {"2147483648", INT_MAX},          {"99999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},        {"-2147483649", INT_MIN},         {"-99999999999999999999999", INT_MIN},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseDisplayIndex(text), expected) << '"' << text << '"';
}
