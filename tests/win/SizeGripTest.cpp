#include <gtest/gtest.h>

#include "framework/Handles.h"
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

// Whether the grip fills the 300 x 200 host's lower right corner at the given size.
bool InTheCorner(HWND grip, SIZE size)
{
    RECT rect{}, expected{300 - size.cx, 200 - size.cy, 300, 200};
    GetWindowRect(grip, &rect);
    MapWindowPoints(nullptr, GetParent(grip), reinterpret_cast<POINT*>(&rect), 2);
    return EqualRect(&rect, &expected);
}

bool RegionContains(HWND window, int x, int y)
{
    Region region(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(window, region.Get()) != ERROR && PtInRegion(region.Get(), x, y);
}

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
    EXPECT_TRUE(InTheCorner(grip, size));
    EXPECT_EQ(GetWindow(sibling, GW_HWNDNEXT), grip) << "the grip is at the bottom of the Z order";
    EXPECT_EQ(GetWindow(grip, GW_HWNDNEXT), nullptr);
    EXPECT_FALSE(RegionContains(grip, 1, 1)) << "a point above the diagonal is not the grip's";
    EXPECT_TRUE(RegionContains(grip, size.cx - 2, size.cy - 2));
    EXPECT_EQ(SendMessageA(grip, WM_NCHITTEST, 0, 0), HTBOTTOMRIGHT);
    EXPECT_EQ(SendMessageA(grip, WM_GETDLGCODE, 0, 0), DLGC_STATIC);

    GripWindow rightToLeft(WS_EX_LAYOUTRTL);
    ASSERT_TRUE(rightToLeft.InstallGrip(true, true));
    EXPECT_EQ(SendMessageA(rightToLeft.Grip().m_hWnd, WM_NCHITTEST, 0, 0), HTBOTTOMLEFT);
}

TEST(SizeGrip, EachReasonCountsOnce)
{
    GripWindow host;
    ASSERT_TRUE(host.InstallGrip(false, false));
    std::uint32_t reasons = 0;
    for (int i = 0; i < 2; ++i)
        host.ShowGripFor(reasons, 1);
    EXPECT_EQ(host.ShowCount(), 1);
    for (int i = 0; i < 3; ++i)
        host.HideGripFor(reasons, 1);
    EXPECT_EQ(host.ShowCount(), 0) << "hidden twice more than shown, yet not below zero";
    EXPECT_EQ(reasons, 0u);
}

TEST(SizeGrip, KeepsItsLowerRightCornerWhenTheMetricsChange)
{
    GripWindow host;
    ASSERT_TRUE(host.InstallGrip(true, true));
    HWND grip = host.Grip().m_hWnd;
    const SIZE before = host.Grip().Size();
    NONCLIENTMETRICSA saved{};
    saved.cbSize = sizeof(saved);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(saved), &saved, 0);
    NONCLIENTMETRICSA changed = saved;
    changed.iScrollWidth += 4;
    changed.iScrollHeight += 4;
    SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(changed), &changed, 0);
    const bool applied = GetSystemMetrics(SM_CXVSCROLL) == before.cx + 4;
    SendMessageA(grip, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(saved), &saved, 0);
    if (!applied)
        GTEST_SKIP() << "the platform does not change the scroll-bar metrics";

    EXPECT_TRUE(InTheCorner(grip, SIZE{before.cx + 4, before.cy + 4}));
    EXPECT_TRUE(RegionContains(grip, before.cx + 2, before.cy + 2)) << "the triangle grew with the grip";
    EXPECT_FALSE(RegionContains(grip, 1, 1));
}
