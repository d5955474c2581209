#include <gtest/gtest.h>

#include "ui/StartupEntry.h"

TEST(StartupEntry, ValueNamesLeaveDisplayZeroWithoutSuffix)
{
    const std::pair<int, const char*> cases[] = {
        {-5, "Rampwise"}, {0, "Rampwise"}, {1, "Rampwise_1"}, {12, "Rampwise_12"}};
    for (const auto& [index, name] : cases)
        EXPECT_EQ(StartupValueName(index), name) << index;
}

TEST(StartupEntry, CommandQuotesProgramAndSourceForTheSilentMode)
{
    EXPECT_EQ(FormatStartupCommand("C:\\Program Files\\Rampwise\\rampwise.exe", "@default", 0),
              "\"C:\\Program Files\\Rampwise\\rampwise.exe\" /pt \"@default\" 0");
    EXPECT_EQ(FormatStartupCommand("C:\\R w\\r.exe", "\\\\server\\share\\a b\\c.lut", 14),
              "\"C:\\R w\\r.exe\" /pt \"\\\\server\\share\\a b\\c.lut\" 14");
}

TEST(StartupEntry, ClassifiesByKeywordAnywhereCaseSensitive)
{
    const std::pair<const char*, StartupEntryKind> cases[] = {
        {"", StartupEntryKind::Absent},
        {"\"C:\\r.exe\" /pt \"@default\" 0", StartupEntryKind::Default},
        {"\"C:\\r.exe\" /pt \"C:\\my@defaults\\day.lut\" 1", StartupEntryKind::Default},
        {"\"C:\\r.exe\" /pt \"C:\\cal\\day.lut\" 1", StartupEntryKind::File},
        {"\"C:\\r.exe\" /pt \"@Default\" 0", StartupEntryKind::File},
    };
    for (const auto& [text, kind] : cases)
        EXPECT_EQ(ClassifyStartupEntry(text), kind) << '"' << text << '"';
}

TEST(StartupEntry, LogLinesNameTheScope)
{
    EXPECT_EQ(StartupSetHeading(StartupScope::AllUsers), "* Startup LUT set for all users on:");
    EXPECT_EQ(StartupDeletedHeading(StartupScope::CurrentUser), "* Startup LUT deleted for current user on:");
    EXPECT_EQ(StartupSetError(StartupScope::CurrentUser, 87), "ERROR: Startup LUT could not be set for current user: 87");
    EXPECT_EQ(StartupDeleteError(StartupScope::AllUsers, 5), "ERROR: Startup LUT could not be deleted for all users: 5");
}
