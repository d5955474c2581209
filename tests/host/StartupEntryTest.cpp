#include <gtest/gtest.h>

#include "ui/StartupEntry.h"

// The switch counts exactly when the program, started with the command, would see it;
// removing it leaves the rest of the command as it was before it was added.
TEST(StartupEntry, KeepSwitchIsFoundAddedAndRemovedAsTheProgramReadsIt)
{
    const std::string plain = "\"C:\\r.exe\" /pt \"C:\\cal\\day.lut\" 1";
    const struct { std::string text; bool keeps; std::string kept, released; } cases[] = {
        {plain, false, plain + " /keep", plain},
        {plain + " -keep  ", true, plain + " /keep", plain},
        {plain + " \"/keep\"", true, plain + " /keep", plain},
        {"\"C:\\r.exe\"/keep x", true, "\"C:\\r.exe\" x /keep", "\"C:\\r.exe\" x"},
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
