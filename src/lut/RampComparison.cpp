#include "lut/RampComparison.h"

#include <cstdlib>
#include <vector>

#include "lut/GammaResample.h"

RampDifference CompareWithRamp(const DisplayTable& table, const GammaRamp& ramp)
{
    RampDifference difference;
    for (std::size_t channel = 0; channel < GammaRamp::kChannelCount; ++channel) {
        const std::span<const std::uint16_t> shown = table[channel];
        std::vector<std::uint16_t> wanted(shown.size());
        ResampleGammaTable(ramp.Channel(channel), wanted);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const int gap = std::abs(int{shown[i]} - int{wanted[i]});
            if (gap > difference.largest)
                difference = {gap, i, channel};
        }
    }
    return difference;
}

const char* ChannelName(std::size_t channel)
{
    static constexpr const char* kNames[] = {"red", "green", "blue"};
    return channel < GammaRamp::kChannelCount ? kNames[channel] : "?";
}
