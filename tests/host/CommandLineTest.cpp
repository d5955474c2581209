#include <gtest/gtest.h>

#include <climits>

#include "app/DisplayIndex.h"
#include "app/LaunchArguments.h"

namespace {

struct LaunchCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* lutSource;
    int displayIndex;
};

void PrintTo(const LaunchCase& c, std::ostream* os)
{
    *os << c.name;
}

class LaunchArgumentsTest : public testing::TestWithParam<LaunchCase> {};

} // namespace

TEST_P(LaunchArgumentsTest, SelectsSourceAndDisplay)
{
    const LaunchCase& c = GetParam();
    LaunchArguments parsed = ParseLaunchArguments(c.arguments);
    EXPECT_EQ(parsed.lutSource, c.lutSource);
    EXPECT_EQ(parsed.IsSilentApply(), std::string(c.lutSource) != "");
    EXPECT_EQ(parsed.DisplayIndex(), c.displayIndex);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, LaunchArgumentsTest,
    testing::Values(
        LaunchCase{"NoArguments", {}, "", 0},
        LaunchCase{"PlainFileAlone", {"day.lut"}, "day.lut", 0},
        LaunchCase{"PrintToFileIndex", {"/pt", "C:\\cal\\day.lut", "1"}, "C:\\cal\\day.lut", 1},
        LaunchCase{"SwitchOnlyBeforeIndex", {"day.lut", "/pt", "1"}, "day.lut", 1},
        LaunchCase{"PrintToWithoutIndex", {"/pt", "day.lut"}, "day.lut", 0},
        LaunchCase{"PrintModeIgnoresIndex", {"/p", "day.lut", "1"}, "day.lut", 0},
        LaunchCase{"SwitchNamesAreCaseSensitive", {"/PT", "day.lut", "1"}, "day.lut", 0},
        LaunchCase{"DashIntroducesSwitch", {"-pt", "@default", "2"}, "@default", 2},
        LaunchCase{"KeywordIsCaseSensitive", {"/pt", "@Default", "2"}, "@Default", 2},
        LaunchCase{"SwitchAloneIsInteractive", {"/pt"}, "", 0},
        LaunchCase{"EmptyArgumentLeavesSourceEmpty", {"/pt", "", "1"}, "1", 0},
        LaunchCase{"LaterModeSwitchStopsIndex", {"/pt", "day.lut", "/Register", "1"}, "day.lut", 0},
        LaunchCase{"UnknownSwitchKeepsMode", {"/pt", "day.lut", "/Embedding", "3"}, "day.lut", 3},
        LaunchCase{"OnlyFirstFurtherParameterIsIndex", {"/pt", "day.lut", "4", "5", "6", "7"}, "day.lut", 4}),
    [](const testing::TestParamInfo<LaunchCase>& info) { return info.param.name; });

TEST(CommandLine, RegisterSwitchesIgnoreCaseAndFillNoDisplay)
{
    for (const char* name : {"/register", "-REGSERVER", "/Unregister", "/unregserver"}) {
        LaunchArguments parsed = ParseLaunchArguments({name, "day.lut", "1"});
        EXPECT_NE(parsed.mode, LaunchArguments::Mode::PrintTo) << name;
        EXPECT_NE(parsed.mode, LaunchArguments::Mode::None) << name;
        EXPECT_EQ(parsed.displayParameter, "") << name;
    }
}

TEST(DisplayIndex, ReadsLikeAtoiButSaturates)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"", 0},
        {"0", 0},
        {"2x", 2},
        {" 3", 3},
        {"\t\n7", 7},
        {"abc", 0},
        {"-1", -1},
        {"+5", 5},
        {"- 1", 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", INT_MAX},
        {"-2147483649", INT_MIN},
        {"99999999999999999999999", INT_MAX},
        {"-99999999999999999999999", INT_MIN},
        {"0000000000000000000000012", 12},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseDisplayIndex(c.text), c.expected) << '"' << c.text << '"';
}
