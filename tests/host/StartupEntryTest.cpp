#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/LaunchArguments.h"
#include "ui/StartupEntry.h"

namespace {

// The platform splitter's rules as far as the entry's data needs them: blanks separate
// arguments, a quote toggles quoting and is dropped.
std::vector<std::string> SplitCommandLine(const std::string& line)
{
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    bool started = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (started)
                arguments.push_back(current);
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started)
        arguments.push_back(current);
    return arguments;
}

} // namespace

TEST(StartupEntry, ValueNamesLeaveDisplayZeroWithoutSuffix)
{
    const struct {
        int index;
        const char* name;
    } cases[] = {{-5, "Rampwise"}, {0, "Rampwise"}, {1, "Rampwise_1"}, {3, "Rampwise_3"}, {12, "Rampwise_12"}};
    for (const auto& c : cases)
        EXPECT_EQ(StartupValueName(c.index), c.name) << c.index;
}

// What the silent mode reads back from an entry is what was set.
TEST(StartupEntry, CommandRoundTripsThroughLaunchArguments)
{
    EXPECT_EQ(FormatStartupCommand("C:\\Program Files\\Rampwise\\rampwise.exe", "@default", 0),
              "\"C:\\Program Files\\Rampwise\\rampwise.exe\" /pt \"@default\" 0");
    const struct {
        const char* source;
        int index;
    } cases[] = {{"@default", 0},
                 {"C:\\Colour Profiles\\night mode.icm", 1},
                 {"D:\\cal\\day.lut", 3},
                 {"\\\\server\\share\\a b\\c.lut", 14}};
    for (const auto& c : cases) {
        const std::string line = FormatStartupCommand("C:\\Program Files (x86)\\R w\\rampwise.exe", c.source, c.index);
        std::vector<std::string> arguments = SplitCommandLine(line);
        ASSERT_FALSE(arguments.empty()) << line;
        EXPECT_EQ(arguments.front(), "C:\\Program Files (x86)\\R w\\rampwise.exe");
        arguments.erase(arguments.begin());
        const LaunchArguments parsed = ParseLaunchArguments(arguments);
        EXPECT_EQ(parsed.mode, LaunchArguments::Mode::PrintTo) << line;
        EXPECT_EQ(parsed.lutSource, c.source) << line;
        EXPECT_EQ(parsed.DisplayIndex(), c.index) << line;
    }
}

TEST(StartupEntry, ClassifiesByKeywordAnywhereCaseSensitive)
{
    const struct {
        const char* text;
        StartupEntryKind kind;
    } cases[] = {
        {"", StartupEntryKind::Absent},
        {"\"C:\\r.exe\" /pt \"@default\" 0", StartupEntryKind::Default},
        {"\"C:\\r.exe\" /pt \"C:\\cal\\day.lut\" 1", StartupEntryKind::File},
        {"\"C:\\r.exe\" /pt \"C:\\my@defaults\\day.lut\" 1", StartupEntryKind::Default},
        {"\"C:\\r.exe\" /pt \"@Default\" 0", StartupEntryKind::File},
        {"@default", StartupEntryKind::Default},
        {"@defaul", StartupEntryKind::File},
        {" ", StartupEntryKind::File},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassifyStartupEntry(c.text), c.kind) << '"' << c.text << '"';
}

TEST(StartupEntry, LogLinesNameTheScope)
{
    EXPECT_EQ(StartupSetHeading(StartupScope::AllUsers), "* Startup LUT set for all users on:");
    EXPECT_EQ(StartupDeletedHeading(StartupScope::CurrentUser), "* Startup LUT deleted for current user on:");
    EXPECT_EQ(StartupSetError(StartupScope::CurrentUser, 87), "ERROR: Startup LUT could not be set for current user: 87");
    EXPECT_EQ(StartupDeleteError(StartupScope::AllUsers, 5), "ERROR: Startup LUT could not be deleted for all users: 5");
}
