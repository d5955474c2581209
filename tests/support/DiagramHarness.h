#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "diagram/LUTDiagram.h"
#include "framework/Wnd.h"

// A real diagram control on a hidden parent window, painted on request into a 32-bit
// memory bitmap through the parent's WM_DRAWITEM, as the dialog paints it.
class DiagramHarness {
public:
    DiagramHarness(const GammaRamp& ramp, int width, int height, bool visible = false);
    DiagramHarness(const DiagramHarness&) = delete;
    DiagramHarness& operator=(const DiagramHarness&) = delete;

    void Resize(int width, int height);
    // Paints the control into a fresh bitmap of its client size; the pixels are
    // 0x00RRGGBB, row by row from the top.
    void Paint();
    // Sends the parent the draw request for the control with this device context.
    void DrawInto(HDC hdc);
    std::uint32_t Pixel(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // True when the last paint left the device context alive with its entry pen selected.
    bool LeftContextIntact() const { return m_contextIntact; }
    CLUTDiagram& Control() { return m_control; }

private:
    CWnd m_parent;
    CLUTDiagram m_control;
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
    bool m_contextIntact = false;
};

constexpr std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}
