#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <utility>
#include <vector>

#include "diagram/DiagramGeometry.h"

namespace {

using Pen = DiagramPen;

GammaRamp Identity()
{
    GammaRamp ramp;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ramp.entries[i] = static_cast<std::uint16_t>(257 * (i % 256));
    return ramp;
}

} // namespace

TEST(DiagramGeometry, LaysOutA300By200Client)
{
    const DiagramGeometry g = ComputeDiagramGeometry(300, 200, Identity());
    EXPECT_EQ(g.plot, (DiagramRect{0, 0, 255, 200}));
    EXPECT_EQ(g.shadeBar, (DiagramRect{255, 0, 300, 200}));

    const int xs[] = {0, 31, 63, 95, 127, 158, 190, 222, 254}, ys[] = {0, 24, 49, 74, 99, 124, 149, 174, 199};
    for (int i = 0; i < 9; ++i) {
        const int e = i == 0 || i == 8 ? 0 : 1;  // the frame runs the full length, the grid stops a pixel short
        const Pen pen = e == 0 ? Pen::Frame : i % 2 ? Pen::MinorGrid : Pen::MajorGrid;
        EXPECT_EQ(g.grid[2 * i], (DiagramSegment{{xs[i], e}, {xs[i], 200 - e}, pen})) << "vertical " << i;
        EXPECT_EQ(g.grid[2 * i + 1], (DiagramSegment{{e, ys[i]}, {255 - e, ys[i]}, pen})) << "horizontal " << i;
    }

    // Entry 0, then every odd entry; the other channels are checked on the tall client below.
    const std::pair<std::size_t, DiagramPoint> points[] = {
        {0, {1, 198}}, {1, {0, 198}}, {2, {2, 196}}, {64, {126, 100}}, {128, {254, 0}}};
    for (const auto& [index, point] : points)
        EXPECT_EQ(g.curves[0][index], point) << "index " << index;

    // White at the top to black at the bottom.
    EXPECT_EQ(g.shadeRows.size(), 200u);
    EXPECT_EQ(g.shadeRows[0], (ShadeRow{{255, 0}, {300, 0}, 255}));
    EXPECT_EQ(g.shadeRows[1].level, 253);
    EXPECT_EQ(g.shadeRows[198].level, 1);
    EXPECT_EQ(g.shadeRows[199], (ShadeRow{{255, 199}, {300, 199}, 0}));
}

TEST(DiagramGeometry, DegenerateAndHugeClients)
{
    const struct {
        int width, height;
        std::size_t rows;
    } cases[] = {{300, 0, 0}, {300, 1, 1}, {45, 200, 200}, {-5, 10, 10}, {300, -7, 0}, {INT_MIN, INT_MIN, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ComputeDiagramGeometry(c.width, c.height, Identity()).shadeRows.size(), c.rows) << c.width;
    EXPECT_EQ(ComputeDiagramGeometry(300, 1, Identity()).shadeRows[0].level, 255);  // a single row is white

    // Negative sizes are taken as 0.
    const DiagramGeometry negative = ComputeDiagramGeometry(-5, -7, Identity());
    const DiagramGeometry zero = ComputeDiagramGeometry(0, 0, Identity());
    EXPECT_EQ(negative.shadeBar, (DiagramRect{-45, 0, 0, 0}));
    EXPECT_EQ(negative.grid, zero.grid);

    // Each channel on its own; (H - 2) * 65535 no longer fits in 32 bits at this height.
    GammaRamp ramp;
    ramp.Channel(1)[255] = 65535;
    ramp.Channel(2)[127] = 32639;
    const DiagramGeometry tall = ComputeDiagramGeometry(1000, 40000, ramp);
    EXPECT_EQ(tall.curves[0][128].y, 39998);
    EXPECT_EQ(tall.curves[1][128].y, 0);
    EXPECT_EQ(tall.curves[2][64].y, 39998 - 39998 * 32639LL / 65535);
}

TEST(DiagramGeometry, StaysInsideTheClientAndHigherLevelsAreNeverLowerForRandomRampsAndSizes)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> widths(46, 4000), heights(2, 3000), levels(0, 65535);
    for (int n = 0; n < 300; ++n) {
        const int cw = widths(random), ch = heights(random);
        GammaRamp ramp;
        for (auto& entry : ramp.entries)
            entry = static_cast<std::uint16_t>(levels(random));
        const DiagramGeometry g = ComputeDiagramGeometry(cw, ch, ramp);
        SCOPED_TRACE(testing::Message() << cw << " x " << ch);
        std::vector<std::pair<std::uint16_t, int>> levelToY;
        for (std::size_t c = 0; c < 3; ++c) {
            for (std::size_t j = 0; j < kCurvePointCount; ++j) {
                const DiagramPoint p = g.curves[c][j];
                ASSERT_TRUE(p.x >= 0 && p.x < cw && p.y >= 0 && p.y < ch) << "point " << j;
                levelToY.push_back({ramp.Channel(c)[j == 0 ? 0 : 2 * j - 1], p.y});
            }
        }
        std::sort(levelToY.begin(), levelToY.end());
        for (std::size_t i = 1; i < levelToY.size(); ++i)
            ASSERT_GE(levelToY[i - 1].second, levelToY[i].second) << "level " << levelToY[i].first;
        for (std::size_t y = 1; y < g.shadeRows.size(); ++y)
            ASSERT_LE(g.shadeRows[y].level, g.shadeRows[y - 1].level) << "row " << y;
    }
}
