#include <windows.h>

#include <algorithm>
#include <climits>
#include <regex>
#include <string>

#include "DisplayTestSupport.h"

namespace {

// The log holds `count` lines, each an error of the prefix and a number; the log is cleared.
bool LoggedErrors(const std::string& prefix, std::size_t count = 1)
{
    const std::vector<std::string> lines = LoggedTexts();
    ClearLog();
    return lines.size() == count && std::ranges::all_of(lines, [&](const std::string& line) {
               return std::regex_match(line, std::regex("! " + prefix + "-?[0-9]+"));
           });
}

class DisplayAccess : public DisplayRampTest {};

} // namespace

// Wine has one display with an sRGB profile, keeps 8 bits per ramp entry and refuses some
// ramps (all-zero, inverted). A failure logs the call that failed.
TEST_F(DisplayAccess, RoundTripsOnWinesDisplayAndLogsTheCallThatFailed)
{
    const std::string path = GetDisplayProfilePath(0);
    EXPECT_EQ(_stricmp(path.c_str(), "c:\\windows\\system32\\spool\\drivers\\color\\srgb color space profile.icm"), 0)
        << path;
    const GammaRamp curves = CurveRamp(0.8, 1.0, 1.25);
    ASSERT_TRUE(WriteDisplayRamp(0, curves));
    EXPECT_EQ(CurrentRamp(), curves);
    EXPECT_FALSE(WriteDisplayRamp(0, GammaRamp{}));
    EXPECT_TRUE(LoggedErrors("ERROR: SetDeviceGammaRamp falied "));

    for (int index : {99, -1, INT_MAX}) {
        GammaRamp ramp;
        EXPECT_FALSE(ReadDisplayRamp(index, ramp));
        EXPECT_FALSE(WriteDisplayRamp(index, CurveRamp(2.2, 2.2, 2.2)));
        EXPECT_EQ(GetDisplayProfilePath(index), "");
        EXPECT_TRUE(LoggedErrors("ERROR: EnumDisplayDevices falied ", 3)) << index;
    }
}
