#include <gtest/gtest.h>

#include "lut/DisplayAccess.h"
#include "lut/RampOperations.h"
#include "support/RecordingLog.h"

TEST(DisplayAccess, WriteThenReadRoundTripsAnAcceptedRamp)
{
    // Wine keeps a ramp it accepts as a gamma value; the full-range identity is one
    // it gives back exactly.
    GammaRamp linear;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        linear.entries[i] = static_cast<std::uint16_t>((i % 256) * 257);
    ASSERT_TRUE(WriteDisplayRamp(0, linear));
    GammaRamp readBack;
    ASSERT_TRUE(ReadDisplayRamp(0, readBack));
    EXPECT_EQ(readBack, linear);
}
