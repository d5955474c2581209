#include <string>
#include <vector>

#include "DisplayTestSupport.h"
#include "TempDir.h"
#include "base/LaunchArguments.h"
#include "app/SilentApply.h"

// Silent apply on display 0, which starts each test with a known ramp.
class SilentApplyTest : public DisplayRampTest {
protected:
    void SetUp() override
    {
        DisplayRampTest::SetUp();
        ASSERT_TRUE(WriteDisplayRamp(0, m_known));
    }
    SilentApplyResult Apply(const std::string& source, const char* display = "0")
    {
        ClearLog();
        return RunSilentApply(ParseLaunchArguments({"/pt", source, display}));
    }

    const GammaRamp m_known = CurveRamp(0.8, 0.8, 0.8);
    TempDir m_folder;
};

TEST_F(SilentApplyTest, ValidLutFileLandsOnTheDisplay)
{
    // Low bytes unlike the high ones, which the display keeps, show a byte-order mistake.
    const GammaRamp shown = CurveRamp(1.1, 1.5, 2.2);
    GammaRamp file = shown;
    for (std::uint16_t& entry : file.entries)
        entry = static_cast<std::uint16_t>((entry & 0xFF00) | ((entry >> 8) / 2));
    EXPECT_EQ(Apply(m_folder.Write("curve.lut", LutFileBytes(file))), SilentApplyResult::Applied);
    EXPECT_EQ(CurrentRamp(), shown);
}

TEST_F(SilentApplyTest, UnloadableSourceOrMissingDisplayWritesNothing)
{
    for (const std::string& source : {m_folder.PathOf("missing.lut"),
                                      m_folder.Write("short.lut", std::vector<std::uint8_t>(1000, 0x80)),
                                      std::string("@default"),  // Wine's profile has no calibration curves
                                      std::string("@Default")}) {  // not the keyword: a missing file
        EXPECT_EQ(Apply(source), SilentApplyResult::NotLoaded) << source;
        EXPECT_EQ(CurrentRamp(), m_known) << source;
    }
    EXPECT_EQ(Apply(m_folder.Write("curve.lut", LutFileBytes(CurveRamp(1.1, 1.5, 2.2))), "1"),
              SilentApplyResult::NotApplied);
    EXPECT_TRUE(LoggedOnlyError("ERROR: EnumDisplayDevices falied "));
    EXPECT_EQ(CurrentRamp(), m_known);
}
