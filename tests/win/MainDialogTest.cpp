#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "DisplayTestSupport.h"
#include "TempDir.h"
#include "app/KeepCore.h"
#include "app/KeeperLinkWin32.h"
#include "app/LogRouting.h"
#include "app/RampwiseApp.h"
#include "app/WindowKeepersWin32.h"
#include "framework/Dpi.h"
#include "lut/RampOperations.h"
#include "res/Version.h"
#include "res/resource.h"
#include "resize/PlacementText.h"
#include "ui/RampwiseDlg.h"

namespace {

using Lines = std::vector<std::string>;
// Where Wine keeps the DPI that programs start with.
constexpr char kDesktopKey[] = "Control Panel\\Desktop";

std::function<void()> g_steps;
char g_aboutVersion[64];

// A ramp as Wine hands it back: it keeps the high byte of each entry.
GammaRamp AsWineKeepsIt(GammaRamp ramp)
{
    for (std::uint16_t& entry : ramp.entries)
        entry = static_cast<std::uint16_t>((entry >> 8) * 257);
    return ramp;
}

// The About box runs its own modal loop: a timer inside it reads the version line and
// closes it. The line is read only when the main window owns the box (and is thus
// disabled while the box is open).
std::string VersionShownByAbout(HWND dialog, UINT message, WPARAM command)
{
    g_aboutVersion[0] = '\0';
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        if (HWND about = FindWindowA(nullptr, "About Rampwise")) {
            if (GetWindow(about, GW_OWNER) == AfxGetApp()->GetMainWnd()->m_hWnd)
                GetDlgItemTextA(about, IDC_VERSION, g_aboutVersion, sizeof(g_aboutVersion));
            PostMessageA(about, WM_COMMAND, IDOK, 0);
        }
    });
    SendMessageA(dialog, message, command, 0);
    KillTimer(nullptr, timer);
    return g_aboutVersion;
}

// The Startup menu as it opens, item by item: "1" checked, "0" not, "-" greyed, " " a
// separator.
std::string StartupMenuChecks(HWND dialog)
{
    HMENU startup = GetSubMenu(GetMenu(dialog), 2);
    SendMessageA(dialog, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(startup), 2);
    std::string checks;
    for (int i = 0; i < GetMenuItemCount(startup); ++i) {
        const UINT state = GetMenuState(startup, i, MF_BYPOSITION);
        checks += state & MF_SEPARATOR ? ' ' : state & MF_GRAYED ? '-' : state & MF_CHECKED ? '1' : '0';
    }
    return checks;
}

// Keep loaded's keeper is the program next to the test program.
bool SwitchKeeperNextToTest(const KeepToggle& toggle)
{
    char test[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, test, MAX_PATH);
    return SwitchKeeper(toggle, (std::filesystem::path(test).parent_path() / "rampwise.exe").string());
}

// The real main dialog as the program's main window. Its file dialogs answer `answer`
// and are kept in `requests`; its placement goes under a company key of this run.
class MainDialog : public DisplayRampTest {
protected:
    MainDialog()
    {
        app.InitApplication();
        app.SetRegistryKey(company.c_str());
        g_logForwarder = &AddLogLineToMainDialog;
        dialog.SetFileChooser([this](const FileRequest& request, CWnd&) {
            requests.push_back(request);
            return answer;
        });
    }
    ~MainDialog() override { RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + company).c_str()); }
    // Runs the dialog as the main window; the steps run from its message loop once it
    // shows, and it ends after the messages they post.
    void Run(CRampwiseDlg& d, const std::function<void()>& steps)
    {
        g_steps = steps;
        SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR timer, DWORD) {
            if (!IsWindowVisible(AfxGetApp()->GetMainWnd()->m_hWnd))
                return;  // the dialog manager shows it when its queue first runs empty
            KillTimer(nullptr, timer);
            g_steps();
            PostMessageA(AfxGetApp()->GetMainWnd()->m_hWnd, WM_COMMAND, IDOK, 0);
        });
        app.m_pMainWnd = &d;
        EXPECT_EQ(d.DoModal(), IDOK);
        app.m_pMainWnd = nullptr;
    }
    // The log lines the command adds.
    Lines Send(UINT command)
    {
        Lines lines;
        const int before = dialog.Log().GetCount();
        SendMessageA(dialog.m_hWnd, WM_COMMAND, command, 0);
        for (int i = before; i < dialog.Log().GetCount(); ++i)
            lines.push_back(dialog.Log().GetText(i));
        return lines;
    }

    CRampwiseApp app;
    const std::string company = "RampwiseTest" + std::to_string(GetCurrentProcessId());
    TempDir files;
    CRampwiseDlg dialog;
    std::optional<std::string> answer;
    std::vector<FileRequest> requests;
};

} // namespace

// The commands reach the display, the diagram and the log. Then each item of the Startup
// menu, with the display's profile calibrated: the menu, as it opens again, shows the
// entries the item left in the real registry, and a set applies its source to the display
// and the diagram. Then a keeper of the display takes the ramp that a command writes, so
// the command is not undone at its next check. Ends with Ctrl+L, which asks for a file.
TEST_F(MainDialog, CommandsReachTheDisplayTheLogTheRegistryAndTheKeeper)
{
    const GammaRamp start = CurveRamp(2.2, 1.8, 1.0), curve = CurveRamp(1.6, 1.4, 1.2), linear = CurveRamp(1, 1, 1);
    const GammaRamp smoothed = [] { GammaRamp r; SetLinearRamp(r); SmoothRamp(r); return AsWineKeepsIt(r); }();
    const std::string good = files.Write("良い 曲線.lut", LutFileBytes(curve)), saved = files.PathOf("Сохранён.lut");
    const std::string bad = files.Write("bad.lut", std::vector<std::uint8_t>(1000)), icm = GetDisplayProfilePath(0);
    const std::string nowhere = files.PathOf("no-such-folder\\x.lut"), program = ProgramPathForStartupEntry().value_or("?");
    const auto entry = [&](const std::string& source) { return FormatStartupCommand(program, source, "0").value_or("?"); };
    ASSERT_TRUE(WriteDisplayRamp(0, start));
    Run(dialog, [&] {
        EXPECT_EQ(dialog.Ramp(), start) << "read when the dialog opens";
        const struct { UINT command; std::optional<std::string> answer; Lines lines; GammaRamp shown; } steps[] = {
            {IDC_REFRESH, {}, {"* Reloading LUT values from 0. Wine Adapter -> Generic Non-PnP Monitor."}, start},
            {ID_LUT_SETLINEAR, {}, {"* Setting linear LUT values."}, linear},
            {ID_LUT_SMOOTH, {}, {"* Smoothing LUT values."}, smoothed},
            {ID_FILE_LOADLUT, {}, {}, smoothed},  // cancelled
            {ID_FILE_LOADLUT, good, {"* LUT values loaded from file:", "   " + good}, curve},
            {ID_FILE_SAVELUT, saved, {"* LUT values saved to file:", "   " + saved}, curve},
            {ID_FILE_SAVELUT, nowhere, {"ERROR: LUT values could not be saved to file:", "   " + nowhere}, curve},
            {ID_FILE_LOADLUT, bad, {"ERROR: LUT values could not be loaded from file:", "   " + bad}, linear},
            {ID_LUT_LOADDEFAULT, {}, {"No VCGT or mLUT tag foung in profile " + icm,
                                      "ERROR: LUT values could not be loaded from default file:", "   " + icm}, linear},
        };
        for (const auto& step : steps) {
            answer = step.answer;
            EXPECT_EQ(Send(step.command), step.lines);
            EXPECT_EQ(CurrentRamp(), step.shown) << step.command;
            EXPECT_EQ(AsWineKeepsIt(dialog.Ramp()), step.shown) << "the diagram shows what the display has";
        }
        EXPECT_EQ(files.Read("Сохранён.lut"), LutFileBytes(curve));

        const CalibratedDisplayProfile calibrated(start);
        // {item, the entry for all users after it, the menu as it then opens, the display's ramp}
        const struct { UINT id; std::string all; const char* menu; GammaRamp shown; } items[] = {
            {ID_STARTUP_FILE_USER, "", "000 100 0", curve},
            {ID_STARTUP_DEFAULT_ALL, entry("@default"), "010 100 0", start},
            {ID_STARTUP_FILE_ALL, entry(good), "100 100 0", curve},
            {ID_STARTUP_DEFAULT_USER, entry(good), "100 010 0", start},
            {ID_STARTUP_KEEP, entry(good) + " /keep", "100 010 1", start},
            {ID_STARTUP_DELETE_ALL, "", "000 010 1", start},
            {ID_STARTUP_DELETE_USER, "", "000 000 -", start},
        };
        answer = good;
        for (const auto& item : items) {
            SendMessageA(dialog.m_hWnd, WM_COMMAND, item.id, 0);
            EXPECT_EQ(StoredEntry(StartupScope::AllUsers), item.all) << item.menu;
            EXPECT_EQ(StartupMenuChecks(dialog.m_hWnd), item.menu);
            EXPECT_EQ(CurrentRamp(), item.shown) << item.menu;
            EXPECT_EQ(dialog.Ramp(), item.shown) << "the diagram shows what the display has";
        }
        EXPECT_EQ(dialog.Log().GetText(dialog.Log().GetCount() - 1), "   " + dialog.GetSelectedDisplayText());

        ChildProcess keeper("rampwise /pt \"" + good + "\" 0 /keep");
        dialog.SetKeeperHandoff(&OfferRampToKeeper);
        const std::string title = KeeperWindowTitle(KeptMonitorName("0", ListDisplays()));
        EXPECT_TRUE(Eventually([&] { return FindWindowA(kKeeperWindowClass, title.c_str()) != nullptr; }));
        const std::string kept = "* " + dialog.GetSelectedDisplayText() + " is kept on this ramp.";
        EXPECT_EQ(Send(ID_LUT_SETLINEAR), (Lines{"* Setting linear LUT values.", kept}));
        Sleep(3500);  // past the keeper's periodic check
        EXPECT_EQ(CurrentRamp(), linear);
        EXPECT_EQ(ChildProcess("rampwise /release 0").ExitCode(15000), 0u);

        EXPECT_EQ(VersionShownByAbout(dialog.m_hWnd, WM_COMMAND, ID_HELP_ABOUT), RAMPWISE_VERSION_LABEL);
        EXPECT_EQ(VersionShownByAbout(dialog.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX), RAMPWISE_VERSION_LABEL);
        BYTE keys[256] = {};
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        PostMessageA(GetDlgItem(dialog.m_hWnd, IDC_DISPLAYS), WM_KEYDOWN, 'L', 1);
    });
    EXPECT_TRUE(requests.size() == 8 && requests.back().open) << "Ctrl+L did not reach the load command";
}

// The log names a running keeper and its source at start and after Reload. Keep loaded
// starts a keeper of the entry's source, which puts back a ramp written over it, and
// unchecked ends it. A line wider than the log can be scrolled to its end.
TEST_F(MainDialog, KeepLoadedStartsAndEndsAKeeperAndTheLogNamesKeepersAndScrollsSideways)
{
    const GammaRamp curve = CurveRamp(1.6, 1.4, 1.2);
    const std::string good = files.Write("keep; me since 2026.lut", LutFileBytes(curve));  // the status line holds it
    ChildProcess keeper("rampwise /pt \"" + good + "\" 0 /keep");
    ASSERT_TRUE(Eventually([] { return KeptSources().contains(0); }));
    dialog.SetKeptSources(&KeptSources);
    dialog.SetKeeperSwitch(&SwitchKeeperNextToTest);
    const std::string title = KeeperWindowTitle(KeptMonitorName("0", ListDisplays()));
    const auto keeperRuns = [&] { return FindWindowA(kKeeperWindowClass, title.c_str()) != nullptr; };
    Run(dialog, [&] {
        const std::string shown = dialog.GetSelectedDisplayText(), kept = "* " + shown + " is kept on " + good + ".";
        const std::string reload = "* Reloading LUT values from " + shown + ".";
        EXPECT_EQ(dialog.Log().GetText(2), kept) << "at start";
        EXPECT_EQ(Send(ID_LUT_RELOAD), (Lines{reload, kept}));
        EXPECT_EQ(ChildProcess("rampwise /release 0").ExitCode(15000), 0u);
        EXPECT_EQ(Send(ID_LUT_RELOAD), (Lines{reload}));

        answer = good;
        Send(ID_STARTUP_FILE_USER);
        EXPECT_EQ(Send(ID_STARTUP_KEEP), (Lines{"* Keep loaded set for current user on:", "   " + shown}));
        EXPECT_TRUE(Eventually(keeperRuns, 10000));
        WriteDisplayRamp(0, CurveRamp(1, 1, 1));
        EXPECT_TRUE(Eventually([&] { return CurrentRamp() == curve; }, 5000)) << "kept";
        Send(ID_STARTUP_KEEP);
        EXPECT_FALSE(keeperRuns()) << "ended";
        Send(ID_STARTUP_DELETE_USER);

        HWND log = dialog.Log().m_hWnd;
        const std::string wide = "   " + std::string(400, 'W') + "end";
        dialog.AddLogLine("%s", wide.c_str());
        RECT text{};
        const HDC dc = GetDC(log);  // its state goes with it when released
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(log, WM_GETFONT, 0, 0)));
        DrawTextA(dc, wide.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        ReleaseDC(log, dc);
        int low = 0, high = 0;
        EXPECT_TRUE(GetScrollRange(log, SB_HORZ, &low, &high) && high >= text.right) << high << " for " << text.right;
    });
}

namespace {

// Left, top, right, bottom: comparable and printable, unlike RECT.
using Edges = std::array<LONG, 4>;

Edges RectIn(HWND window, HWND parent = nullptr)
{
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

// At the template size the minimum; grown by 140 x 80: the log follows its anchors, and
// the erase leaves out only what may be left out. The grip lies behind every other
// child, takes the corner's hit test, and hides once the window is maximised, which the
// next run finds stored.
void GrowAndCheck(CRampwiseDlg& d)
{
    const auto item = [&d](int id) { return RectIn(GetDlgItem(d.m_hWnd, id), d.m_hWnd); };
    const auto erases = [&d](int x, int y) { return PtInRegion(d.Resizer().BuildEraseRegion().Get(), x, y) != 0; };
    const Edges window = RectIn(d.m_hWnd), before = item(IDC_LOG);
    SetWindowPos(d.m_hWnd, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(RectIn(d.m_hWnd), window) << "no smaller than at creation";
    SetWindowPos(d.m_hWnd, nullptr, 0, 0, window[2] - window[0] + 140, window[3] - window[1] + 80,
                 SWP_NOMOVE | SWP_NOZORDER);
    const Edges diagram = item(IDC_DIAGRAM), log = item(IDC_LOG);
    EXPECT_EQ(log, (Edges{before[0], before[1] + 80, before[2] + 140, before[3] + 80}));
    EXPECT_TRUE(erases(diagram[2] - 5, diagram[3] - 5) && !erases(log[0] + 5, log[1] + 5))
        << "an owner-drawn static is erased around, a list box not";

    HWND grip = d.Resizer().GripWindow();
    EXPECT_EQ(GetWindow(grip, GW_HWNDNEXT), nullptr) << "behind every other child";
    EXPECT_EQ(SendMessageA(grip, WM_NCHITTEST, 0, 0), HTBOTTOMRIGHT);
    SetWindowPos(d.m_hWnd, nullptr, 100, 80, 800, 800, SWP_NOZORDER);  // above the minimum at 144 DPI too
    ShowWindow(d.m_hWnd, SW_MAXIMIZE);
    SendMessageA(d.m_hWnd, WM_SIZE, SIZE_MAXSHOW, 0);  // about another window: changes nothing
    EXPECT_FALSE(IsWindowVisible(grip));
}

// Sent WM_DPICHANGED for another DPI and then back: the window takes each suggested
// rectangle, and each side of a child (and of the grip) keeps its distance, scaled, from
// the side of the client area it is anchored to; the font, the refresh icon and the
// minimum scale too.
void ChangeDpiAndCheck(CRampwiseDlg& d)
{
    const auto scaledParts = [&d] {
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendDlgItemMessageA(d.m_hWnd, IDC_LOG, WM_GETFONT, 0, 0)), sizeof(font), &font);
        MINMAXINFO limits{};
        SendMessageA(d.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        ICONINFO icon{};
        BITMAP bitmap{};
        GetIconInfo(reinterpret_cast<HICON>(SendDlgItemMessageA(d.m_hWnd, IDC_REFRESH, BM_GETIMAGE, IMAGE_ICON, 0)), &icon);
        GetObjectA(icon.hbmColor, sizeof(bitmap), &bitmap);
        DeleteObject(icon.hbmColor), DeleteObject(icon.hbmMask);
        return std::array<LONG, 4>{font.lfHeight, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y, bitmap.bmWidth};
    };
    // {child, for left, top, right, bottom: whether anchored to the right or bottom side,
    // where it was before a change}
    std::tuple<HWND, std::array<bool, 4>, Edges> children[] = {{GetDlgItem(d.m_hWnd, IDC_REFRESH), {1, 0, 1, 0}, {}},
        {GetDlgItem(d.m_hWnd, IDC_DIAGRAM), {0, 0, 1, 1}, {}}, {GetDlgItem(d.m_hWnd, IDC_LOG), {0, 1, 1, 1}, {}},
        {d.Resizer().GripWindow(), {1, 1, 1, 1}, {}}};
    DWORD started = 96, size = sizeof(started);  // Wine reads it as a program starts
    RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", RRF_RT_REG_DWORD, nullptr, &started, &size);
    UINT from = WindowDpi(d.m_hWnd);  // the window system knows nothing of the changes sent here
    EXPECT_EQ(from, started) << "the DPI the run was started for";
    for (const UINT to : {from == 96 ? 144u : 96u, from}) {
        const auto scaled = [&](LONG v) { return MulDiv(v, static_cast<int>(to), static_cast<int>(from)); };
        const Edges window = RectIn(d.m_hWnd);
        const RECT client = d.GetClientRect(), suggested{window[0], window[1], window[0] + scaled(window[2] - window[0]),
                                                          window[1] + scaled(window[3] - window[1])};
        for (auto& [child, farSide, before] : children)
            before = RectIn(child, d.m_hWnd);
        const std::array<LONG, 4> parts = scaledParts();
        SendMessageA(d.m_hWnd, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(RectIn(d.m_hWnd), (Edges{suggested.left, suggested.top, suggested.right, suggested.bottom}));
        const RECT now = d.GetClientRect();
        for (const auto& [child, farSide, before] : children) {
            for (std::size_t i = 0; i < 4; ++i) {
                const LONG extent = i % 2 ? client.bottom : client.right, newExtent = i % 2 ? now.bottom : now.right;
                const LONG b = before[i], expected = farSide[i] ? newExtent - scaled(extent - b) : scaled(b);
                EXPECT_NEAR(RectIn(child, d.m_hWnd)[i], expected, 1) << "child " << child << " side " << i << " at " << to;
            }
        }
        for (std::size_t i = 0; i < parts.size(); ++i)
            EXPECT_NEAR(scaledParts()[i], scaled(parts[i]), 1) << "font, minimum width and height, icon: " << i;
        from = to;
    }
}

} // namespace

// Each run shows a new main dialog, placed as stored before it, and stores its placement
// as it closes.
TEST_F(MainDialog, LaysOutShowsTheGripKeepsTheMinimumAndRemembersThePlacement)
{
    const auto none = [](CRampwiseDlg&) {};
    // {stored before the run (null: what the run before saved), its steps, stored after
    // it (null: what a run saves that restored nothing)}
    const std::tuple<const char*, std::function<void(CRampwiseDlg&)>, const char*> runs[] = {
        {"", none, nullptr},
        {"100,80,800,720,0,0", none, nullptr},  // would hide the window
        {"", GrowAndCheck, "100,80,900,880,3,0"},
        {nullptr,
         [](CRampwiseDlg& d) {
             EXPECT_TRUE(IsZoomed(d.m_hWnd) && !IsWindowVisible(d.Resizer().GripWindow())) << "opened maximised";
             ShowWindow(d.m_hWnd, SW_RESTORE);
             EXPECT_TRUE(IsWindowVisible(d.Resizer().GripWindow()) && RectIn(d.m_hWnd) == (Edges{100, 80, 900, 880}));
         },
         "100,80,900,880,1,0"},
        {"5000,5000,5800,5800,1,0", none, "480,224,1280,1024,1,0"},  // brought back onto the screen
        {"", ChangeDpiAndCheck, nullptr},
    };
    std::string original;
    for (const auto& [before, steps, after] : runs) {
        if (before)
            app.WriteProfileString("RampwiseDlg", kPlacementEntry, before);
        CRampwiseDlg d;
        Run(d, [&] { steps(d); });
        const std::string stored = app.GetProfileString("RampwiseDlg", kPlacementEntry);
        original = original.empty() ? stored : original;
        EXPECT_EQ(stored, after ? after : original);
    }
}

// The layout scenario again in a run started at 144 DPI, which Wine reads from the
// registry when a program starts.
TEST(MainDialogAt144Dpi, LaysOutAsAt96)
{
    const DWORD dpi = 144;  // the test prefix has no value of its own
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", REG_DWORD, &dpi, sizeof(dpi)), 0);
    ChildProcess run(std::string(GetCommandLineA()).append(" --gtest_filter=MainDialog.LaysOut*"), true);  // the last filter counts
    EXPECT_EQ(run.ExitCode(120000), 0u) << run.TakeOutput();
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels");
}
