#include "lut/GammaResample.h"

#include <algorithm>

void ResampleGammaTable(std::span<const std::uint16_t> from, std::span<std::uint16_t> to)
{
    if (from.empty() || to.empty())
        return;
    if (from.size() == to.size()) {
        std::copy(from.begin(), from.end(), to.begin());
        return;
    }
    if (to.size() == 1 || from.size() == 1) {
        std::fill(to.begin(), to.end(), from.front());
        return;
    }
    // Output entry i sits at i * (n - 1) / (m - 1) on the input's scale; integer
    // arithmetic, rounded to nearest, so that the result does not depend on the
    // floating-point environment.
    const std::uint64_t inputSpan = from.size() - 1;
    const std::uint64_t outputSpan = to.size() - 1;
    for (std::size_t i = 0; i < to.size(); ++i) {
        const std::uint64_t position = i * inputSpan;
        const std::size_t k = static_cast<std::size_t>(position / outputSpan);
        const std::uint64_t fraction = position % outputSpan;
        if (fraction == 0) {
            to[i] = from[k];
            continue;
        }
        const std::uint64_t weighted = from[k] * (outputSpan - fraction) + from[k + 1] * fraction;
        to[i] = static_cast<std::uint16_t>((weighted + outputSpan / 2) / outputSpan);
    }
}
