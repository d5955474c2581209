#include <windows.h>

#include <algorithm>
#include <climits>

#include "DisplayTestSupport.h"

// What Wine 8 on the dummy X driver does with ramps, found by trying in one process:
// - It keeps 8 bits per entry: a read answers each entry's high byte in both bytes,
//   (v >> 8) * 257, so the identity i * 256 comes back as i * 257. A ramp whose entries
//   are all multiples of 257 round-trips exactly, whatever its shape: identity, gamma
//   curves (0.3 to 3), different curves per channel, S-curves, dimmed and clipped ramps.
// - SetDeviceGammaRamp refuses (GetLastError 0) all-zero, flat, all-white and inverted
//   ramps and ramps whose first entry is not 0 (an offset of 257 is enough).
// - Display indexes 1 and -1 do not enumerate (GetLastError 0).
class DisplayAccessTest : public DisplayRampTest {};

TEST_F(DisplayAccessTest, IndexPastTheLastDisplayLogsTheEnumerationAndFails)
{
    const GammaRamp before = CurrentRamp();
    for (int index : {1, -1, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(index);
        ClearLog();
        GammaRamp ramp = FlatRamp(7);
        EXPECT_FALSE(ReadDisplayRamp(index, ramp));
        EXPECT_TRUE(LoggedOnlyError("ERROR: EnumDisplayDevices falied "));
        EXPECT_EQ(ramp, FlatRamp(7));

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
    std::string path = GetDisplayProfilePath(0);
    EXPECT_TRUE(LoggedLines().empty());
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
    std::transform(path.begin(), path.end(), path.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    EXPECT_EQ(path, "c:\\windows\\system32\\spool\\drivers\\color\\srgb color space profile.icm");
}

TEST_F(DisplayAccessTest, WriteThenReadRoundTripsAcceptedRamps)
{
    GammaRamp dimmed;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        dimmed.entries[i] = static_cast<std::uint16_t>(257 * ((i % 256) / 2));
    const struct {
        const char* name;
        GammaRamp ramp;
    } cases[] = {
        {"identity", CurveRamp(1.0, 1.0, 1.0)},
        {"gamma 2.2", CurveRamp(2.2, 2.2, 2.2)},
        {"a curve per channel", CurveRamp(0.8, 1.0, 1.25)},
        {"half brightness", dimmed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteDisplayRamp(0, c.ramp));
        GammaRamp readBack = FlatRamp(7);
        ASSERT_TRUE(ReadDisplayRamp(0, readBack));
        EXPECT_EQ(readBack, c.ramp);
    }
    EXPECT_TRUE(LoggedLines().empty());
}

TEST_F(DisplayAccessTest, RefusedRampLogsTheSetErrorAndLeavesTheDisplay)
{
    const GammaRamp known = CurveRamp(1.6, 1.6, 1.6);
    ASSERT_TRUE(WriteDisplayRamp(0, known));
    GammaRamp inverted = CurveRamp(1.0, 1.0, 1.0);
    std::reverse(inverted.entries.begin(), inverted.entries.end());
    const struct {
        const char* name;
        GammaRamp ramp;
    } cases[] = {
        {"all zero", FlatRamp(0)},
        {"all white", FlatRamp(0xFFFF)},
        {"inverted", inverted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearLog();
        EXPECT_FALSE(WriteDisplayRamp(0, c.ramp));
        EXPECT_TRUE(LoggedOnlyError("ERROR: SetDeviceGammaRamp falied "));
        EXPECT_EQ(CurrentRamp(), known);
    }
}
