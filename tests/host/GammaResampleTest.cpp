#include <gtest/gtest.h>

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

    for (const std::size_t size : {2u, 17u, 1024u, 4096u}) {  // the ends meet at any size
        const Table there = Resampled({0, 12345, 40000, 65535}, size), back = Resampled(there, 4);
        EXPECT_TRUE(there.front() == 0 && there.back() == 65535 && back.front() == 0 && back.back() == 65535) << size;
    }
}
