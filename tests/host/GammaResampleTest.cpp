#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "lut/GammaResample.h"

namespace {

using Table = std::vector<std::uint16_t>;

Table Resampled(const Table& from, std::size_t size)
{
    Table to(size, 0xBEEF);
    ResampleGammaTable(from, to);
    return to;
}

} // namespace

TEST(GammaResample, InterpolatesLinearlyRoundingToNearestAndKeepsTheEnds)
{
    const struct {
        Table from;
        std::size_t size;
        Table to;
    } cases[] = {
        {{0, 201, 65535}, 5, {0, 101, 201, 32868, 65535}},  // new entries halfway, 100.5 rounds up
        {{0, 201, 65535}, 3, {0, 201, 65535}},              // equal sizes copy
        {{0, 100, 201, 300}, 3, {0, 151, 300}},             // down: 150.5 rounds up too
        {{4000}, 4, {4000, 4000, 4000, 4000}},
        {{7, 8, 9}, 1, {7}},
        {{}, 3, {0xBEEF, 0xBEEF, 0xBEEF}},  // nothing to read: left alone
    };
    for (const auto& c : cases)
        EXPECT_EQ(Resampled(c.from, c.size), c.to) << c.from.size() << " to " << c.size;

    // 65535 * x ^ 2.2 at 256 points: the ends meet at any size, and the way back from a
    // fine table stays within a level (from a coarse one, only near).
    Table curve(256);
    for (std::size_t i = 0; i < curve.size(); ++i)
        curve[i] = static_cast<std::uint16_t>(std::lround(65535.0 * std::pow(i / 255.0, 2.2)));
    for (std::size_t size : {2u, 3u, 16u, 17u, 1024u, 4096u}) {
        const Table there = Resampled(curve, size), back = Resampled(there, 256);
        EXPECT_TRUE(there.front() == curve.front() && there.back() == curve.back()) << size;
        for (std::size_t i = 0; size >= 16 && i < 256; ++i)
            ASSERT_NEAR(back[i], curve[i], size >= 256 ? 2 : 1200) << "size " << size << " entry " << i;
    }
}
