#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "MainDialogHarness.h"
#include "res/resource.h"
#include "resize/PlacementText.h"

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

// At the template size the minimum; grown by 140 x 80 and shown: the children follow
// their anchors, the grip the corner, and the erase leaves out only what may be left
// out. Then placed for the next run.
void GrowAndCheck(ScriptedDialog& d)
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
    SetWindowPos(d.m_hWnd, nullptr, 100, 80, 700, 640, SWP_NOZORDER);
}

} // namespace

class MainDialogResizer : public MainDialog {};

TEST_F(MainDialogResizer, LaysOutShowsTheGripKeepsTheMinimumAndRemembersThePlacement)
{
    const auto gripShown = [](ScriptedDialog& d) { return IsWindowVisible(d.Resizer().GripWindow()) != 0; };
    // {stored before the run (null: what the run before saved), its steps, stored after
    // it (null: what a run saves that restored nothing)}
    const std::tuple<const char*, std::function<void(ScriptedDialog&)>, const char*> runs[] = {
        {"", nullptr, nullptr},
        {"10,20,30", nullptr, nullptr},
        {"100,80,800,720,0,0", nullptr, nullptr},  // would hide the window
        {"100,80,800,720,7,0", nullptr, nullptr},
        {"1 ,2,3,4,1,0", nullptr, nullptr},
        {"", GrowAndCheck, "100,80,800,720,1,0"},
        {nullptr,
         [&](ScriptedDialog& d) {
             ShowWindow(d.m_hWnd, SW_MAXIMIZE);
             SendMessageA(d.m_hWnd, WM_SIZE, SIZE_MAXSHOW, 0);  // about another window: changes nothing
             EXPECT_FALSE(gripShown(d));
         },
         "100,80,800,720,3,0"},
        {nullptr,
         [&](ScriptedDialog& d) {
             EXPECT_TRUE(IsZoomed(d.m_hWnd) && !gripShown(d)) << "opened maximised";
             ShowWindow(d.m_hWnd, SW_RESTORE);
             EXPECT_TRUE(gripShown(d) && RectIn(d.m_hWnd) == (Edges{100, 80, 800, 720}));
             ShowWindow(d.m_hWnd, SW_MINIMIZE);
         },
         "100,80,800,720,2,0"},
        {nullptr, nullptr, "100,80,800,720,2,0"},
        {"5000,5000,5700,5640,1,0", nullptr, "580,384,1280,1024,1,0"},  // brought back onto the screen
    };
    std::string original;
    for (const auto& [before, steps, after] : runs) {
        if (before)
            app.WriteProfileString("RampwiseDlg", kPlacementEntry, before);
        Run(steps);
        const std::string stored = app.GetProfileString("RampwiseDlg", kPlacementEntry);
        original = original.empty() ? stored : original;
        EXPECT_EQ(stored, after ? after : original);
    }
}
