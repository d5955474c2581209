#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include "diagram/DiagramGeometry.h"

TEST(DiagramGeometry, LaysOutTheClientAtAnySize)
{
    GammaRamp identity;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        identity.entries[i] = static_cast<std::uint16_t>(257 * (i % 256));
    const DiagramGeometry g = ComputeDiagramGeometry(300, 200, identity);
    EXPECT_EQ(g.plot, (DiagramRect{0, 0, 255, 200}));
    EXPECT_EQ(g.shadeBar, (DiagramRect{255, 0, 300, 200}));
    const int xs[] = {0, 31, 63, 95, 127, 158, 190, 222, 254}, ys[] = {0, 24, 49, 74, 99, 124, 149, 174, 199};
    for (int i = 0; i < 9; ++i) {
        const int e = i == 0 || i == 8 ? 0 : 1;  // the frame runs the full length, the grid stops a pixel short
        const DiagramPen pen = e == 0 ? DiagramPen::Frame : i % 2 ? DiagramPen::MinorGrid : DiagramPen::MajorGrid;
        EXPECT_EQ(g.grid[2 * i], (DiagramSegment{{xs[i], e}, {xs[i], 200 - e}, pen})) << "vertical " << i;
        EXPECT_EQ(g.grid[2 * i + 1], (DiagramSegment{{e, ys[i]}, {255 - e, ys[i]}, pen})) << "horizontal " << i;
    }
    // Entry 0, then every odd entry; shades from white at the top to black at the bottom.
    const std::pair<std::size_t, DiagramPoint> points[] = {
        {0, {1, 198}}, {1, {0, 198}}, {2, {2, 196}}, {64, {126, 100}}, {128, {254, 0}}};
    for (const auto& [index, point] : points)
        EXPECT_EQ(g.curves[0][index], point) << "index " << index;
    ASSERT_EQ(g.shadeRows.size(), 200u);
    EXPECT_EQ(g.shadeRows[0], (ShadeRow{{255, 0}, {300, 0}, 255}));
    EXPECT_EQ(g.shadeRows[199], (ShadeRow{{255, 199}, {300, 199}, 0}));

    // Degenerate sizes: negative ones count as 0, a single row is white.
    const struct {
        int width, height;
        std::size_t rows;
    } cases[] = {{300, 0, 0}, {300, 1, 1}, {45, 200, 200}, {-5, 10, 10}, {300, -7, 0}, {INT_MIN, INT_MIN, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ComputeDiagramGeometry(c.width, c.height, identity).shadeRows.size(), c.rows) << c.width;
    EXPECT_EQ(ComputeDiagramGeometry(300, 1, identity).shadeRows[0].level, 255);
    const DiagramGeometry negative = ComputeDiagramGeometry(-5, -7, identity);
    EXPECT_EQ(negative.shadeBar, (DiagramRect{-45, 0, 0, 0}));
    EXPECT_EQ(negative.grid, ComputeDiagramGeometry(0, 0, identity).grid);

    // Each channel on its own; (H - 2) * 65535 no longer fits in 32 bits at this height.
    GammaRamp ramp;
    ramp.Channel(1)[255] = 65535;
    ramp.Channel(2)[127] = 32639;
    const DiagramGeometry tall = ComputeDiagramGeometry(1000, 40000, ramp);
    EXPECT_EQ(tall.curves[0][128], (DiagramPoint{954, 39998}));
    EXPECT_EQ(tall.curves[1][128].y, 0);
    EXPECT_EQ(tall.curves[2][64].y, 39998 - 39998 * 32639LL / 65535);
}
