#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "TestResourceIds.h"
#include "framework/WinApp.h"
#include "resize/AnchoredDialog.h"

// Found by argument lookup from the assertions: RECT lives in the global namespace.
bool operator==(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != 0;
}

void PrintTo(const RECT& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace {

constexpr char kSection[] = "ResizeTest";

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp("AnchoredDialogTest") { InitApplication(); }
    bool RunStartup() override { return true; }
};

RECT RectIn(HWND window, HWND parent = nullptr)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class ResizeTestDialog;
using Scenario = std::function<void(ResizeTestDialog&)>;

// Anchors the four kinds of controls and remembers its placement as the main dialog does,
// runs the scenario during its initialisation and ends; it is shown only if the scenario
// shows it.
class ResizeTestDialog : public CAnchoredDialog {
public:
    explicit ResizeTestDialog(Scenario scenario) : CAnchoredDialog(IDD_RESIZE_TEST), m_scenario(std::move(scenario)) {}

    RECT ChildRect(int id) const { return RectIn(GetDlgItem(m_hWnd, id), m_hWnd); }
    RECT WindowRect() const { return RectIn(m_hWnd); }
    bool GripVisible() { return GetWindowLongPtrA(Grip().m_hWnd, GWL_STYLE) & WS_VISIBLE; }

protected:
    bool OnInitDialog() override
    {
        CAnchoredDialog::OnInitDialog();
        AnchorControl(IDC_RESIZE_DISPLAYS, ANCHOR_NW, ANCHOR_NE);
        AnchorControl(IDC_RESIZE_REFRESH, ANCHOR_NE, ANCHOR_NONE);
        AnchorControl(IDC_RESIZE_DIAGRAM, ANCHOR_NW, ANCHOR_SE);
        AnchorControl(IDC_RESIZE_LOG, ANCHOR_SW, ANCHOR_SE);
        RememberPlacement(kSection);
        m_scenario(*this);
        EndDialog(IDOK);
        return true;
    }

private:
    Scenario m_scenario;
};

void RunDialog(Scenario scenario)
{
    ResizeTestDialog dialog(std::move(scenario));
    ASSERT_EQ(dialog.DoModal(), IDOK);
}

// Each test writes under a company key of its own and removes it afterwards.
class AnchoredDialog : public testing::Test {
protected:
    void SetUp() override { app.SetRegistryKey(company.c_str()); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + company).c_str()); }
    std::string Stored() { return app.GetProfileString(kSection, "WindowPlacement"); }

    TestApp app;
    std::string company = "RampwiseTest" + std::to_string(GetCurrentProcessId());
};

} // namespace

TEST_F(AnchoredDialog, ResizableDownToTheTemplateSizeWithChildrenAnchored)
{
    RunDialog([](ResizeTestDialog& d) {
        EXPECT_TRUE(GetWindowLongPtrA(d.m_hWnd, GWL_STYLE) & WS_THICKFRAME);
        const RECT window = d.WindowRect();
        MINMAXINFO limits{};
        SendMessageA(d.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        EXPECT_EQ(limits.ptMinTrackSize.x, window.right - window.left);
        EXPECT_EQ(limits.ptMinTrackSize.y, window.bottom - window.top);

        // Grown by 140 x 80: how far each edge {left, top, right, bottom} moves.
        const struct {
            int id;
            RECT move;
            RECT before;
        } children[] = {{IDC_RESIZE_DISPLAYS, {0, 0, 140, 0}, d.ChildRect(IDC_RESIZE_DISPLAYS)},
                        {IDC_RESIZE_REFRESH, {140, 0, 140, 0}, d.ChildRect(IDC_RESIZE_REFRESH)},
                        {IDC_RESIZE_DIAGRAM, {0, 0, 140, 80}, d.ChildRect(IDC_RESIZE_DIAGRAM)},
                        {IDC_RESIZE_LOG, {0, 80, 140, 80}, d.ChildRect(IDC_RESIZE_LOG)}};
        SetWindowPos(d.m_hWnd, nullptr, 0, 0, window.right - window.left + 140, window.bottom - window.top + 80,
                     SWP_NOMOVE | SWP_NOZORDER);
        for (const auto& [id, m, b] : children)
            EXPECT_EQ(d.ChildRect(id), (RECT{b.left + m.left, b.top + m.top, b.right + m.right, b.bottom + m.bottom}))
                << id;
        const RECT grip = RectIn(d.Grip().m_hWnd, d.m_hWnd), client = d.GetClientRect();
        EXPECT_TRUE(grip.right == client.right && grip.bottom == client.bottom) << "the grip follows the corner";
    });
}

TEST_F(AnchoredDialog, MaximiseHidesTheGripRestoreShowsItAndTheEraseSkipsOnlyTheList)
{
    RunDialog([](ResizeTestDialog& d) {
        EXPECT_TRUE(d.GripVisible());
        EXPECT_EQ(d.ShowCount(), 1);
        ShowWindow(d.m_hWnd, SW_MAXIMIZE);
        EXPECT_FALSE(d.GripVisible());
        EXPECT_EQ(d.ShowCount(), 0);
        EXPECT_EQ(d.GripReasons(), 0u);

        // Shown now, so its children count for the erase.
        const Region erase = d.BuildEraseRegion();
        const RECT diagram = d.ChildRect(IDC_RESIZE_DIAGRAM), log = d.ChildRect(IDC_RESIZE_LOG);
        EXPECT_TRUE(PtInRegion(erase.Get(), diagram.left + 5, diagram.top + 5)) << "owner-drawn static";
        EXPECT_FALSE(PtInRegion(erase.Get(), log.left + 5, log.top + 5)) << "list box";

        ShowWindow(d.m_hWnd, SW_RESTORE);
        EXPECT_TRUE(d.GripVisible());
        EXPECT_EQ(d.ShowCount(), 1);
        EXPECT_EQ(d.GripReasons(), 1u);
        SendMessageA(d.m_hWnd, WM_SIZE, SIZE_MAXSHOW, 0);
        EXPECT_EQ(d.ShowCount(), 1) << "a size notice that changes nothing leaves the grip alone";
    });
}

TEST_F(AnchoredDialog, PlacementIsSavedAtDestroyAndRestoredAtTheNextRun)
{
    const RECT placed{100, 80, 744, 560};
    RunDialog([](ResizeTestDialog& d) { SetWindowPos(d.m_hWnd, nullptr, 100, 80, 644, 480, SWP_NOZORDER); });
    EXPECT_EQ(Stored(), "100,80,744,560,1,0");
    RunDialog([&](ResizeTestDialog& d) {
        EXPECT_EQ(d.WindowRect(), placed);
        ShowWindow(d.m_hWnd, SW_MAXIMIZE);
    });
    EXPECT_EQ(Stored(), "100,80,744,560,3,0") << "maximised: show command 3, restored rectangle";
    RunDialog([&](ResizeTestDialog& d) {
        EXPECT_TRUE(IsZoomed(d.m_hWnd));
        EXPECT_FALSE(d.GripVisible());
        ShowWindow(d.m_hWnd, SW_RESTORE);
        EXPECT_EQ(d.WindowRect(), placed);
        ShowWindow(d.m_hWnd, SW_MINIMIZE);
    });
    EXPECT_EQ(Stored(), "100,80,744,560,2,0");
    RunDialog([](ResizeTestDialog& d) { EXPECT_TRUE(IsIconic(d.m_hWnd)); });
}

TEST_F(AnchoredDialog, UnusableStoredPlacementsLeaveTheWindowReachable)
{
    RunDialog([this](ResizeTestDialog& d) {
        const RECT original = d.WindowRect();
        for (const char* text : {"", "10,20,30", "100,80,744,560,0,0", "100,80,744,560,7,0", "1 ,2,3,4,1,0"}) {
            app.WriteProfileString(kSection, "WindowPlacement", text);
            EXPECT_FALSE(d.RestorePlacement(kSection)) << '"' << text << '"';
            EXPECT_EQ(d.WindowRect(), original) << '"' << text << '"';
        }

        // A monitor that is gone: the rectangle comes back onto the screen, same size.
        app.WriteProfileString(kSection, "WindowPlacement", "5000,5000,5644,5480,1,0");
        EXPECT_TRUE(d.RestorePlacement(kSection));
        const RECT r = d.WindowRect();
        EXPECT_EQ(r.right - r.left, 644);
        EXPECT_EQ(r.bottom - r.top, 480);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
                    r.bottom <= GetSystemMetrics(SM_CYSCREEN))
            << testing::PrintToString(r);
    });
}
