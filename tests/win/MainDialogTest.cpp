#include <gtest/gtest.h>

#include "MainDialogHarness.h"
#include "res/resource.h"

TEST_F(MainDialog, StartsReadyWithTheDisplayListAndItsRamp)
{
    const GammaRamp curve = CurveRamp(2.2, 1.8, 1.0);
    ASSERT_TRUE(WriteDisplayRamp(0, curve));
    Run([&](ScriptedDialog& d) {
        const std::string display = d.GetSelectedDisplayText();
        EXPECT_TRUE(display.starts_with("0. ") && display.find(" -> ") != std::string::npos) << display;
        EXPECT_EQ(d.GetSelectedDisplay(), 0);
        const std::string reload = "* Reloading LUT values from " + display + ".";
        EXPECT_EQ(d.LinesSince(0), (Lines{"Rampwise 1.0 ready!", reload}));
        EXPECT_EQ(d.Ramp(), curve);
        EXPECT_EQ(d.Send(IDC_REFRESH), Lines{reload});
    });
}

TEST_F(MainDialog, LinearAndSmoothReachTheDisplay)
{
    Run([&](ScriptedDialog& d) {
        EXPECT_EQ(d.Send(ID_LUT_SETLINEAR), Lines{"* Setting linear LUT values."});
        EXPECT_EQ(AsWineKeepsIt(d.Ramp()), CurveRamp(1, 1, 1));
        EXPECT_EQ(CurrentRamp(), CurveRamp(1, 1, 1));
        EXPECT_EQ(d.Send(ID_LUT_SMOOTH), Lines{"* Smoothing LUT values."});
        EXPECT_EQ(d.Ramp().Channel(0)[1], 268);
        EXPECT_EQ(CurrentRamp(), AsWineKeepsIt(d.Ramp()));
    });
}

TEST_F(MainDialog, LoadFromFileAppliesItAndAFailureLeavesTheDisplayLinear)
{
    const GammaRamp curve = CurveRamp(1.6, 1.4, 1.2);
    const std::string good = files.Write("good.lut", LutFileBytes(curve));
    const std::string shortFile = files.Write("short.lut", std::vector<std::uint8_t>(1000, 0x40));
    Run([&](ScriptedDialog& d) {
        EXPECT_EQ(d.Send(ID_FILE_LOADLUT), Lines{}) << "cancelled";
        d.answer = good;
        EXPECT_EQ(d.Send(ID_FILE_LOADLUT), (Lines{"* LUT values loaded from file:", "   " + good}));
        EXPECT_EQ(CurrentRamp(), curve);
        d.answer = shortFile;
        EXPECT_EQ(d.Send(ID_FILE_LOADLUT),
                  (Lines{"ERROR: LUT values could not be loaded from file:", "   " + shortFile}));
        EXPECT_EQ(AsWineKeepsIt(d.Ramp()), CurveRamp(1, 1, 1)) << "the diagram shows what the display has";
        EXPECT_EQ(CurrentRamp(), CurveRamp(1, 1, 1));
        ASSERT_EQ(d.requests.size(), 3u);
        EXPECT_TRUE(d.requests[0].open);
        EXPECT_EQ(d.requests[0].flags, static_cast<DWORD>(OFN_FILEMUSTEXIST));
    });
}

TEST_F(MainDialog, LoadDefaultReportsAProfileWithoutCurvesAndAppliesACalibratedOne)
{
    const std::string profile = GetDisplayProfilePath(0);
    Run([&](ScriptedDialog& d) {
        EXPECT_EQ(d.Send(ID_LUT_LOADDEFAULT), (Lines{"No VCGT or mLUT tag foung in profile " + profile,
                                                     "ERROR: LUT values could not be loaded from default file:",
                                                     "   " + profile}));
        const GammaRamp curve = CurveRamp(1.9, 1.6, 1.2);
        CalibratedDisplayProfile calibrated(curve);
        const Lines loaded = d.Send(ID_LUT_LOADDEFAULT);
        ASSERT_GE(loaded.size(), 2u);
        EXPECT_EQ(Lines(loaded.end() - 2, loaded.end()),
                  (Lines{"* LUT values loaded from default file:", "   " + profile}));
        EXPECT_EQ(CurrentRamp(), curve);
    });
}

TEST_F(MainDialog, SaveWritesTheRampAndAnUncreatableFileLogsNothing)
{
    const std::string target = files.PathOf("saved.lut");
    Run([&](ScriptedDialog& d) {
        d.answer = target;
        EXPECT_EQ(d.Send(ID_FILE_SAVELUT), (Lines{"* LUT values saved to file:", "   " + target}));
        EXPECT_EQ(files.Read("saved.lut"), LutFileBytes(d.Ramp()));
        d.answer = files.PathOf("no-such-folder\\x.lut");
        EXPECT_EQ(d.Send(ID_FILE_SAVELUT), Lines{});
        const DWORD flags = d.requests.at(0).flags;
        EXPECT_FALSE(d.requests[0].open);
        EXPECT_EQ(flags & (OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST),
                  static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST));
    });
}
