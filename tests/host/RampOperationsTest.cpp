#include <gtest/gtest.h>

#include "lut/RampOperations.h"

namespace {

GammaRamp Linear()
{
    GammaRamp ramp;
    SetLinearRamp(ramp);
    return ramp;
}

void FillChannel(GammaRamp& ramp, std::size_t channel, std::uint16_t (*level)(std::size_t))
{
    auto entries = ramp.Channel(channel);
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i] = level(i);
}

} // namespace

TEST(SetLinearRamp, GivesTheSameIdentityOnEveryChannelEndingBelowFullScale)
{
    GammaRamp ramp;
    ramp.entries.fill(12345);
    EXPECT_TRUE(SetLinearRamp(ramp));
    for (std::size_t channel = 0; channel < 3; ++channel) {
        auto entries = ramp.Channel(channel);
        EXPECT_EQ(entries[0], 0);
        EXPECT_EQ(entries[128], 32768);
        EXPECT_EQ(entries[255], 65280);
        for (std::size_t i = 0; i < 256; ++i)
            ASSERT_EQ(entries[i], i * 256) << "channel " << channel << " entry " << i;
    }
}

TEST(SmoothRamp, IdentityChangesOnlyNextToTheEnds)
{
    GammaRamp ramp = Linear();
    EXPECT_TRUE(SmoothRamp(ramp));
    for (std::size_t channel = 0; channel < 3; ++channel) {
        auto entries = ramp.Channel(channel);
        for (std::size_t i = 0; i < 256; ++i) {
            std::uint32_t expected = i == 1 ? 268 : i == 254 ? 65011 : i * 256;
            ASSERT_EQ(entries[i], expected) << "channel " << channel << " entry " << i;
        }
    }
}

TEST(SmoothRamp, ReadsOnlyTheUnsmoothedCurve)
{
    // A step from 0 to full scale: an in-place pass that read already smoothed
    // neighbours would give other values right of the step.
    GammaRamp ramp = Linear();
    FillChannel(ramp, 1, [](std::size_t i) -> std::uint16_t { return i < 128 ? 0 : 65535; });
    SmoothRamp(ramp);
    auto green = ramp.Channel(1);
    EXPECT_EQ(green[125], 0);
    EXPECT_EQ(green[126], 3276);
    EXPECT_EQ(green[127], 16383);
    EXPECT_EQ(green[128], 49151);
    EXPECT_EQ(green[129], 62258);
    EXPECT_EQ(green[130], 65535);
    // Channels are smoothed independently of each other.
    EXPECT_EQ(ramp.Channel(0)[1], 268);
    EXPECT_EQ(ramp.Channel(2)[1], 268);
}

TEST(SmoothRamp, KeepsAFullScaleConstantWithoutOverflow)
{
    GammaRamp ramp;
    ramp.entries.fill(65535);
    SmoothRamp(ramp);
    for (std::uint16_t entry : ramp.entries)
        ASSERT_EQ(entry, 65535);
}

TEST(SmoothRamp, EachCallIsOneMorePass)
{
    GammaRamp once = Linear();
    SmoothRamp(once);
    GammaRamp twice = once;
    SmoothRamp(twice);
    EXPECT_NE(once, twice);
    EXPECT_EQ(twice.Channel(0)[0], 0);
    EXPECT_EQ(twice.Channel(0)[255], 65280);
}
