#include <gtest/gtest.h>

#include "DisplayTestSupport.h"
#include "support/DiagramHarness.h"

// A 300 x 200 control paints its geometry into a real device context: plot 255 x 200 in a
// black frame with a grey grid, the curves (blue drawn last), and the shaded bar on
// columns 255 to 299. It draws the ramp it is given as it is at each paint, and a size
// change asks for a whole repaint.
TEST(LUTDiagram, PaintsTheGeometryOfTheCurrentRampAndRepaintsWhenResized)
{
    constexpr std::uint32_t kBlack = Rgb(0, 0, 0), kWhite = Rgb(255, 255, 255), kBlue = Rgb(0, 0, 255);
    GammaRamp ramp = CurveRamp(1, 1, 1);
    DiagramHarness diagram(ramp, 300, 200, true);
    diagram.Paint();
    const struct { int x, y; std::uint32_t colour; } pixels[] = {
        {0, 100, kBlack}, {254, 100, kBlack}, {100, 0, kBlack}, {100, 199, kBlack}, {10, 10, kWhite},
        {63, 10, Rgb(192, 192, 192)}, {126, 100, kBlue}, {255, 0, kWhite}, {299, 1, Rgb(253, 253, 253)},
        {299, 199, kBlack}};
    for (const auto& p : pixels)
        EXPECT_EQ(diagram.Pixel(p.x, p.y), p.colour) << p.x << ", " << p.y;
    EXPECT_TRUE(diagram.LeftContextIntact());

    ramp.entries.fill(0);
    diagram.Paint();
    EXPECT_EQ(diagram.Pixel(128, 198), kBlue) << "zero lies one row above the bottom border";
    EXPECT_EQ(diagram.Pixel(126, 100), kWhite);

    HWND control = diagram.Control().m_hWnd;
    diagram.Resize(320, 240);
    UpdateWindow(control);
    RECT update{}, whole{0, 0, 320, 240};
    ASSERT_FALSE(GetUpdateRect(control, &update, FALSE)) << "nothing left to paint";
    SendMessageA(control, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 240));
    ASSERT_TRUE(GetUpdateRect(control, &update, FALSE));
    EXPECT_TRUE(EqualRect(&update, &whole));
}
