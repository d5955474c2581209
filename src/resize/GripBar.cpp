#include "resize/GripBar.h"

#include "framework/Dpi.h"
#include "framework/Handles.h"

namespace {

SIZE ScrollBarMetrics(UINT dpi)
{
    return SIZE{MetricForDpi(SM_CXVSCROLL, dpi), MetricForDpi(SM_CYHSCROLL, dpi)};
}

} // namespace

const MessageEntry CGripBar::kMessageEntries[] = {
    On<WM_NCHITTEST, &CGripBar::OnNcHitTest>(),
    On<WM_GETDLGCODE, &CGripBar::OnGetDlgCode>(),
    On<WM_SETTINGCHANGE, &CGripBar::OnSettingChange>(),
};
const MessageMap CGripBar::kMessageMap{&CScrollBar::kMessageMap, kMessageEntries};

// The grip's size comes from the metrics at its parent's DPI, whatever size the
// caller asked for.
bool CGripBar::PreCreateWindow(CREATESTRUCTA& create)
{
    m_dpi = WindowDpi(create.hwndParent);
    m_size = ScrollBarMetrics(m_dpi);
    create.cx = m_size.cx;
    create.cy = m_size.cy;
    return CScrollBar::PreCreateWindow(create);
}

void CGripBar::ShapeAsTriangle()
{
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    // The lower-right half, with the right angle in the lower-right corner.
    const POINT corners[] = {{0, height}, {width, height}, {width, 0}};
    Region region(CreatePolygonRgn(corners, 3, WINDING));
    if (region && SetWindowRgn(m_hWnd, region.Get(), IsWindowVisible(m_hWnd)))
        region.Release();  // the window owns it now
}

// The grip is the corner of a sizing border: lower left in a right-to-left layout.
LRESULT CGripBar::OnNcHitTest(POINT)
{
    const LONG_PTR exStyle = GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
    return (exStyle & WS_EX_LAYOUTRTL) ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
}

// The dialog manager treats the grip like a static control: no focus, no keys.
LRESULT CGripBar::OnGetDlgCode(WPARAM, LPARAM)
{
    return DLGC_STATIC;
}

// Called when system settings change: the grip follows new scroll-bar metrics.
LRESULT CGripBar::OnSettingChange(WPARAM, LPARAM)
{
    FitDpi(m_dpi);
    return Default();
}

// The grip takes the scroll-bar metrics at this DPI and keeps its lower-right corner
// where it was.
void CGripBar::FitDpi(UINT dpi)
{
    m_dpi = dpi;
    const SIZE old = m_size;
    m_size = ScrollBarMetrics(dpi);
    RECT rect{};
    GetWindowRect(m_hWnd, &rect);
    rect.left -= m_size.cx - old.cx;
    rect.top -= m_size.cy - old.cy;
    MapWindowPoints(nullptr, GetParent(m_hWnd), reinterpret_cast<POINT*>(&rect), 2);
    MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    ShapeAsTriangle();
}
