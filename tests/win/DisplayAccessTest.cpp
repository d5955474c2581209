#include <windows.h>

#include <climits>

#include "DisplayTestSupport.h"

// Wine keeps 8 bits per entry, refuses some ramps (all-zero, inverted) and has one
// display.
class DisplayAccessTest : public DisplayRampTest {};

TEST_F(DisplayAccessTest, IndexPastTheLastDisplayLogsTheEnumerationAndFails)
{
    const GammaRamp before = CurrentRamp();
    for (int index : {1, -1, INT_MAX}) {
        SCOPED_TRACE(index);
        GammaRamp ramp;
        ramp.entries.fill(7);
        ClearLog();
        EXPECT_FALSE(ReadDisplayRamp(index, ramp));
        EXPECT_TRUE(LoggedOnlyError("ERROR: EnumDisplayDevices falied "));
        EXPECT_EQ(ramp.entries[0], 7) << "a failed read changed the ramp";
        ClearLog();
        EXPECT_FALSE(WriteDisplayRamp(index, CurveRamp(2.2, 2.2, 2.2)));
        EXPECT_TRUE(LoggedOnlyError("ERROR: EnumDisplayDevices falied "));
        ClearLog();
        EXPECT_EQ(GetDisplayProfilePath(index), "");
        EXPECT_TRUE(LoggedOnlyError("ERROR: EnumDisplayDevices falied "));
    }
    EXPECT_EQ(CurrentRamp(), before) << "a write to a missing display reached display 0";
}

TEST_F(DisplayAccessTest, ProfilePathOfTheFirstDisplayIsWinesSrgbProfile)
{
    const std::string path = GetDisplayProfilePath(0);
    EXPECT_EQ(_stricmp(path.c_str(), "c:\\windows\\system32\\spool\\drivers\\color\\srgb color space profile.icm"), 0)
        << path;
    EXPECT_TRUE(LoggedLines().empty());
}

TEST_F(DisplayAccessTest, WriteThenReadRoundTripsAndARefusedRampLogsTheSetError)
{
    const GammaRamp curves = CurveRamp(0.8, 1.0, 1.25);
    ASSERT_TRUE(WriteDisplayRamp(0, curves));
    GammaRamp readBack;
    ASSERT_TRUE(ReadDisplayRamp(0, readBack));
    EXPECT_EQ(readBack, curves);
    EXPECT_TRUE(LoggedLines().empty());

    EXPECT_FALSE(WriteDisplayRamp(0, GammaRamp{}));
    EXPECT_TRUE(LoggedOnlyError("ERROR: SetDeviceGammaRamp falied "));
    EXPECT_EQ(CurrentRamp(), curves);
}
