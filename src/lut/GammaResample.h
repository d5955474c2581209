#pragma once

#include <cstdint>
#include <span>

// Fills `to` from `from` by linear interpolation over the whole input range: the
// first and last entries of both tables meet, and tables of equal size are copied
// exactly. Display back ends whose hardware tables are not 256 entries long use it
// on the way in and on the way out. Either table may have any size of at least 1.
void ResampleGammaTable(std::span<const std::uint16_t> from, std::span<std::uint16_t> to);
