#include <gtest/gtest.h>

#include "lut/RampOperations.h"

namespace {

GammaRamp Linear()
{
    GammaRamp ramp;
    ramp.entries.fill(12345);
    EXPECT_TRUE(SetLinearRamp(ramp));
    return ramp;
}

} // namespace

TEST(RampOperations, LinearRampIsTheSameIdentityOnEveryChannelEndingBelowFullScale)
{
    const GammaRamp ramp = Linear();
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ASSERT_EQ(ramp.entries[i], i % 256 * 256) << "entry " << i;  // 0, 256, ..., 32768, ..., 65280
}

TEST(RampOperations, SmoothingTheIdentityChangesOnlyTheEntriesNextToTheEnds)
{
    GammaRamp ramp = Linear();
    EXPECT_TRUE(SmoothRamp(ramp));
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ASSERT_EQ(ramp.entries[i], i % 256 == 1 ? 268 : i % 256 == 254 ? 65011 : i % 256 * 256) << "entry " << i;
}

TEST(RampOperations, SmoothingReadsOnlyTheUnsmoothedCurveOfEachChannel)
{
    // A step from 0 to full scale on green: an in-place pass that read already smoothed
    // neighbours would give other values right of the step.
    GammaRamp ramp = Linear();
    auto green = ramp.Channel(1);
    for (std::size_t i = 0; i < 256; ++i)
        green[i] = i < 128 ? 0 : 65535;
    SmoothRamp(ramp);
    const std::uint16_t expected[] = {0, 3276, 16383, 49151, 62258, 65535};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(green[125 + i], expected[i]) << "entry " << 125 + i;
    EXPECT_EQ(ramp.Channel(0)[1], 268);
    EXPECT_EQ(ramp.Channel(2)[1], 268);

    ramp.entries.fill(65535);  // no overflow at full scale
    SmoothRamp(ramp);
    for (const std::uint16_t entry : ramp.entries)
        ASSERT_EQ(entry, 65535);
}
