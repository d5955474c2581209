#pragma once

// Ramps for tests, and the files that carry them.

#include <cstdint>

#include "ProfileBuilder.h"
#include "lut/GammaRamp.h"

// Entry i has the level i % 256 in its high byte and 16 * (channel + 1) + seed in its
// low byte (seed 0 to 15): every entry differs from the others, from a byte-swapped
// or shifted copy, from the same entry of another seed, and from 0 like GammaRamp{}.
inline GammaRamp DistinctRamp(int seed = 0)
{
    GammaRamp ramp;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ramp.entries[i] = static_cast<std::uint16_t>((i % 256) << 8 | (16 * (i / 256 + 1) + seed));
    return ramp;
}

// The raw LUT file of a ramp: its entries as little-endian 16-bit words.
inline Bytes LutFileBytes(const GammaRamp& ramp)
{
    Bytes bytes;
    for (const std::uint16_t entry : ramp.entries)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(entry), static_cast<std::uint8_t>(entry >> 8)});
    return bytes;
}

// A colour profile whose calibration curves are the ramp, as a 2-byte vcgt table
// behind another tag.
inline Bytes CalibrationProfile(const GammaRamp& ramp)
{
    const Bytes table = VcgtTable(3, 256, 2, U16Bytes({ramp.entries.begin(), ramp.entries.end()}));
    return ProfileBuilder().Tag(kDescTag, Bytes(40)).Tag(kVcgtTag, table).Build();
}
