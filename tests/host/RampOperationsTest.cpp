#include <gtest/gtest.h>

#include "lut/RampOperations.h"

TEST(RampOperations, LinearRampAndSmoothingOfEachChannelFromItsUnsmoothedCurve)
{
    GammaRamp ramp;
    ramp.entries.fill(12345);
    ASSERT_TRUE(SetLinearRamp(ramp));
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ASSERT_EQ(ramp.entries[i], i % 256 * 256) << "entry " << i;  // 0, 256, ..., 65280 on every channel

    // Smoothing the identity changes only the entries next to the ends. A step on green
    // shows that every entry is computed from the unsmoothed curve, and that a flat top
    // at full scale stays there.
    for (std::size_t i = 0; i < 256; ++i)
        ramp.Channel(1)[i] = i < 128 ? 0 : 65535;
    ASSERT_TRUE(SmoothRamp(ramp));
    for (const std::size_t channel : {0, 2})
        for (std::size_t i = 0; i < 256; ++i)
            ASSERT_EQ(ramp.Channel(channel)[i], i == 1 ? 268 : i == 254 ? 65011 : i * 256) << channel << ", " << i;
    const std::uint16_t step[] = {0, 0, 3276, 16383, 49151, 62258, 65535, 65535};
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(ramp.Channel(1)[124 + i], step[i]) << "green " << 124 + i;
}
