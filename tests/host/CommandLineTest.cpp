#include <gtest/gtest.h>

#include <climits>

#include "base/DisplayIndex.h"
#include "base/LaunchArguments.h"

TEST(CommandLine, SelectsSourceAndDisplay)
{
    const struct {
        std::vector<std::string> arguments;
        const char* lutSource;
        int displayIndex;
    } cases[] = {
        {{}, "", 0},
        {{"day.lut"}, "day.lut", 0},
        {{"/pt", "C:\\cal\\day.lut", "1"}, "C:\\cal\\day.lut", 1},
        {{"day.lut", "/pt", "1"}, "day.lut", 1},            // the switch may follow the source
        {{"/p", "day.lut", "1"}, "day.lut", 0},             // only print-to takes an index
        {{"/PT", "day.lut", "1"}, "day.lut", 0},            // switch names are case-sensitive
        {{"-pt", "@default", "2"}, "@default", 2},          // a dash introduces a switch too
        {{"/pt"}, "", 0},                                   // no source: interactive
        {{"/pt", "", "1"}, "1", 0},                         // an empty argument leaves the source empty
        {{"/pt", "day.lut", "/Register", "1"}, "day.lut", 0},  // a later mode switch stops the index
        {{"/pt", "day.lut", "-REGSERVER", "1"}, "day.lut", 0},  // whose names ignore case
        {{"/pt", "day.lut", "/unregserver", "1"}, "day.lut", 0},
        {{"/pt", "day.lut", "/Embedding", "3"}, "day.lut", 3},  // an unknown switch keeps the mode
        {{"/pt", "day.lut", "4", "5", "6", "7"}, "day.lut", 4},  // only the first further argument
    };
    for (const auto& c : cases) {
        const LaunchArguments parsed = ParseLaunchArguments(c.arguments);
        const std::string trace = testing::PrintToString(c.arguments);
        EXPECT_EQ(parsed.lutSource, c.lutSource) << trace;
        EXPECT_EQ(parsed.IsSilentApply(), *c.lutSource != '\0') << trace;
        EXPECT_EQ(parsed.DisplayIndex(), c.displayIndex) << trace;
    }
}

TEST(CommandLine, WhereSlashStartsPathsOnlyKnownSwitchNamesFollowIt)
{
    const struct {
        std::vector<std::string> arguments;
        const char* lutSource;
        int displayIndex;
    } cases[] = {
        {{"/pt", "/home/ann/day.icc", "1"}, "/home/ann/day.icc", 1},
        {{"/home/ann/day.lut", "/pt", "1"}, "/home/ann/day.lut", 1},
        {{"/PT", "day.lut", "1"}, "/PT", 0},                    // not a known name: a path
        {{"-x", "day.lut"}, "day.lut", 0},                      // a dash still introduces any switch
        {{"/p", "day.lut", "1"}, "day.lut", 0},
        {{"/pt", "day.lut", "/Embedding", "3"}, "day.lut", 3},
    };
    for (const auto& c : cases) {
        const LaunchArguments parsed = ParseLaunchArguments(c.arguments, SlashSwitches::KnownOnly);
        const std::string trace = testing::PrintToString(c.arguments);
        EXPECT_EQ(parsed.lutSource, c.lutSource) << trace;
        EXPECT_EQ(parsed.DisplayIndex(), c.displayIndex) << trace;
    }
    EXPECT_EQ(ParseLaunchArguments({"/pt", "/home/ann/day.icc", "1"}).lutSource, "1");
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
