#include <windows.h>

#include <string>

#include "DisplayTestSupport.h"
#include "TempDir.h"
#include "EdidBytes.h"
#include "app/Launch.h"
#include "app/SilentApply.h"
#include "lut/LutFile.h"
#include "res/Version.h"
#include "base/LaunchArguments.h"
#include "res/resource.h"
#include "ui/DisplayStartupApplier.h"
#include "ui/StartupRegistry.h"

using ProgramProcess = DisplayRampTest;

// Each source is applied in this process, where the display's ramp can be read back, and
// by the program itself, which must end by itself whatever the outcome (the main dialog
// or a message box would keep it running) and tell by its exit status whether it applied.
// In between, the program verifies the source against what the display then holds, and
// says so on standard output, as a script that redirects it would get it. A bare
// "rampwise" is the program next to the test program, where the platform looks first.
TEST_F(ProgramProcess, SilentApplyWritesOnlyALoadableSourceAndEndsWithoutAWindow)
{
    TempDir folder;
    const GammaRamp known = CurveRamp(0.8, 0.8, 0.8), shown = CurveRamp(1.1, 1.5, 2.2);
    // Names in any script: a LUT file and a profile are opened alike, and the display's
    // profile has an ANSI name.
    const std::string lut = folder.Write("Кривая 曲線.lut", LutFileBytes(shown));
    const std::string refused = folder.Write("flat.lut", LutFileBytes(CurveRamp(0, 0, 0)));  // Wine refuses it
    const CalibratedDisplayProfile calibrated(shown);
    // What "/verify" then says, and its exit status.
    const struct { std::string source; const char* display; SilentApplyResult result; DWORD verified; std::string line; }
        cases[] = {
        {lut, "0", SilentApplyResult::Applied, 0, "display 0 holds " + lut + "\r\n"},
        {"@default", "0", SilentApplyResult::Applied, 0, "display 0 holds @default (sRGB Color Space Profile.icm)\r\n"},
        {lut, "5", SilentApplyResult::NotApplied, 2, "rampwise: no display 5 (displays 0 to 0)\r\n"},
        {refused, "0", SilentApplyResult::NotApplied, 1,
         "display 0 differs from " + refused + ": largest difference 65535 at red entry 0\r\n"},
        // Not the keyword: a file that is missing.
        {"@Default", "0", SilentApplyResult::NotLoaded, 2,
         "@Default could not be loaded: missing, too short, or without calibration curves\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source + " " + c.display);
        ASSERT_TRUE(WriteDisplayRamp(0, known));
        EXPECT_EQ(RunSilentApply(ParseLaunchArguments({"/pt", c.source, c.display})), c.result);
        EXPECT_EQ(CurrentRamp(), c.result == SilentApplyResult::Applied ? shown : known);
        const ChildProcess verify("rampwise /verify \"" + c.source + "\" " + c.display, true);
        EXPECT_EQ(verify.ExitCode(30000), c.verified);
        EXPECT_EQ(verify.TakeOutput(), c.line);
        EXPECT_EQ(ChildProcess("rampwise /pt \"" + c.source + "\" " + c.display).ExitCode(30000),
                  c.result == SilentApplyResult::Applied ? 0u : 1u);
    }
}

// What the command line says, through a redirected standard output and error, and what
// it saves loads back.
TEST_F(ProgramProcess, AnswersHelpVersionMistakesMissingDisplaysAndSavesTheRamp)
{
    TempDir folder;
    const std::string saved = folder.PathOf("now.Cal");
    const auto usage = [](const std::string& mistake) {
        std::string text = mistake.empty() ? "" : mistake + "\r\n";
        for (const std::string& line : UsageLines())
            text += line + "\r\n";
        return text;
    };
    const struct { std::string command; DWORD status; std::string output; } cases[] = {
        {"/?", 0, usage("")},
        {"/version", 0, "rampwise " RAMPWISE_VERSION_TEXT "\r\n"},
        {"/bogus", 2, usage("rampwise: unknown switch /bogus")},
        {"/pt", 2, usage("rampwise: /pt needs a SOURCE")},
        {"/clear 5", 1, "rampwise: no display 5 (displays 0 to 0)\r\n"},
        {"/clear", 0, ""},
        {"/save \"" + saved + "\"", 0, ""},
    };
    for (const auto& c : cases) {
        const ChildProcess program("rampwise " + c.command, true);
        EXPECT_EQ(program.ExitCode(30000), c.status) << c.command;
        EXPECT_EQ(program.TakeOutput(), c.output) << c.command;
    }
    GammaRamp loaded;
    EXPECT_TRUE(LoadLutSource(loaded, saved));
}

// Started by its bare name, as from a shell: the window shows until Escape, and a
// startup entry set there names the program by its full path.
TEST_F(ProgramProcess, WithoutArgumentsShowsTheMainWindowAndStoresItsFullPathInStartupEntries)
{
    const CalibratedDisplayProfile calibrated(CurveRamp(1.1, 1.5, 2.2));
    const ChildProcess program("rampwise");
    HWND window = nullptr;
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(window = FindWindowA(nullptr, "Rampwise")); }, 30000));
    PostMessageA(window, WM_COMMAND, ID_STARTUP_DEFAULT_USER, 0);
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(program.ExitCode(30000), 0u);
    // The entry is there only when the window showed and took the command.
    char path[MAX_PATH] = {};
    SearchPathA(nullptr, "rampwise.exe", nullptr, MAX_PATH, path, nullptr);  // where the bare name was found
    EXPECT_EQ(StoredEntry(StartupScope::CurrentUser), FormatStartupCommand(path, "@default", "0"));
    DeleteStartupEntry(StartupScope::CurrentUser, "Rampwise");
}

// Two monitors with EDIDs on the X server: "/list" names them through a redirected
// standard output, and an entry set for the second names its identity, so that it
// finds that monitor still once it is the primary and Wine numbers it 0.
TEST_F(ProgramProcess, ListsTheMonitorsAndEntriesFollowThemWhenTheyAreNumberedAnew)
{
    // The X server is changed by a shell started from Wine, whose end Wine does not
    // always report: what Wine then lists tells when it is done.
    const std::string edid = std::string(RAMPWISE_OUTPUT_EDID) + " DUMMY";
    const auto x = [](const std::string& commands) { WinExec(("/bin/sh -c \"" + commands + "\"").c_str(), SW_HIDE); };
    // The two displays' monitors in order, once both have their EDIDs.
    const auto models = [] {
        const std::vector<DisplayListing> d = ListDisplays();
        return d.size() == 2 && d[0].edid && d[1].edid ? d[0].edid->identity.model + d[1].edid->identity.model : "";
    };
    // The dummy driver reports DUMMY1 connected once probed.
    x("xrandr --addmode DUMMY1 1280x1024; xrandr --output DUMMY1 --mode 1280x1024 --right-of DUMMY0; xrandr; " + edid +
      "0 " + EdidHex(EdidBytes("DEL", 0x40F3, 1001, "", "Left")) + "; " + edid + "1 " +
      EdidHex(EdidBytes("ABC", 0x1234, 5, "XK2", "Right")));
    // Wine rewrites the monitors' registry keys more than once after a change.
    ASSERT_TRUE(Eventually([&] { return models() == "DEL40F3ABC1234"; }, 10000));
    Sleep(1500);
    const ChildProcess list("rampwise /list", true);
    EXPECT_EQ(list.ExitCode(30000), 0u);
    EXPECT_EQ(list.TakeOutput(), "0 DEL40F3:1001 \\\\.\\DISPLAY1 \"Left\" 256\r\n1 ABC1234:XK2 \\\\.\\DISPLAY2 \"Right\" 256\r\n");

    // A Set replaces the entry that named the monitor's number, and a Set for the monitor
    // that has the number now makes one of its own.
    TempDir folder;
    const std::string lut = folder.Write("right.lut", LutFileBytes(CurveRamp(1.1, 1.2, 1.3)));
    const auto entry = [](const char* name) { return ReadStartupEntry(StartupScope::CurrentUser, name); };
    WriteStartupEntry(StartupScope::CurrentUser, "Rampwise_1", "rampwise.exe /pt old.lut 1 /keep");
    RegistryStartupStore store;
    DisplayStartupApplier applier;
    std::vector<std::string> log;
    StartupCommands commands(store, applier, [&](const std::string& line) { log.push_back(line); });
    GammaRamp ramp;
    commands.Set(StartupScope::CurrentUser, StartupEntryKind::File, {1, "Right"}, lut, ramp);
    EXPECT_TRUE(entry("Rampwise_1").ends_with("\" ABC1234:XK2 /keep")) << entry("Rampwise_1");
    EXPECT_EQ(log.at(2), "   monitor ABC1234:XK2");
    x("xrandr --output DUMMY1 --primary");
    EXPECT_TRUE(Eventually([&] { return models() == "ABC1234DEL40F3"; }, 10000));
    Sleep(1500);
    EXPECT_TRUE(commands.ItemState(StartupItem::SetFile, StartupScope::CurrentUser, 0).checked);
    EXPECT_FALSE(commands.ItemState(StartupItem::SetFile, StartupScope::CurrentUser, 1).checked);
    commands.Set(StartupScope::CurrentUser, StartupEntryKind::File, {1, "Left"}, lut, ramp);
    EXPECT_TRUE(entry("Rampwise_2").ends_with("\" DEL40F3:1001")) << entry("Rampwise_2");

    DeleteStartupEntry(StartupScope::CurrentUser, "Rampwise_2");
    DeleteStartupEntry(StartupScope::CurrentUser, "Rampwise_1");
    x("xrandr --output DUMMY0 --primary --output DUMMY1 --off; " + edid + "0 -; " + edid + "1 -");
    // DUMMY1 stays connected: Wine goes on listing it, without a picture.
    EXPECT_TRUE(Eventually([&] { return models().empty(); }, 10000));
}
