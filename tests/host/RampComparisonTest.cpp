#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "lut/GammaResample.h"
#include "lut/RampComparison.h"
#include "support/TestRamps.h"

// The display's table is the ramp resampled to the table's size, with one entry moved;
// the difference is reported in the table's own entries.
TEST(RampComparison, HoldsBelowOneEightBitStepAndPointsAtTheLargestDifference)
{
    const GammaRamp ramp = DistinctRamp(7);
    const struct {
        const char* name;
        std::size_t size;
        std::size_t channel, entry;
        int change;
        RampDifference expected;
        bool holds;
    } cases[] = {
        {"equal", 256, 0, 0, 0, {0, 0, 0}, true},
        {"255 below", 256, 2, 255, -255, {255, 255, 2}, true},
        {"256 above", 256, 1, 128, 256, {256, 128, 1}, false},
        {"low byte dropped", 256, 0, 40, -23, {23, 40, 0}, true},  // as a driver that keeps 8 bits
        {"1024 entries, equal", 1024, 0, 0, 0, {0, 0, 0}, true},
        {"1024 entries, one far off", 1024, 2, 1000, -12345, {12345, 1000, 2}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint16_t> tables[3];
        for (std::size_t channel = 0; channel < 3; ++channel) {
            tables[channel].resize(c.size);
            ResampleGammaTable(ramp.Channel(channel), tables[channel]);
        }
        tables[c.channel][c.entry] = static_cast<std::uint16_t>(tables[c.channel][c.entry] + c.change);
        const RampDifference found = CompareWithRamp({tables[0], tables[1], tables[2]}, ramp);
        EXPECT_EQ(found, c.expected);
        EXPECT_EQ(found.Holds(), c.holds);
    }
}
