#include "support/DiagramHarness.h"

#include <algorithm>

#include "framework/Handles.h"

constexpr int kControlId = 1002;

DiagramHarness::DiagramHarness(const GammaRamp& ramp, int width, int height, bool visible)
    : m_control(&ramp)
{
    m_parent.CreateEx(0, CWnd::RegisterWindowClass(), "diagram", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0,
                      width + 20, height + 20, nullptr, nullptr);
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, 0, width, height, m_parent.m_hWnd,
                    reinterpret_cast<HMENU>(kControlId), nullptr, nullptr);
    m_control.SubclassDlgItem(kControlId, m_parent);
    Resize(width, height);
}

void DiagramHarness::Resize(int width, int height)
{
    SetWindowPos(m_parent.m_hWnd, nullptr, 0, 0, width + 20, height + 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(m_control.m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DiagramHarness::Paint()
{
    const RECT client = m_control.GetClientRect();
    m_width = client.right;
    m_height = client.bottom;
    // Top-down rows of 32 bits.
    BITMAPINFO info{.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER), .biWidth = m_width, .biHeight = -m_height,
                                  .biPlanes = 1, .biBitCount = 32, .biCompression = BI_RGB, .biSizeImage = 0,
                                  .biXPelsPerMeter = 0, .biYPelsPerMeter = 0, .biClrUsed = 0, .biClrImportant = 0},
                    .bmiColors = {}};
    void* bits = nullptr;
    DeviceContext dc(CreateCompatibleDC(nullptr));
    Bitmap bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_pixels.assign(static_cast<std::size_t>(m_width) * m_height, 0);
    if (!bitmap)
        return;
    // Declared after the bitmap, so that the bitmap is deselected before it is deleted.
    SelectGuard select(dc.Get(), bitmap.Get());
    const HGDIOBJ entryPen = GetCurrentObject(dc.Get(), OBJ_PEN);
    DrawInto(dc.Get());
    GdiFlush();
    std::copy_n(static_cast<const std::uint32_t*>(bits), m_pixels.size(), m_pixels.begin());
    m_contextIntact = GetObjectType(dc.Get()) == OBJ_MEMDC && GetCurrentObject(dc.Get(), OBJ_PEN) == entryPen;
}

void DiagramHarness::DrawInto(HDC hdc)
{
    DRAWITEMSTRUCT item{.CtlType = ODT_STATIC, .CtlID = kControlId, .itemID = 0, .itemAction = ODA_DRAWENTIRE,
                        .itemState = 0, .hwndItem = m_control.m_hWnd, .hDC = hdc, .rcItem = m_control.GetClientRect(),
                        .itemData = 0};
    SendMessageA(m_parent.m_hWnd, WM_DRAWITEM, kControlId, reinterpret_cast<LPARAM>(&item));
}
