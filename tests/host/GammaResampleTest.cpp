#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "lut/GammaResample.h"
#include "lut/RampComparison.h"
#include "support/TestRamps.h"

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

// A display holds a ramp while every entry of its table, at the table's own size, is
// less than one 8-bit step from the ramp resampled to that size.
TEST(GammaResample, DisplayTablesOfAnySizeAreComparedWithTheResampledRamp)
{
    const GammaRamp ramp = DistinctRamp(7);
    const struct { std::size_t size, channel, entry; int change; RampDifference found; bool holds; } cases[] = {
        {256, 2, 255, -255, {255, 255, 2}, true},
        {256, 1, 128, 256, {256, 128, 1}, false},
        {1024, 0, 0, 0, {0, 0, 0}, true},
        {1024, 2, 1000, -12345, {12345, 1000, 2}, false},
    };
    for (const auto& c : cases) {
        Table tables[3];
        for (std::size_t channel = 0; channel < 3; ++channel)
            tables[channel] = Resampled({ramp.Channel(channel).begin(), ramp.Channel(channel).end()}, c.size);
        tables[c.channel][c.entry] = static_cast<std::uint16_t>(tables[c.channel][c.entry] + c.change);
        const RampDifference found = CompareWithRamp({tables[0], tables[1], tables[2]}, ramp);
        EXPECT_TRUE(found == c.found && found.Holds() == c.holds) << c.size << " entries, found " << found.largest;
    }
}
