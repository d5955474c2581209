#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "lut/GammaRamp.h"

// How far a display's table is from a ramp: the largest difference of any entry and
// where it is (the entry in the display's table and the channel).
struct RampDifference {
    // Drivers may keep only 8 or 10 bits of each entry; any difference below one
    // 8-bit step still holds the ramp.
    static constexpr int kHoldLimit = 256;

    int largest = 0;
    std::size_t entry = 0;
    std::size_t channel = 0;

    bool Holds() const { return largest < kHoldLimit; }
    bool operator==(const RampDifference&) const = default;
};

// The display's table as it stands: three channels of one size (256 on Windows,
// whatever the hardware has on X11). A table of another size than 256 is compared
// with the ramp resampled to that size.
using DisplayTable = std::array<std::span<const std::uint16_t>, GammaRamp::kChannelCount>;
RampDifference CompareWithRamp(const DisplayTable& table, const GammaRamp& ramp);

// "red", "green" or "blue".
const char* ChannelName(std::size_t channel);
