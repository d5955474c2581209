#include <gtest/gtest.h>

#include "ui/StartupEntry.h"

// The switch counts only as an argument of its own outside quotes; removing it leaves
// the command as it was before it was added.
TEST(StartupEntry, KeepSwitchIsFoundAddedAndRemovedOutsideQuotes)
{
    const std::string plain = "\"C:\\r.exe\" /pt \"C:\\cal\\day.lut\" 1";
    // {entry, keeps, with the switch, without it}
    const struct { std::string text; bool keeps; std::string kept, released; } cases[] = {
        {plain, false, plain + " /keep", plain},
        {plain + " -keep  ", true, plain + " /keep", plain},
        {"\"C:\\r.exe\" /keep /pt \"C:/a /keep\" 0 /keeping", true, "\"C:\\r.exe\" /pt \"C:/a /keep\" 0 /keeping /keep",
         "\"C:\\r.exe\" /pt \"C:/a /keep\" 0 /keeping"},
        {"", false, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartupEntryKeeps(c.text), c.keeps) << c.text;
        EXPECT_EQ(WithKeepSwitch(c.text, true), c.kept) << c.text;
        EXPECT_EQ(WithKeepSwitch(c.text, false), c.released) << c.text;
    }
}
