#include <gtest/gtest.h>

#include <utility>

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

const GammaRamp kIdentity = RampOf([](std::size_t k) { return static_cast<std::uint16_t>(257 * k); });
const GammaRamp kAllZero = RampOf([](std::size_t) -> std::uint16_t { return 0; });

} // namespace

// A 300 x 200 control: plot 255 x 200 with grid columns 0, 31, 63, ... 254 and rows
// 0, 24, 49, ... 199; the shaded bar covers columns 255 to 299.
TEST(LUTDiagram, PaintsBorderPlotGridCurvesAndBar)
{
    DiagramHarness diagram(kIdentity, 300, 200);
    diagram.Paint();
    for (auto [x, y] : {std::pair{0, 100}, {254, 100}, {100, 0}, {100, 199}})
        EXPECT_EQ(diagram.Pixel(x, y), kBlack) << "border at " << x << ", " << y;
    EXPECT_EQ(diagram.Pixel(10, 10), kWhite);

    // Between the grid rows a major column is solid grey, a minor one dotted.
    int minorGrey = 0, minorWhite = 0;
    for (int y = 1; y < 150; ++y) {  // above the curve near these columns
        if (y % 25 == 24)
            continue;
        EXPECT_EQ(diagram.Pixel(63, y), kGrey) << "major column at y " << y;
        const std::uint32_t minor = diagram.Pixel(31, y);
        ASSERT_TRUE(minor == kGrey || minor == kWhite) << "minor column at y " << y;
        (minor == kGrey ? minorGrey : minorWhite)++;
    }
    EXPECT_GT(minorGrey, 10);
    EXPECT_GT(minorWhite, 10);

    EXPECT_EQ(diagram.Pixel(126, 100), kBlue) << "blue, drawn last, covers red and green";
    EXPECT_EQ(diagram.Pixel(255, 0), kWhite);
    EXPECT_EQ(diagram.Pixel(299, 1), Rgb(253, 253, 253));
    EXPECT_EQ(diagram.Pixel(299, 199), kBlack);
    EXPECT_TRUE(diagram.LeftContextIntact());
}

TEST(LUTDiagram, RampChangesShowAtTheNextPaint)
{
    GammaRamp ramp = kAllZero;
    DiagramHarness diagram(ramp, 300, 200);
    diagram.Paint();
    EXPECT_EQ(diagram.Pixel(128, 198), kBlue) << "zero lies one row above the bottom border";
    EXPECT_EQ(diagram.Pixel(126, 100), kWhite);
    ramp = kIdentity;
    diagram.Paint();
    EXPECT_EQ(diagram.Pixel(126, 100), kBlue);
}

TEST(LUTDiagram, DegenerateSizesStillPaint)
{
    DiagramHarness flat(kIdentity, 300, 1);
    flat.Paint();
    EXPECT_EQ(flat.Pixel(280, 0), kWhite) << "the bar's only row";

    DiagramHarness narrow(kIdentity, 40, 100);  // the bar, drawn last, covers it all
    narrow.Paint();
    EXPECT_EQ(narrow.Pixel(0, 0), kWhite);
    EXPECT_EQ(narrow.Pixel(39, 99), kBlack);
    EXPECT_TRUE(narrow.LeftContextIntact());
}

TEST(LUTDiagram, SizeNotificationInvalidatesTheWholeControl)
{
    DiagramHarness diagram(kIdentity, 300, 200, true);
    HWND control = diagram.Control().m_hWnd;
    diagram.Resize(320, 240);
    UpdateWindow(control);
    RECT update{}, whole{0, 0, 320, 240};
    ASSERT_FALSE(GetUpdateRect(control, &update, FALSE)) << "nothing left to paint";
    SendMessageA(control, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 240));
    ASSERT_TRUE(GetUpdateRect(control, &update, FALSE));
    EXPECT_TRUE(EqualRect(&update, &whole));
}
