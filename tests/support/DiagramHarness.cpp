#include "support/DiagramHarness.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "framework/Handles.h"

namespace {

constexpr int kControlId = 1002;

} // namespace

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

DiagramHarness::~DiagramHarness() = default;

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

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    DeviceContext dc(CreateCompatibleDC(nullptr));
    Bitmap bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_pixels.assign(static_cast<std::size_t>(m_width) * m_height, 0);
    if (!bitmap)
        return;
    {
        SelectGuard select(dc.Get(), bitmap.Get());
        const HGDIOBJ entryPen = GetCurrentObject(dc.Get(), OBJ_PEN);
        DrawInto(dc.Get());
        GdiFlush();
        std::copy_n(static_cast<const std::uint32_t*>(bits), m_pixels.size(), m_pixels.begin());
        m_contextIntact =
            GetObjectType(dc.Get()) == OBJ_MEMDC && GetCurrentObject(dc.Get(), OBJ_PEN) == entryPen;
    }
}

void DiagramHarness::DrawInto(HDC hdc)
{
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_STATIC;
    item.CtlID = kControlId;
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = m_control.m_hWnd;
    item.hDC = hdc;
    item.rcItem = m_control.GetClientRect();
    SendMessageA(m_parent.m_hWnd, WM_DRAWITEM, kControlId, reinterpret_cast<LPARAM>(&item));
}

bool DiagramHarness::SaveBitmap(const std::string& path) const
{
    const int rowBytes = (m_width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = m_width;
    header.biHeight = m_height;  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes) * m_height;

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!out)
        return false;
    std::fwrite(&file, sizeof(file), 1, out.get());
    std::fwrite(&header, sizeof(header), 1, out.get());
    std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes), 0);
    for (int y = m_height - 1; y >= 0; --y) {
        for (int x = 0; x < m_width; ++x) {
            const std::uint32_t pixel = Pixel(x, y);
            row[3 * x] = static_cast<std::uint8_t>(pixel);
            row[3 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(pixel >> 16);
        }
        std::fwrite(row.data(), 1, row.size(), out.get());
    }
    return std::fclose(out.release()) == 0;
}
