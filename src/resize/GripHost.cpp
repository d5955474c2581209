#include "resize/GripHost.h"

bool CGripHost::InstallGrip(bool visible, bool triangular)
{
    if (!m_grip.CreateEx(0, "SCROLLBAR", "", WS_CHILD | WS_CLIPSIBLINGS | SBS_SIZEGRIP, 0, 0, 0, 0,
                         GetHostWindow().m_hWnd, nullptr))
        return false;
    m_grip.ShapeAsTriangle(triangular);
    SetGripShown(visible);
    PlaceGrip();
    return true;
}

void CGripHost::PlaceGrip()
{
    // Before the grip exists (a size change during creation) there is nothing to place.
    if (!m_grip.m_hWnd)
        return;
    const RECT client = GetHostWindow().GetClientRect();
    const SIZE size = m_grip.Size();
    const UINT flags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER |
                       (IsGripShown() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    SetWindowPos(m_grip.m_hWnd, HWND_BOTTOM, client.right - size.cx, client.bottom - size.cy, 0, 0, flags);
}

void CGripHost::ShowGripFor(std::uint32_t& reasons, std::uint32_t mask)
{
    if (reasons & mask)
        return;
    ++m_showCount;
    reasons |= mask;
}

void CGripHost::HideGripFor(std::uint32_t& reasons, std::uint32_t mask)
{
    if (!(reasons & mask))
        return;
    --m_showCount;
    reasons &= ~mask;
}
