#include <gtest/gtest.h>

#include "framework/Gdi.h"
#include "resize/GripHost.h"

namespace {

class GripWindow : public CWnd, public CGripHost {
public:
    explicit GripWindow(DWORD exStyle = 0)
    {
        CreateEx(exStyle, CWnd::RegisterWindowClass(), "grip", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr);
    }

protected:
    CWnd& GetHostWindow() override { return *this; }
};

RECT RectInParent(HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool RegionContains(HWND window, int x, int y)
{
    Region region(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(window, region.Get()) != ERROR && PtInRegion(region.Get(), x, y);
}

// Scroll-bar metrics changed for one test and put back afterwards.
class ScrollMetricsChange {
public:
    explicit ScrollMetricsChange(int grow)
    {
        m_saved.cbSize = sizeof(m_saved);
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(m_saved), &m_saved, 0);
        NONCLIENTMETRICSA changed = m_saved;
        changed.iScrollWidth += grow;
        changed.iScrollHeight += grow;
        SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(changed), &changed, 0);
    }
    ~ScrollMetricsChange() { SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(m_saved), &m_saved, 0); }

private:
    NONCLIENTMETRICSA m_saved{};
};

} // namespace

TEST(SizeGrip, SitsInTheCornerBehindItsSiblingsAsATriangle)
{
    GripWindow host;
    HWND sibling = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, host.m_hWnd, nullptr,
                                   nullptr, nullptr);
    ASSERT_TRUE(host.InstallGrip(true, true));
    HWND grip = host.Grip().m_hWnd;
    const SIZE size = host.Grip().Size();
    EXPECT_EQ(size.cx, GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(size.cy, GetSystemMetrics(SM_CYHSCROLL));

    const RECT rect = RectInParent(grip);
    EXPECT_EQ(rect.left, 300 - size.cx);
    EXPECT_EQ(rect.top, 200 - size.cy);
    EXPECT_EQ(rect.right, 300);
    EXPECT_EQ(rect.bottom, 200);
    EXPECT_TRUE(GetWindowLongPtrA(grip, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(GetWindow(grip, GW_HWNDNEXT), nullptr) << "the grip is at the bottom of the Z order";
    EXPECT_EQ(GetWindow(sibling, GW_HWNDNEXT), grip);

    EXPECT_FALSE(RegionContains(grip, 1, 1)) << "a point above the diagonal is not the grip's";
    EXPECT_TRUE(RegionContains(grip, size.cx - 2, size.cy - 2));

    EXPECT_EQ(SendMessageA(grip, WM_NCHITTEST, 0, 0), HTBOTTOMRIGHT);
    EXPECT_EQ(SendMessageA(grip, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST(SizeGrip, RightToLeftHostAnswersAsTheLowerLeftCorner)
{
    GripWindow host(WS_EX_LAYOUTRTL);
    ASSERT_TRUE(host.InstallGrip(true, true));
    EXPECT_EQ(SendMessageA(host.Grip().m_hWnd, WM_NCHITTEST, 0, 0), HTBOTTOMLEFT);
}

TEST(SizeGrip, ReasonsCountOnceEachAndDecideVisibility)
{
    GripWindow host;
    ASSERT_TRUE(host.InstallGrip(false, false));
    EXPECT_FALSE(RegionContains(host.Grip().m_hWnd, 1, 1)) << "no region: not triangular";
    EXPECT_EQ(host.ShowCount(), 0);

    std::uint32_t reasons = 0;
    host.ShowGripFor(reasons, 1);
    host.ShowGripFor(reasons, 1);
    EXPECT_EQ(host.ShowCount(), 1);
    EXPECT_EQ(reasons, 1u);
    host.PlaceGrip();
    EXPECT_TRUE(GetWindowLongPtrA(host.Grip().m_hWnd, GWL_STYLE) & WS_VISIBLE);

    host.HideGripFor(reasons, 1);
    host.HideGripFor(reasons, 1);
    EXPECT_EQ(host.ShowCount(), 0);
    EXPECT_EQ(reasons, 0u);
    host.PlaceGrip();
    EXPECT_FALSE(GetWindowLongPtrA(host.Grip().m_hWnd, GWL_STYLE) & WS_VISIBLE);

    // A reason that was never given cannot be withdrawn below zero by accident.
    host.HideGripFor(reasons, 1);
    EXPECT_EQ(host.ShowCount(), 0);
}

TEST(SizeGrip, KeepsItsLowerRightCornerWhenTheMetricsChange)
{
    GripWindow host;
    ASSERT_TRUE(host.InstallGrip(true, true));
    HWND grip = host.Grip().m_hWnd;
    const SIZE before = host.Grip().Size();
    {
        ScrollMetricsChange change(4);
        if (GetSystemMetrics(SM_CXVSCROLL) != before.cx + 4)
            GTEST_SKIP() << "the platform does not change the scroll-bar metrics";
        SendMessageA(grip, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    }
    const RECT rect = RectInParent(grip);
    EXPECT_EQ(rect.left, 300 - before.cx - 4);
    EXPECT_EQ(rect.top, 200 - before.cy - 4);
    EXPECT_EQ(rect.right, 300);
    EXPECT_EQ(rect.bottom, 200);
    EXPECT_TRUE(RegionContains(grip, before.cx + 2, before.cy + 2)) << "the triangle grew with the grip";
    EXPECT_FALSE(RegionContains(grip, 1, 1));
}
