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

// 65535 * x ^ 2.2 over `size` evenly spaced points from 0 to 1.
Table GammaCurve(std::size_t size)
{
    Table table(size);
    for (std::size_t i = 0; i < size; ++i)
        table[i] = static_cast<std::uint16_t>(std::lround(65535.0 * std::pow(i / double(size - 1), 2.2)));
    return table;
}

} // namespace

TEST(GammaResample, EqualSizesCopyAndTheEndsAlwaysMeet)
{
    const Table curve = GammaCurve(256);
    EXPECT_EQ(Resampled(curve, 256), curve);
    for (std::size_t size : {2u, 3u, 17u, 1024u, 4096u}) {
        const Table wide = Resampled(curve, size);
        EXPECT_EQ(wide.front(), curve.front()) << size;
        EXPECT_EQ(wide.back(), curve.back()) << size;
    }
}

TEST(GammaResample, InterpolatesLinearlyBetweenNeighboursRoundingToNearest)
{
    // Three entries stretched to five: the new ones sit halfway, 100.5 rounds up.
    EXPECT_EQ(Resampled({0, 201, 65535}, 5), (Table{0, 101, 201, 32868, 65535}));
    // A straight line stays straight at any size: 1024 entries of i * 64 read at 256 points.
    Table line(1024);
    for (std::size_t i = 0; i < line.size(); ++i)
        line[i] = static_cast<std::uint16_t>(i * 64);
    const Table narrow = Resampled(line, 256);
    for (std::size_t i = 0; i < narrow.size(); ++i)
        ASSERT_EQ(narrow[i], std::lround(i * 1023.0 / 255.0 * 64)) << i;
}

TEST(GammaResample, RoundTripThroughAnyHardwareSizeStaysWithinALevel)
{
    const Table curve = GammaCurve(256);
    for (std::size_t size : {16u, 1024u, 4096u}) {
        const Table back = Resampled(Resampled(curve, size), 256);
        // A coarse table loses detail, so only the fine ones promise closeness.
        const int tolerance = size >= 256 ? 2 : 1200;
        for (std::size_t i = 0; i < 256; ++i)
            ASSERT_NEAR(back[i], curve[i], tolerance) << "size " << size << " entry " << i;
    }
}

TEST(GammaResample, SingleEntryTablesAndEmptyOnes)
{
    EXPECT_EQ(Resampled({4000}, 4), Table(4, 4000));
    EXPECT_EQ(Resampled({7, 8, 9}, 1), Table{7});
    EXPECT_EQ(Resampled({}, 3), Table(3, 0xBEEF));  // nothing to read: left alone
}
