#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "DisplayTestSupport.h"
#include "TempDir.h"
#include "app/LogRouting.h"
#include "app/RampwiseApp.h"
#include "framework/Dpi.h"
#include "lut/RampOperations.h"
#include "res/resource.h"
#include "resize/PlacementText.h"
#include "app/KeeperLinkWin32.h"
#include "ui/RampwiseDlg.h"
#include "ui/StartupRegistry.h"

namespace {

using Lines = std::vector<std::string>;

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

// The Startup menu's items as it opens, Keep loaded last: "1" checked, "0" not, "-" greyed.
std::string StartupMenuChecks(HWND dialog)
{
    HMENU startup = GetSubMenu(GetMenu(dialog), 2);
    SendMessageA(dialog, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(startup), 2);
    std::string checks;
    for (UINT id : {ID_STARTUP_FILE_ALL, ID_STARTUP_DEFAULT_ALL, ID_STARTUP_DELETE_ALL, ID_STARTUP_FILE_USER,
                    ID_STARTUP_DEFAULT_USER, ID_STARTUP_DELETE_USER, ID_STARTUP_KEEP}) {
        const UINT state = GetMenuState(startup, id, MF_BYCOMMAND);
        checks += state & MF_GRAYED ? '-' : state & MF_CHECKED ? '1' : '0';
    }
    return checks;
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
    // Runs the dialog as the main window; the steps run from its message loop once it is
    // up, and it ends after the messages they post.
    void Run(CRampwiseDlg& d, std::function<void()> steps)
    {
        g_steps = std::move(steps);
        SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR timer, DWORD) {
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

// Ends with Ctrl+L, which asks for a file to load.
TEST_F(MainDialog, CommandsReachTheDisplayAndTheLog)
{
    const GammaRamp start = CurveRamp(2.2, 1.8, 1.0), curve = CurveRamp(1.6, 1.4, 1.2), linear = CurveRamp(1, 1, 1);
    const GammaRamp smoothed = [] { GammaRamp r; SetLinearRamp(r); SmoothRamp(r); return AsWineKeepsIt(r); }();
    const std::string good = files.Write("良い.lut", LutFileBytes(curve)), saved = files.PathOf("Сохранён.lut");
    const std::string bad = files.Write("bad.lut", std::vector<std::uint8_t>(1000)), icm = GetDisplayProfilePath(0);
    const std::string nowhere = files.PathOf("no-such-folder\\x.lut");
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
        EXPECT_EQ(VersionShownByAbout(dialog.m_hWnd, WM_COMMAND, ID_HELP_ABOUT), "Version 1.1.0.46");
        EXPECT_EQ(VersionShownByAbout(dialog.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX), "Version 1.1.0.46");
        BYTE keys[256] = {};
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        PostMessageA(GetDlgItem(dialog.m_hWnd, IDC_DISPLAYS), WM_KEYDOWN, 'L', 1);
    });
    ASSERT_EQ(requests.size(), 6u) << "Ctrl+L did not reach the load command";
    EXPECT_TRUE(requests.back().open);
}

// Each item of the Startup menu reaches its scope in the real registry, under the
// program's own path, and the menu shows that entry as it opens again.
TEST_F(MainDialog, StartupItemsStoreEntriesThatTheMenuShows)
{
    const GammaRamp byFile = CurveRamp(1.3, 1.3, 1.3), byProfile = CurveRamp(2.0, 1.7, 1.5);
    const std::string lut = files.Write("Запуск 起動.lut", LutFileBytes(byFile)), icm = "   " + GetDisplayProfilePath(0);
    const CalibratedDisplayProfile calibrated(byProfile);
    Run(dialog, [&] {
        const std::string display = "   " + dialog.GetSelectedDisplayText();
        const std::string program = ProgramPathForStartupEntry().value_or("?");
        const std::string file = FormatStartupCommand(program, lut, 0).value_or("?");
        const std::string keyword = FormatStartupCommand(program, "@default", 0).value_or("?");
        // {command, last log line, entry for all users, for the current user, menu, ramp}
        const struct { UINT id; std::string last, all, user; const char* checks; GammaRamp shown; } steps[] = {
            {ID_STARTUP_FILE_USER, "   " + lut, "", file, "0001000", byFile},
            {ID_STARTUP_DEFAULT_ALL, icm, keyword, file, "0101000", byProfile},
            {ID_STARTUP_FILE_ALL, "   " + lut, file, file, "1001000", byFile},
            {ID_STARTUP_DEFAULT_USER, icm, file, keyword, "1000100", byProfile},
            {ID_STARTUP_KEEP, display, file + " /keep", keyword + " /keep", "1000101", byProfile},
            {ID_STARTUP_DELETE_ALL, display, "", keyword + " /keep", "0000101", byProfile},
            {ID_STARTUP_DELETE_USER, display, "", "", "000000-", byProfile},
        };
        answer = lut;
        for (const auto& step : steps) {
            const Lines lines = Send(step.id);
            EXPECT_EQ(lines.empty() ? "" : lines.back(), step.last) << step.checks;
            EXPECT_EQ(StoredEntry(StartupScope::AllUsers), step.all) << step.checks;
            EXPECT_EQ(StoredEntry(StartupScope::CurrentUser), step.user) << step.checks;
            EXPECT_EQ(StartupMenuChecks(dialog.m_hWnd), step.checks);
            EXPECT_EQ(CurrentRamp(), step.shown) << step.checks;
            EXPECT_EQ(dialog.Ramp(), step.shown) << "the diagram shows what the display has";
        }
    });
}

// A keeper of the display takes the ramp that a command writes, so the command is not
// undone at its next check.
TEST_F(MainDialog, WritesAreHandedToTheDisplaysKeeper)
{
    const std::string lut = files.Write("kept.lut", LutFileBytes(CurveRamp(1.6, 1.4, 1.2)));
    ChildProcess keeper("rampwise /pt \"" + lut + "\" 0 /keep");
    dialog.SetKeeperHandoff(&OfferRampToKeeper);
    ASSERT_TRUE(Eventually([] { return FindWindowA(kKeeperWindowClass, KeeperWindowTitle(0).c_str()) != nullptr; }));
    Run(dialog, [&] {
        const std::string kept = "* " + dialog.GetSelectedDisplayText() + " is kept on this ramp.";
        EXPECT_EQ(Send(ID_LUT_SETLINEAR), (Lines{"* Setting linear LUT values.", kept}));
        Sleep(3500);  // past the keeper's periodic check
        EXPECT_EQ(CurrentRamp(), CurveRamp(1, 1, 1));
    });
    EXPECT_EQ(ChildProcess("rampwise /release 0").ExitCode(15000), 0u);
    EXPECT_EQ(keeper.ExitCode(5000), 0u);
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

// Answers the resizer's queries with fixed traits and leaves the other answers at
// their presets (not clipped, repainted).
struct AnsweringChild : CWnd {
    AnsweringChild(HWND parent, int x, ChildTraits traits) : answer(traits)
    {
        CreateEx(0, RegisterWindowClass(), "", WS_CHILD | WS_VISIBLE, x, 60, 40, 30, parent, nullptr);
    }
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    LRESULT OnQuery(WPARAM code, LPARAM record)
    {
        if (code == RS_QUERY_TRAITS)
            *reinterpret_cast<ChildTraits*>(record) = answer;
        return 1;
    }
    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;
    ChildTraits answer;
};
const MessageEntry AnsweringChild::kMessageEntries[] = {OnRegistered<&WMU_RESIZESUPPORT, &AnsweringChild::OnQuery>()};
const MessageMap AnsweringChild::kMessageMap{&CWnd::kMessageMap, kMessageEntries};

// The main dialog that runs its steps as its initialisation ends, before it is shown,
// and then ends.
struct StepsAtInit : CRampwiseDlg {
    bool OnInitDialog() override
    {
        CRampwiseDlg::OnInitDialog();
        if (steps)
            steps(*this);
        EndDialog(IDOK);
        return true;
    }
    std::function<void(CRampwiseDlg&)> steps;
};

// At the template size the minimum; grown by 140 x 80 and shown: the children follow
// their anchors, the grip the corner, and the erase leaves out only what may be left
// out. Then placed for the next run.
void GrowAndCheck(CRampwiseDlg& d)
{
    const auto item = [&d](int id) { return RectIn(GetDlgItem(d.m_hWnd, id), d.m_hWnd); };
    const auto erases = [&d](int x, int y) { return PtInRegion(d.Resizer().BuildEraseRegion().Get(), x, y) != 0; };
    const Edges window = RectIn(d.m_hWnd);
    SetWindowPos(d.m_hWnd, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(RectIn(d.m_hWnd), window) << "no smaller than at creation";

    // Traits {askClipping, askRepaint, cachedClipping, cachedRepaint}.
    AnsweringChild clipped(d.m_hWnd, 20, {0, 1, 1, 0}), kept(d.m_hWnd, 100, {1, 0, 1, 1});
    d.Resizer().AnchorWindow(clipped.m_hWnd, ANCHOR_NW, ANCHOR_SE);
    d.Resizer().AnchorWindow(kept.m_hWnd, ANCHOR_NW, ANCHOR_SE);
    // {child, how far each edge moves, where it was}
    const std::tuple<int, Edges, Edges> children[] = {{IDC_REFRESH, {140, 0, 140, 0}, item(IDC_REFRESH)},
                                                      {IDC_DIAGRAM, {0, 0, 140, 80}, item(IDC_DIAGRAM)},
                                                      {IDC_LOG, {0, 80, 140, 80}, item(IDC_LOG)}};
    ShowWindow(d.m_hWnd, SW_SHOWNORMAL);
    SetWindowPos(d.m_hWnd, nullptr, 0, 0, window[2] - window[0] + 140, window[3] - window[1] + 80,
                 SWP_NOMOVE | SWP_NOZORDER);
    for (const auto& [id, m, b] : children)
        EXPECT_EQ(item(id), (Edges{b[0] + m[0], b[1] + m[1], b[2] + m[2], b[3] + m[3]})) << id;
    const Edges diagram = item(IDC_DIAGRAM), log = item(IDC_LOG);
    EXPECT_TRUE(erases(diagram[2] - 5, diagram[3] - 5) && !erases(log[0] + 5, log[1] + 5))
        << "an owner-drawn static is erased around, a list box not";
    EXPECT_TRUE(!erases(25, 65) && erases(105, 65)) << "as each child answered: once, or at each erase";
    const RECT client = d.GetClientRect();

    HWND grip = d.Resizer().GripWindow();
    const int cx = GetSystemMetrics(SM_CXVSCROLL) + 4, cy = GetSystemMetrics(SM_CYHSCROLL) + 4;
    EXPECT_EQ(GetWindow(grip, GW_HWNDNEXT), nullptr) << "behind every other child";
    EXPECT_EQ(SendMessageA(grip, WM_NCHITTEST, 0, 0), HTBOTTOMRIGHT);
    // Scroll bars 4 pixels wider: the grip in the corner grows toward the upper left.
    NONCLIENTMETRICSA saved{};
    saved.cbSize = sizeof(saved);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(saved), &saved, 0);
    NONCLIENTMETRICSA wider = saved;
    wider.iScrollWidth += 4, wider.iScrollHeight += 4;
    SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(wider), &wider, 0);
    SendMessageA(grip, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(saved), &saved, 0);
    EXPECT_EQ(RectIn(grip, d.m_hWnd), (Edges{client.right - cx, client.bottom - cy, client.right, client.bottom}));
    Region shape(CreateRectRgn(0, 0, 0, 0));
    GetWindowRgn(grip, shape.Get());
    EXPECT_TRUE(PtInRegion(shape.Get(), cx - 2, cy - 2) && !PtInRegion(shape.Get(), 1, 1)) << "its lower-right half";
    SetWindowPos(d.m_hWnd, nullptr, 100, 80, 800, 800, SWP_NOZORDER);  // above the minimum at 144 DPI too
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
    // {child, for left, top, right, bottom: whether anchored to the right or bottom side}
    const std::pair<HWND, std::array<bool, 4>> children[] = {{GetDlgItem(d.m_hWnd, IDC_REFRESH), {1, 0, 1, 0}},
        {GetDlgItem(d.m_hWnd, IDC_DIAGRAM), {0, 0, 1, 1}}, {GetDlgItem(d.m_hWnd, IDC_LOG), {0, 1, 1, 1}},
        {d.Resizer().GripWindow(), {1, 1, 1, 1}}};
    UINT from = WindowDpi(d.m_hWnd);  // the window system knows nothing of the changes sent here
    const char* started = std::getenv("RAMPWISE_TEST_DPI");
    EXPECT_EQ(from, started ? std::stoul(started) : 96u) << "the DPI the run was started for";
    for (const UINT to : {from == 96 ? 144u : 96u, from}) {
        const auto scaled = [&](LONG v) { return MulDiv(v, static_cast<int>(to), static_cast<int>(from)); };
        const Edges window = RectIn(d.m_hWnd);
        const RECT client = d.GetClientRect(), suggested{window[0], window[1], window[0] + scaled(window[2] - window[0]),
                                                          window[1] + scaled(window[3] - window[1])};
        std::vector<Edges> before;
        for (const auto& child : children)
            before.push_back(RectIn(child.first, d.m_hWnd));
        const std::array<LONG, 4> parts = scaledParts();
        SendMessageA(d.m_hWnd, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(RectIn(d.m_hWnd), (Edges{suggested.left, suggested.top, suggested.right, suggested.bottom}));
        const RECT now = d.GetClientRect();
        for (std::size_t c = 0; c < std::size(children); ++c) {
            for (std::size_t i = 0; i < 4; ++i) {
                const LONG extent = i % 2 ? client.bottom : client.right, newExtent = i % 2 ? now.bottom : now.right;
                const LONG b = before[c][i], expected = children[c].second[i] ? newExtent - scaled(extent - b) : scaled(b);
                EXPECT_NEAR(RectIn(children[c].first, d.m_hWnd)[i], expected, 1) << "child " << c << " side " << i << " at " << to;
            }
        }
        for (std::size_t i = 0; i < parts.size(); ++i)
            EXPECT_NEAR(scaledParts()[i], scaled(parts[i]), 1) << "font, minimum width and height, icon: " << i;
        from = to;
    }
}

} // namespace

TEST_F(MainDialog, LaysOutShowsTheGripKeepsTheMinimumAndRemembersThePlacement)
{
    const auto gripShown = [](CRampwiseDlg& d) { return IsWindowVisible(d.Resizer().GripWindow()) != 0; };
    // {stored before the run (null: what the run before saved), its steps, stored after
    // it (null: what a run saves that restored nothing)}
    const std::tuple<const char*, std::function<void(CRampwiseDlg&)>, const char*> runs[] = {
        {"", nullptr, nullptr},
        {"10,20,30", nullptr, nullptr},
        {"100,80,800,720,0,0", nullptr, nullptr},  // would hide the window
        {"100,80,800,720,7,0", nullptr, nullptr},
        {"1 ,2,3,4,1,0", nullptr, nullptr},
        {"", GrowAndCheck, "100,80,900,880,1,0"},
        {nullptr,
         [&](CRampwiseDlg& d) {
             ShowWindow(d.m_hWnd, SW_MAXIMIZE);
             SendMessageA(d.m_hWnd, WM_SIZE, SIZE_MAXSHOW, 0);  // about another window: changes nothing
             EXPECT_FALSE(gripShown(d));
         },
         "100,80,900,880,3,0"},
        {nullptr,
         [&](CRampwiseDlg& d) {
             EXPECT_TRUE(IsZoomed(d.m_hWnd) && !gripShown(d)) << "opened maximised";
             ShowWindow(d.m_hWnd, SW_RESTORE);
             EXPECT_TRUE(gripShown(d) && RectIn(d.m_hWnd) == (Edges{100, 80, 900, 880}));
             ShowWindow(d.m_hWnd, SW_MINIMIZE);
         },
         "100,80,900,880,2,0"},
        {nullptr, nullptr, "100,80,900,880,2,0"},
        {"5000,5000,5800,5800,1,0", nullptr, "480,224,1280,1024,1,0"},  // brought back onto the screen
        {"", ChangeDpiAndCheck, nullptr},
    };
    std::string original;
    for (const auto& [before, steps, after] : runs) {
        if (before)
            app.WriteProfileString("RampwiseDlg", kPlacementEntry, before);
        StepsAtInit d;
        d.steps = steps;
        app.m_pMainWnd = &d;
        EXPECT_EQ(d.DoModal(), IDOK);
        app.m_pMainWnd = nullptr;
        const std::string stored = app.GetProfileString("RampwiseDlg", kPlacementEntry);
        original = original.empty() ? stored : original;
        EXPECT_EQ(stored, after ? after : original);
    }
}

// The layout scenario again in a run started at 144 DPI, which Wine reads from the
// registry when a program starts.
TEST(MainDialogAt144Dpi, LaysOutAsAt96)
{
    const char* key = "Control Panel\\Desktop";  // the test prefix has no value there of its own
    const DWORD dpi = 144;
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key, "LogPixels", REG_DWORD, &dpi, sizeof(dpi)), 0);
    SetEnvironmentVariableA("RAMPWISE_TEST_DPI", "144");
    ChildProcess run(std::string(GetCommandLineA()).append(" --gtest_filter=MainDialog.LaysOut*"), true);  // the last filter counts
    EXPECT_EQ(run.ExitCode(120000), 0u) << run.TakeOutput();
    SetEnvironmentVariableA("RAMPWISE_TEST_DPI", nullptr);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "LogPixels");
}
