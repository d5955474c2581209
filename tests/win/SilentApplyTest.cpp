#include <string>
#include <vector>

#include "DisplayTestSupport.h"
#include "TempDir.h"
#include "app/LaunchArguments.h"
#include "app/SilentApply.h"

// Silent apply on the real display 0. Each test first puts a known ramp on the display
// and a different one into a LUT file, so that a write shows as a change.
class SilentApplyTest : public DisplayRampTest {
protected:
    void SetUp() override
    {
        DisplayRampTest::SetUp();
        ASSERT_TRUE(WriteDisplayRamp(0, m_known));
        m_lutPath = m_folder.Write("curve.lut", LutFileBytes(FileRamp()));
        ClearLog();
    }

    // The file's entries have a low byte unlike their high byte, so that a byte-order
    // mistake shows. The display keeps the high byte of each entry: it then holds m_shown.
    GammaRamp FileRamp() const
    {
        GammaRamp ramp = m_shown;
        for (std::uint16_t& entry : ramp.entries)
            entry = static_cast<std::uint16_t>((entry & 0xFF00) | ((entry >> 8) / 2));
        return ramp;
    }

    const GammaRamp m_known = CurveRamp(0.8, 0.8, 0.8);
    const GammaRamp m_shown = CurveRamp(1.1, 1.5, 2.2);
    TempDir m_folder;
    std::string m_lutPath;
};

TEST_F(SilentApplyTest, ValidLutFileLandsOnTheDisplay)
{
    const std::string upperCasePath = m_folder.Write("CURVE.LUT", LutFileBytes(FileRamp()));
    const std::vector<std::vector<std::string>> commandLines = {
        {"/pt", m_lutPath, "0"},
        {upperCasePath},  // a plain file name applies to the first display
    };
    for (const auto& commandLine : commandLines) {
        SCOPED_TRACE(commandLine[0]);
        ASSERT_TRUE(WriteDisplayRamp(0, m_known));
        const LaunchArguments arguments = ParseLaunchArguments(commandLine);
        ASSERT_TRUE(arguments.IsSilentApply());
        EXPECT_TRUE(RunSilentApply(arguments));
        EXPECT_EQ(CurrentRamp(), m_shown);
    }
}

TEST_F(SilentApplyTest, UnloadableSourceWritesNothing)
{
    const std::string shortFile = m_folder.Write("short.lut", std::vector<std::uint8_t>(1000, 0x80));
    const std::string sources[] = {
        m_folder.PathOf("missing.lut"),
        m_folder.PathOf("missing.icm"),
        shortFile,
        "@default",  // the display's own profile, which has no calibration curves under Wine
        "@Default",  // not the keyword: a file name that does not exist
    };
    for (const std::string& source : sources) {
        SCOPED_TRACE(source);
        ASSERT_TRUE(WriteDisplayRamp(0, m_known));
        EXPECT_FALSE(RunSilentApply(ParseLaunchArguments({"/pt", source, "0"})));
        EXPECT_EQ(CurrentRamp(), m_known);
    }
}

TEST_F(SilentApplyTest, EmptySourceIsNoSilentApply)
{
    for (const auto& commandLine : {std::vector<std::string>{}, std::vector<std::string>{""}}) {
        const LaunchArguments arguments = ParseLaunchArguments(commandLine);
        EXPECT_FALSE(arguments.IsSilentApply());
        EXPECT_FALSE(RunSilentApply(arguments));
    }
    EXPECT_EQ(CurrentRamp(), m_known);
}

TEST_F(SilentApplyTest, DisplayPastTheLastChangesNothing)
{
    // " -1": an argument that starts with '-' is a switch, but the number may have
    // leading blanks.
    for (const char* display : {"1", " -1", "99999999999"}) {
        SCOPED_TRACE(display);
        ASSERT_TRUE(WriteDisplayRamp(0, m_known));
        ClearLog();
        EXPECT_FALSE(RunSilentApply(ParseLaunchArguments({"/pt", m_lutPath, display})));
        EXPECT_TRUE(LoggedOnlyError("ERROR: EnumDisplayDevices falied "));
        EXPECT_EQ(CurrentRamp(), m_known);
    }
}
