#include "lut/RampOperations.h"

#include <algorithm>
#include <array>

bool SetLinearRamp(GammaRamp& ramp)
{
    for (std::size_t channel = 0; channel < GammaRamp::kChannelCount; ++channel) {
        auto entries = ramp.Channel(channel);
        for (std::size_t i = 0; i < entries.size(); ++i)
            entries[i] = static_cast<std::uint16_t>(i << 8);
    }
    return true;
}

bool SmoothRamp(GammaRamp& ramp)
{
    static constexpr std::array<std::int32_t, 5> kWeights = {5, 20, 50, 20, 5};
    static constexpr int kHalfWidth = static_cast<int>(kWeights.size()) / 2;
    static constexpr int kLast = static_cast<int>(GammaRamp::kChannelSize) - 1;

    // Every new entry is computed from the unsmoothed curve.
    const GammaRamp original = ramp;
    for (std::size_t channel = 0; channel < GammaRamp::kChannelCount; ++channel) {
        auto source = original.Channel(channel);
        auto target = ramp.Channel(channel);
        for (int j = 1; j < kLast; ++j) {
            std::int32_t sum = 0;
            for (int t = 0; t < static_cast<int>(kWeights.size()); ++t) {
                int p = std::clamp(j + t - kHalfWidth, 0, kLast);
                sum += kWeights[t] * source[p];
            }
            target[j] = static_cast<std::uint16_t>(sum / 100);
        }
    }
    return true;
}
