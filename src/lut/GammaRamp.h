#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// The look-up table that the video card applies to one display: 256 output levels
// for red, then 256 for green, then 256 for blue. Entries are in native byte order,
// so the record is handed to the platform's gamma calls exactly as it is.
struct GammaRamp {
    static constexpr std::size_t kChannelSize = 256;
    static constexpr std::size_t kChannelCount = 3;
    static constexpr std::size_t kEntryCount = kChannelSize * kChannelCount;

    std::array<std::uint16_t, kEntryCount> entries{};

    std::span<std::uint16_t, kChannelSize> Channel(std::size_t channel)
    {
        return std::span<std::uint16_t, kChannelSize>(entries.data() + channel * kChannelSize, kChannelSize);
    }
    std::span<const std::uint16_t, kChannelSize> Channel(std::size_t channel) const
    {
        return std::span<const std::uint16_t, kChannelSize>(entries.data() + channel * kChannelSize, kChannelSize);
    }

    bool operator==(const GammaRamp&) const = default;
};

static_assert(sizeof(GammaRamp) == 1536, "GammaRamp must be exactly the platform's 1536-byte record");
