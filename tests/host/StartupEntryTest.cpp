#include <gtest/gtest.h>

#include "ui/StartupEntry.h"

TEST(StartupEntry, ValueNamesAndTheKindOfAnEntry)
{
    const std::pair<int, const char*> names[] = {{-5, "Rampwise"}, {0, "Rampwise"}, {1, "Rampwise_1"}, {12, "Rampwise_12"}};
    for (const auto& [index, name] : names)
        EXPECT_EQ(StartupValueName(index), name) << index;

    // "@default" anywhere, in this case only, makes an entry of the default profile.
    const std::pair<const char*, StartupEntryKind> kinds[] = {
        {"", StartupEntryKind::Absent},
        {"\"C:\\r.exe\" /pt \"@default\" 0", StartupEntryKind::Default},
        {"\"C:\\r.exe\" /pt \"C:\\my@defaults\\day.lut\" 1", StartupEntryKind::Default},
        {"\"C:\\r.exe\" /pt \"C:\\cal\\day.lut\" 1", StartupEntryKind::File},
        {"\"C:\\r.exe\" /pt \"@Default\" 0", StartupEntryKind::File},
    };
    for (const auto& [text, kind] : kinds)
        EXPECT_EQ(ClassifyStartupEntry(text), kind) << '"' << text << '"';
}
