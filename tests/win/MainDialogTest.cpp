#include <gtest/gtest.h>

#include "MainDialogHarness.h"
#include "res/resource.h"

TEST_F(MainDialog, StartsWithTheReadyLineTheDisplayListAndTheRamp)
{
    const GammaRamp curve = CurveRamp(2.2, 1.8, 1.0);
    ASSERT_TRUE(WriteDisplayRamp(0, curve));
    ScriptedDialog dialog;
    dialog.steps = [&](ScriptedDialog& d) {
        const std::string display = d.GetSelectedDisplayText();
        EXPECT_EQ(display.rfind("0. ", 0), 0u) << display;
        EXPECT_NE(display.find(" -> "), std::string::npos) << display;
        EXPECT_EQ(d.GetSelectedDisplay(), 0);
        EXPECT_EQ(d.LogLines(), (std::vector<std::string>{"Rampwise 1.0 ready!", "* Reloading LUT values from " + display + "."}));
        EXPECT_EQ(d.Ramp(), curve);

        // The refresh button keeps the selection and reads the ramp again.
        SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(d.m_hWnd, IDC_REFRESH)));
        EXPECT_EQ(d.LogLines().back(), "* Reloading LUT values from " + display + ".");
        EXPECT_EQ(d.GetSelectedDisplay(), 0);
    };
    Run(dialog);
}

TEST_F(MainDialog, LinearAndSmoothReachTheDisplay)
{
    ScriptedDialog dialog;
    dialog.steps = [&](ScriptedDialog& d) {
        const std::size_t before = d.LineCount();
        d.Send(ID_LUT_SETLINEAR);
        EXPECT_EQ(d.Ramp(), Linear());
        EXPECT_EQ(OnDisplay(), AsWineKeepsIt(Linear()));
        d.Send(ID_LUT_SMOOTH);
        EXPECT_EQ(d.Ramp().Channel(0)[1], 268);
        EXPECT_EQ(OnDisplay(), AsWineKeepsIt(d.Ramp()));
        EXPECT_EQ(d.NewLines(before), (std::vector<std::string>{"* Setting linear LUT values.", "* Smoothing LUT values."}));
    };
    Run(dialog);
}

TEST_F(MainDialog, LoadFromFileAppliesItAndFailuresSayTheDisplayIsLinear)
{
    const GammaRamp curve = CurveRamp(1.6, 1.4, 1.2);
    const std::string good = files.Write("good.lut", LutFileBytes(curve));
    const std::string shortFile = files.Write("short.lut", std::vector<std::uint8_t>(1000, 0x40));
    ScriptedChooser chooser;
    ScriptedDialog dialog;
    dialog.SetFileChooser(chooser.Chooser());
    dialog.steps = [&](ScriptedDialog& d) {
        std::size_t before = d.LineCount();
        chooser.answer = std::nullopt;
        d.Send(ID_FILE_LOADLUT);
        EXPECT_EQ(d.LineCount(), before) << "cancelled: nothing happens";

        chooser.answer = good;
        d.Send(ID_FILE_LOADLUT);
        EXPECT_EQ(d.NewLines(before), (std::vector<std::string>{"* LUT values loaded from file:", "   " + good}));
        EXPECT_EQ(d.Ramp(), curve);
        EXPECT_EQ(OnDisplay(), curve);

        before = d.LineCount();
        chooser.answer = shortFile;
        d.Send(ID_FILE_LOADLUT);
        EXPECT_EQ(d.NewLines(before),
                  (std::vector<std::string>{"ERROR: LUT values could not be loaded from file:", "   " + shortFile}));
        EXPECT_EQ(d.Ramp(), Linear()) << "the diagram shows what the display has";
        EXPECT_EQ(OnDisplay(), AsWineKeepsIt(Linear()));

        ASSERT_EQ(chooser.requests.size(), 3u);
        EXPECT_TRUE(chooser.requests[0].open);
        EXPECT_EQ(chooser.requests[0].flags, static_cast<DWORD>(OFN_FILEMUSTEXIST));
    };
    Run(dialog);
}

TEST_F(MainDialog, LoadDefaultWithoutCalibrationCurvesReportsTheProfile)
{
    ScriptedDialog dialog;
    dialog.steps = [&](ScriptedDialog& d) {
        const std::string profile = GetDisplayProfilePath(0);
        ASSERT_FALSE(profile.empty());
        const std::size_t before = d.LineCount();
        d.Send(ID_LUT_LOADDEFAULT);
        EXPECT_EQ(d.NewLines(before),
                  (std::vector<std::string>{"No VCGT or mLUT tag foung in profile " + profile,
                                            "ERROR: LUT values could not be loaded from default file:",
                                            "   " + profile}));
    };
    Run(dialog);
}

TEST_F(MainDialog, SaveAsksBeforeReplacingAndWritesTheRamp)
{
    const std::string target = files.PathOf("saved.lut");
    ScriptedChooser chooser;
    ScriptedDialog dialog;
    dialog.SetFileChooser(chooser.Chooser());
    dialog.steps = [&](ScriptedDialog& d) {
        const std::size_t before = d.LineCount();
        chooser.answer = target;
        d.Send(ID_FILE_SAVELUT);
        EXPECT_EQ(d.NewLines(before), (std::vector<std::string>{"* LUT values saved to file:", "   " + target}));
        EXPECT_EQ(files.Read("saved.lut"), LutFileBytes(d.Ramp()));

        const std::size_t afterSave = d.LineCount();
        chooser.answer = files.PathOf("no-such-folder\\x.lut");
        d.Send(ID_FILE_SAVELUT);
        EXPECT_EQ(d.LineCount(), afterSave) << "a file that cannot be created logs nothing";

        ASSERT_EQ(chooser.requests.size(), 2u);
        const FileRequest& request = chooser.requests[0];
        EXPECT_FALSE(request.open);
        EXPECT_STREQ(request.defaultExtension, "lut");
        EXPECT_STREQ(request.initialName, "*.lut");
        EXPECT_TRUE(request.flags & OFN_OVERWRITEPROMPT);
        EXPECT_TRUE(request.flags & OFN_PATHMUSTEXIST);
        EXPECT_FALSE(request.flags & OFN_FILEMUSTEXIST) << "a new name can be typed";
    };
    Run(dialog);
}
