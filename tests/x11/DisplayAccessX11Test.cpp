#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "TempDir.h"
#include "X11TestSupport.h"
#include "lut/DisplayAccess.h"
#include "support/RecordingLog.h"

namespace {

class DisplayAccessX11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        RAMPWISE_REQUIRE_X_SERVER();
        setenv("XDG_CACHE_HOME", m_cache.PathOf("").c_str(), 1);
        ClearLog();
    }

    static std::vector<std::string> ErrorLines()
    {
        std::vector<std::string> lines;
        for (const LoggedLine& line : LoggedLines())
            lines.push_back((line.isError ? "! " : "") + line.text);
        return lines;
    }

    SavedGammaTables m_savedTables;
    TempDir m_cache;
};

const std::vector<std::string> kNoSuchDisplay = {"! ERROR: EnumDisplayDevices falied 0"};

} // namespace

TEST_F(DisplayAccessX11Test, RampReachesTheCrtcExactlyAndReadsBack)
{
    const GammaRamp ramp = DistinctRamp(3);
    ASSERT_TRUE(WriteDisplayRamp(0, ramp));
    EXPECT_EQ(ReadCrtcGamma("DUMMY0"), TableOf(ramp));
    GammaRamp read;
    ASSERT_TRUE(ReadDisplayRamp(0, read));
    EXPECT_EQ(read, ramp);
    EXPECT_TRUE(LoggedLines().empty());
}

TEST_F(DisplayAccessX11Test, IndexCountsOnlyConnectedOutputsThatDriveACrtc)
{
    const GammaRamp first = DistinctRamp(1), second = DistinctRamp(2);
    {
        SecondDisplay on;
        ASSERT_TRUE(WriteDisplayRamp(0, first));
        ASSERT_TRUE(WriteDisplayRamp(1, second));
        EXPECT_EQ(ReadCrtcGamma("DUMMY0"), TableOf(first));
        EXPECT_EQ(ReadCrtcGamma("DUMMY1"), TableOf(second));
        EXPECT_TRUE(LoggedLines().empty());
        GammaRamp untouched = first;
        EXPECT_FALSE(ReadDisplayRamp(2, untouched));
        EXPECT_EQ(untouched, first);
        EXPECT_EQ(ErrorLines(), kNoSuchDisplay);
    }
    // Switched off, DUMMY1 is still connected but drives no CRTC.
    ClearLog();
    EXPECT_FALSE(WriteDisplayRamp(1, second));
    EXPECT_FALSE(WriteDisplayRamp(-1, second));
    EXPECT_EQ(GetDisplayProfilePath(1), "");
    EXPECT_EQ(ErrorLines(), std::vector<std::string>(3, kNoSuchDisplay[0]));
    EXPECT_EQ(ReadCrtcGamma("DUMMY0"), TableOf(first));
}

TEST_F(DisplayAccessX11Test, NoXServerFailsEveryCallWithTheEnumerationLine)
{
    const std::string display = std::getenv("DISPLAY");
    setenv("DISPLAY", ":9999", 1);
    GammaRamp ramp = DistinctRamp(4);
    const bool read = ReadDisplayRamp(0, ramp), written = WriteDisplayRamp(0, ramp);
    const std::string profile = GetDisplayProfilePath(0);
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_FALSE(read);
    EXPECT_FALSE(written);
    EXPECT_EQ(profile, "");
    EXPECT_EQ(ramp, DistinctRamp(4));
    EXPECT_EQ(ErrorLines(), std::vector<std::string>(3, kNoSuchDisplay[0]));
}

TEST_F(DisplayAccessX11Test, ProfileComesFromTheOutputThenTheRootWindowAndIsCached)
{
    const std::vector<std::uint8_t> rootProfile(3000, 0x11), outputProfile(700, 0x22), secondProfile(50, 0x33);
    const std::string cached = m_cache.PathOf("rampwise/display-0.icc");
    const auto cachedBytes = [&](const std::string& name) { return m_cache.Read("rampwise/" + name); };

    EXPECT_EQ(GetDisplayProfilePath(0), "");  // nothing set
    {
        ProfileProperty root("_ICC_PROFILE", rootProfile);
        ASSERT_EQ(GetDisplayProfilePath(0), cached);
        EXPECT_EQ(cachedBytes("display-0.icc"), rootProfile);
        {
            ProfileProperty output("_ICC_PROFILE", outputProfile, "DUMMY0");
            ASSERT_EQ(GetDisplayProfilePath(0), cached);
            EXPECT_EQ(cachedBytes("display-0.icc"), outputProfile);
        }
        // The root window's plain name belongs to the first display only.
        SecondDisplay on;
        EXPECT_EQ(GetDisplayProfilePath(1), "");
        ProfileProperty second("_ICC_PROFILE_1", secondProfile);
        ASSERT_EQ(GetDisplayProfilePath(1), m_cache.PathOf("rampwise/display-1.icc"));
        EXPECT_EQ(cachedBytes("display-1.icc"), secondProfile);
    }
    {
        ProfileProperty wrongFormat("_ICC_PROFILE", rootProfile, nullptr, 16);
        EXPECT_EQ(GetDisplayProfilePath(0), "");
    }
    EXPECT_EQ(GetDisplayProfilePath(0), "");  // removed again
    EXPECT_TRUE(LoggedLines().empty());
    EXPECT_EQ(m_cache.Files(), std::vector<std::string>{"rampwise"});  // no temporary file left
}
