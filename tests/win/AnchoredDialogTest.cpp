#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "TestResourceIds.h"
#include "framework/RegistryKey.h"
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

constexpr char kAppName[] = "AnchoredDialogTest";
constexpr char kSection[] = "ResizeTest";

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp(kAppName) { InitApplication(); }
    bool RunStartup() override { return true; }
};

// Registers the four controls the way the main dialog does, optionally remembers its
// placement, runs the test's scenario and ends. A dialog that ends during its
// initialisation is never shown, unless the scenario shows it.
class ResizeTestDialog : public CAnchoredDialog {
public:
    ResizeTestDialog() : CAnchoredDialog(IDD_RESIZE_TEST) {}

    std::function<void(ResizeTestDialog&)> scenario;
    bool rememberPlacement = false;

    RECT ChildRect(int id) const
    {
        RECT rect{};
        GetWindowRect(GetDlgItem(m_hWnd, id), &rect);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    RECT WindowRect() const
    {
        RECT rect{};
        GetWindowRect(m_hWnd, &rect);
        return rect;
    }
    bool GripVisible() { return GetWindowLongPtrA(Grip().m_hWnd, GWL_STYLE) & WS_VISIBLE; }

protected:
    bool OnInitDialog() override
    {
        CAnchoredDialog::OnInitDialog();
        AnchorControl(IDC_RESIZE_DISPLAYS, ANCHOR_NW, ANCHOR_NE);
        AnchorControl(IDC_RESIZE_REFRESH, ANCHOR_NE, ANCHOR_NONE);
        AnchorControl(IDC_RESIZE_DIAGRAM, ANCHOR_NW, ANCHOR_SE);
        AnchorControl(IDC_RESIZE_LOG, ANCHOR_SW, ANCHOR_SE);
        if (rememberPlacement)
            RememberPlacement(kSection);
        if (scenario)
            scenario(*this);
        EndDialog(IDOK);
        return true;
    }
};

void RunModal(ResizeTestDialog& dialog)
{
    ASSERT_EQ(dialog.DoModal(), IDOK);
}

RECT Shifted(RECT rect, int left, int top, int right, int bottom)
{
    return RECT{rect.left + left, rect.top + top, rect.right + right, rect.bottom + bottom};
}

// Each test writes under a company key of its own and removes it afterwards.
class AnchoredDialog : public testing::Test {
protected:
    void SetUp() override
    {
        company = "RampwiseTest" + std::to_string(GetCurrentProcessId());
        app.SetRegistryKey(company.c_str());
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + company).c_str()); }

    TestApp app;
    std::string company;
};

} // namespace

TEST_F(AnchoredDialog, BecomesResizableAndKeepsChildrenAnchored)
{
    ResizeTestDialog dialog;
    dialog.scenario = [](ResizeTestDialog& d) {
        const auto style = GetWindowLongPtrA(d.m_hWnd, GWL_STYLE);
        EXPECT_TRUE(style & WS_THICKFRAME);
        EXPECT_FALSE(style & DS_MODALFRAME);
        EXPECT_EQ(d.ShowCount(), 1);
        EXPECT_TRUE(d.GripVisible());

        std::map<int, RECT> before;
        for (int id : {IDC_RESIZE_DISPLAYS, IDC_RESIZE_REFRESH, IDC_RESIZE_DIAGRAM, IDC_RESIZE_LOG})
            before[id] = d.ChildRect(id);
        const RECT window = d.WindowRect();

        MINMAXINFO limits{};
        SendMessageA(d.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        EXPECT_EQ(limits.ptMinTrackSize.x, window.right - window.left) << "the template size is the minimum";
        EXPECT_EQ(limits.ptMinTrackSize.y, window.bottom - window.top);

        SetWindowPos(d.m_hWnd, nullptr, 0, 0, window.right - window.left + 140, window.bottom - window.top + 80,
                     SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(d.ChildRect(IDC_RESIZE_DISPLAYS), Shifted(before[IDC_RESIZE_DISPLAYS], 0, 0, 140, 0));
        EXPECT_EQ(d.ChildRect(IDC_RESIZE_REFRESH), Shifted(before[IDC_RESIZE_REFRESH], 140, 0, 140, 0));
        EXPECT_EQ(d.ChildRect(IDC_RESIZE_DIAGRAM), Shifted(before[IDC_RESIZE_DIAGRAM], 0, 0, 140, 80));
        EXPECT_EQ(d.ChildRect(IDC_RESIZE_LOG), Shifted(before[IDC_RESIZE_LOG], 0, 80, 140, 80));

        const RECT client = d.GetClientRect();
        RECT grip{};
        GetWindowRect(d.Grip().m_hWnd, &grip);
        MapWindowPoints(nullptr, d.m_hWnd, reinterpret_cast<POINT*>(&grip), 2);
        EXPECT_EQ(grip.right, client.right);
        EXPECT_EQ(grip.bottom, client.bottom);
    };
    RunModal(dialog);
}

TEST_F(AnchoredDialog, MaximiseHidesTheGripAndRestoreShowsIt)
{
    ResizeTestDialog dialog;
    dialog.scenario = [](ResizeTestDialog& d) {
        const RECT clientBefore = d.GetClientRect();
        const RECT logBefore = d.ChildRect(IDC_RESIZE_LOG);
        ShowWindow(d.m_hWnd, SW_MAXIMIZE);
        EXPECT_TRUE(IsZoomed(d.m_hWnd));
        EXPECT_FALSE(d.GripVisible());
        EXPECT_EQ(d.ShowCount(), 0);
        EXPECT_EQ(d.GripReasons(), 0u);
        const RECT client = d.GetClientRect();
        const RECT log = d.ChildRect(IDC_RESIZE_LOG);
        EXPECT_GT(client.right, clientBefore.right);
        EXPECT_EQ(client.right - log.right, clientBefore.right - logBefore.right);
        EXPECT_EQ(client.bottom - log.bottom, clientBefore.bottom - logBefore.bottom);

        // Shown now: the owner-drawn diagram is erased around, never over; the list
        // box is left out of the erase.
        const Region erase = d.BuildEraseRegion();
        const RECT diagram = d.ChildRect(IDC_RESIZE_DIAGRAM);
        EXPECT_TRUE(PtInRegion(erase.Get(), diagram.left + 5, diagram.top + 5));
        EXPECT_FALSE(PtInRegion(erase.Get(), log.left + 5, log.top + 5));
        EXPECT_TRUE(PtInRegion(erase.Get(), 1, 1)) << "the dialog's own background";

        ShowWindow(d.m_hWnd, SW_RESTORE);
        EXPECT_TRUE(d.GripVisible());
        EXPECT_EQ(d.ShowCount(), 1);
        EXPECT_EQ(d.GripReasons(), 1u);
        // Size notifications that change nothing of the client leave the grip alone.
        SendMessageA(d.m_hWnd, WM_SIZE, SIZE_MAXSHOW, 0);
        EXPECT_EQ(d.ShowCount(), 1);
    };
    RunModal(dialog);
}

TEST_F(AnchoredDialog, PlacementIsSavedAtDestroyAndRestoredAtTheNextRun)
{
    ResizeTestDialog first;
    first.rememberPlacement = true;
    first.scenario = [](ResizeTestDialog& d) {
        SetWindowPos(d.m_hWnd, nullptr, 100, 80, 644, 480, SWP_NOZORDER);
    };
    RunModal(first);
    EXPECT_EQ(app.GetProfileString(kSection, "WindowPlacement"), "100,80,744,560,1,0");

    ResizeTestDialog second;
    second.rememberPlacement = true;
    second.scenario = [](ResizeTestDialog& d) {
        EXPECT_EQ(d.WindowRect(), (RECT{100, 80, 744, 560}));
        ShowWindow(d.m_hWnd, SW_MAXIMIZE);
    };
    RunModal(second);
    const std::string maximised = app.GetProfileString(kSection, "WindowPlacement");
    EXPECT_EQ(maximised, "100,80,744,560,3,0") << "closed maximised: show command 3, restored rectangle";

    ResizeTestDialog third;
    third.rememberPlacement = true;
    third.scenario = [](ResizeTestDialog& d) {
        EXPECT_TRUE(IsZoomed(d.m_hWnd));
        EXPECT_FALSE(d.GripVisible());
        ShowWindow(d.m_hWnd, SW_RESTORE);
        EXPECT_EQ(d.WindowRect(), (RECT{100, 80, 744, 560}));
        ShowWindow(d.m_hWnd, SW_MINIMIZE);
    };
    RunModal(third);
    EXPECT_EQ(app.GetProfileString(kSection, "WindowPlacement"), "100,80,744,560,2,0");

    ResizeTestDialog fourth;
    fourth.rememberPlacement = true;
    fourth.scenario = [](ResizeTestDialog& d) { EXPECT_TRUE(IsIconic(d.m_hWnd)); };
    RunModal(fourth);
}

TEST_F(AnchoredDialog, UnusableStoredPlacementsLeaveTheWindowReachable)
{
    ResizeTestDialog dialog;
    dialog.scenario = [this](ResizeTestDialog& d) {
        const RECT original = d.WindowRect();
        for (const char* text : {"", "10,20,30", "100,80,744,560,0,0", "100,80,744,560,7,0", "1 ,2,3,4,1,0"}) {
            app.WriteProfileString(kSection, "WindowPlacement", text);
            EXPECT_FALSE(d.RestorePlacement(kSection)) << '"' << text << '"';
            EXPECT_EQ(d.WindowRect(), original) << '"' << text << '"';
            EXPECT_FALSE(IsWindowVisible(d.m_hWnd)) << "not shown by a refused placement";
        }

        // A monitor that is gone: the rectangle comes back onto the screen, same size.
        app.WriteProfileString(kSection, "WindowPlacement", "5000,5000,5644,5480,1,0");
        EXPECT_TRUE(d.RestorePlacement(kSection));
        const RECT restored = d.WindowRect();
        EXPECT_EQ(restored.right - restored.left, 644);
        EXPECT_EQ(restored.bottom - restored.top, 480);
        EXPECT_LE(restored.right, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_LE(restored.bottom, GetSystemMetrics(SM_CYSCREEN));
        EXPECT_GE(restored.left, 0);
        EXPECT_GE(restored.top, 0);
    };
    RunModal(dialog);
}
