#include <gtest/gtest.h>

#include <algorithm>

#include "support/DiagramHarness.h"

namespace {

constexpr std::uint32_t kBlack = Rgb(0, 0, 0);
constexpr std::uint32_t kWhite = Rgb(255, 255, 255);
constexpr std::uint32_t kGrey = Rgb(192, 192, 192);
constexpr std::uint32_t kBlue = Rgb(0, 0, 255);

GammaRamp RampOf(std::uint16_t (*level)(std::size_t entry))
{
    GammaRamp ramp;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ramp.entries[i] = level(i % 256);
    return ramp;
}

const GammaRamp kFullRangeIdentity = RampOf([](std::size_t k) { return static_cast<std::uint16_t>(257 * k); });
const GammaRamp kAllZero = RampOf([](std::size_t) -> std::uint16_t { return 0; });

} // namespace

// A 300 x 200 control: plot 255 x 200 with grid columns 0, 31, 63, ... 254 and rows
// 0, 24, 49, ... 199; the grey bar covers columns 255 to 299.
TEST(LUTDiagram, PaintsBorderPlotGridCurvesAndBar)
{
    DiagramHarness diagram(kFullRangeIdentity, 300, 200);
    diagram.Paint();
    ASSERT_EQ(diagram.Width(), 300);
    ASSERT_EQ(diagram.Height(), 200);

    EXPECT_EQ(diagram.Pixel(0, 100), kBlack);    // left border
    EXPECT_EQ(diagram.Pixel(254, 100), kBlack);  // right border
    EXPECT_EQ(diagram.Pixel(100, 0), kBlack);    // top border
    EXPECT_EQ(diagram.Pixel(100, 199), kBlack);  // bottom border
    EXPECT_EQ(diagram.Pixel(10, 10), kWhite);    // plot background

    // A major grid column is solid grey between the grid rows; a minor one is dotted.
    const int gridRows[] = {0, 24, 49, 74, 99, 124, 149, 174, 199};
    auto isGridRow = [&](int y) { return std::find(std::begin(gridRows), std::end(gridRows), y) != std::end(gridRows); };
    int minorGrey = 0, minorWhite = 0;
    for (int y = 1; y < 150; ++y) {  // above the curve's path near these columns
        if (isGridRow(y))
            continue;
        EXPECT_EQ(diagram.Pixel(63, y), kGrey) << "major column at y " << y;
        const std::uint32_t minor = diagram.Pixel(31, y);
        ASSERT_TRUE(minor == kGrey || minor == kWhite) << "minor column at y " << y;
        (minor == kGrey ? minorGrey : minorWhite)++;
    }
    EXPECT_GT(minorGrey, 10);
    EXPECT_GT(minorWhite, 10);

    // Identical channels: the blue curve, drawn last, covers red and green.
    EXPECT_EQ(diagram.Pixel(126, 100), kBlue);
    EXPECT_EQ(diagram.Pixel(2, 196), kBlue);

    EXPECT_EQ(diagram.Pixel(255, 0), kWhite);  // bar: white on top ...
    EXPECT_EQ(diagram.Pixel(299, 0), kWhite);
    EXPECT_EQ(diagram.Pixel(299, 1), Rgb(253, 253, 253));
    EXPECT_EQ(diagram.Pixel(299, 199), kBlack);  // ... black at the bottom

    EXPECT_TRUE(diagram.LeftContextIntact());
}

TEST(LUTDiagram, AllZeroRampLiesOneRowAboveTheBottomBorder)
{
    DiagramHarness diagram(kAllZero, 300, 200);
    diagram.Paint();
    for (int x : {1, 50, 128, 253})
        EXPECT_EQ(diagram.Pixel(x, 198), kBlue) << x;
    EXPECT_EQ(diagram.Pixel(128, 197), kWhite);
}

TEST(LUTDiagram, DegenerateSizesStillPaint)
{
    // One row high: the bar's only row is white instead of a division by zero.
    DiagramHarness flat(kFullRangeIdentity, 300, 1);
    flat.Paint();
    EXPECT_EQ(flat.Pixel(280, 0), kWhite);

    // Narrower than the bar: the bar, drawn last, covers the whole control.
    DiagramHarness narrow(kFullRangeIdentity, 40, 100);
    narrow.Paint();
    EXPECT_EQ(narrow.Pixel(0, 0), kWhite);
    EXPECT_EQ(narrow.Pixel(39, 99), kBlack);
    EXPECT_TRUE(narrow.LeftContextIntact());
}

TEST(LUTDiagram, RampChangesShowAtTheNextPaint)
{
    GammaRamp ramp = kAllZero;
    DiagramHarness diagram(ramp, 300, 200);
    diagram.Paint();
    EXPECT_EQ(diagram.Pixel(126, 100), kWhite);
    ramp = kFullRangeIdentity;
    diagram.Paint();
    EXPECT_EQ(diagram.Pixel(126, 100), kBlue);
}

TEST(LUTDiagram, SizeNotificationInvalidatesTheWholeControl)
{
    DiagramHarness diagram(kFullRangeIdentity, 300, 200, true);
    HWND control = diagram.Control().m_hWnd;
    diagram.Resize(320, 240);
    UpdateWindow(control);

    RECT update{};
    ASSERT_FALSE(GetUpdateRect(control, &update, FALSE)) << "nothing left to paint";
    SendMessageA(control, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 240));
    ASSERT_TRUE(GetUpdateRect(control, &update, FALSE));
    EXPECT_EQ(update.left, 0);
    EXPECT_EQ(update.top, 0);
    EXPECT_EQ(update.right, 320);
    EXPECT_EQ(update.bottom, 240);
}
