#include "lut/ProfileCurves.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "base/Log.h"
#include "lut/ByteSource.h"

namespace {

// Profile layout, all big-endian: a 128-byte header we do not look at, the tag count,
// then 12-byte tag entries of signature, data offset from file start, data size.
constexpr std::uint64_t kTagCountOffset = 128;
constexpr std::uint64_t kTagTableOffset = 132;
constexpr std::size_t kTagEntrySize = 12;
// Real profiles carry a few dozen tags, a few hundred at most. A larger count is
// damage or malice, and a table of 0xFFFFFFFF entries in a sparse file of gigabytes
// would take seconds to minutes to scan.
constexpr std::uint32_t kMaxTagCount = 65536;
// The table is read this many entries at a time (3 KB), not one entry per read.
constexpr std::uint32_t kTagBlockEntries = 256;

constexpr std::uint32_t kMlutSignature = 0x6D4C5554;  // 'mLUT'
constexpr std::uint32_t kVcgtSignature = 0x76636774;  // 'vcgt'

// An mLUT tag is bare data: 256 red, 256 green, 256 blue u16 values, no type header.
constexpr std::size_t kMlutEntries = 256;

// vcgt tag: type signature, 4 reserved bytes, gamma type, then the type's data.
constexpr std::uint32_t kVcgtTypeTable = 0;
constexpr std::uint32_t kVcgtTypeFormula = 1;
constexpr std::uint64_t kVcgtGammaTypeOffset = 8;
constexpr std::uint64_t kVcgtDataOffset = 12;
constexpr std::uint64_t kVcgtTableEntriesOffset = 18;
// A vcgt tag of exactly 1584 bytes comes from a writer that fills the table header
// wrongly; its data is always 3 channels of 256 two-byte entries.
constexpr std::uint32_t kMisdescribedVcgtSize = 1584;

// The formula's exponent scale, kept as the decimal constant profiles were made with.
constexpr double kFormulaExponentScale = 2.222222;

constexpr std::size_t kChannels = 3;

std::uint16_t U16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

std::uint32_t U32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

bool ReadU32(ByteSource& source, std::uint64_t pos, std::uint32_t& value)
{
    std::uint8_t bytes[4];
    if (!source.ReadAt(pos, bytes, sizeof(bytes)))
        return false;
    value = U32(bytes);
    return true;
}

// Brings n source entries to m: output entry k is source entry k * n / m. Where one
// count divides the other this is every (n / m)-th entry when shrinking and each entry
// repeated m / n times when growing; otherwise the picks still spread over the whole
// source, so a 1000-entry curve keeps its top end instead of stopping at entry 765.
void Resample(const std::uint16_t* source, std::size_t n, std::uint16_t* target, std::uint32_t m)
{
    for (std::uint64_t k = 0; k < m; ++k)
        target[k] = source[k * n / m];
}

std::array<CurveArray*, kChannels> Channels(ProfileCurveSet& set)
{
    return {&set.red, &set.green, &set.blue};
}

// Source curves stored one after the other, n entries each, red first.
void HandOverResampled(const std::vector<std::uint16_t>& source, std::size_t n, std::uint32_t count,
                       ProfileCurveSet& curves)
{
    ProfileCurveSet result;
    const auto channels = Channels(result);
    for (std::size_t c = 0; c < kChannels; ++c) {
        *channels[c] = std::make_unique<std::uint16_t[]>(count);
        Resample(source.data() + c * n, n, channels[c]->get(), count);
    }
    curves = std::move(result);
}

bool ReadMlut(ByteSource& source, std::uint32_t offset, std::uint32_t count, ProfileCurveSet& curves)
{
    LogMessage("mLUT tag found in profile (Tintwright)");
    std::array<std::uint8_t, kChannels * kMlutEntries * 2> bytes;
    if (!source.ReadAt(offset, bytes.data(), bytes.size()))
        return false;
    std::vector<std::uint16_t> entries(kChannels * kMlutEntries);
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i] = U16(&bytes[2 * i]);
    HandOverResampled(entries, kMlutEntries, count, curves);
    return true;
}

bool ReadVcgtTable(ByteSource& source, std::uint32_t offset, std::uint32_t tagSize, std::uint32_t count,
                   ProfileCurveSet& curves)
{
    std::uint8_t header[6];
    if (!source.ReadAt(std::uint64_t{offset} + kVcgtDataOffset, header, sizeof(header)))
        return false;
    unsigned channels = U16(header);
    unsigned entries = U16(header + 2);
    unsigned entrySize = U16(header + 4);
    if (tagSize == kMisdescribedVcgtSize) {
        channels = 3;
        entries = 256;
        entrySize = 2;
    }
    LogMessage("channels: %d, entry size: %dbits, entries/channel: %d, tag size: %d", static_cast<int>(channels),
               static_cast<int>(entrySize * 8), static_cast<int>(entries), static_cast<int>(tagSize));
    if (channels != kChannels || entries == 0 || (entrySize != 1 && entrySize != 2))
        return false;

    std::vector<std::uint8_t> bytes(kChannels * entries * entrySize);
    if (!source.ReadAt(std::uint64_t{offset} + kVcgtTableEntriesOffset, bytes.data(), bytes.size()))
        return false;
    std::vector<std::uint16_t> values(kChannels * entries);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = entrySize == 1 ? static_cast<std::uint16_t>(bytes[i] << 8) : U16(&bytes[2 * i]);
    HandOverResampled(values, entries, count, curves);
    return true;
}

struct GammaFormula {
    float gamma;
    float min;
    float max;
};

// Unsigned 16.16 fixed point: the top bit is not a sign.
float FromFixed(std::uint32_t value)
{
    return static_cast<float>(value / 65536.0);
}

// False when an entry is not a number (a maximum below the minimum, say).
bool ComputeFormulaCurve(const GammaFormula& formula, std::uint32_t count, std::uint16_t* target)
{
    const double exponent = formula.gamma * kFormulaExponentScale;
    const double span = static_cast<double>(formula.max) - formula.min;
    for (std::uint32_t k = 0; k < count; ++k) {
        const double base = k * span / count;
        const double value = (std::pow(base, exponent) + formula.min) * 65536.0;
        if (std::isnan(value))
            return false;
        if (value > 65535.0)
            target[k] = 65535;
        else if (value < 0.0)
            target[k] = 0;
        else
            target[k] = static_cast<std::uint16_t>(value);
    }
    return true;
}

bool ReadVcgtFormula(ByteSource& source, std::uint32_t offset, std::uint32_t count, ProfileCurveSet& curves)
{
    std::uint8_t bytes[kChannels * 3 * 4];
    if (!source.ReadAt(std::uint64_t{offset} + kVcgtDataOffset, bytes, sizeof(bytes)))
        return false;
    GammaFormula f[kChannels];
    for (std::size_t c = 0; c < kChannels; ++c)
        f[c] = {FromFixed(U32(bytes + 12 * c)), FromFixed(U32(bytes + 12 * c + 4)), FromFixed(U32(bytes + 12 * c + 8))};
    const GammaFormula& r = f[0];
    const GammaFormula& g = f[1];
    const GammaFormula& b = f[2];

    // Out-of-range values are only reported; the curves are computed from them as they are.
    if (r.gamma > 5.0 || g.gamma > 5.0 || b.gamma > 5.0)
        LogError("Gamma values out of range (> 5.0): R: %f G: %f B: %f", double{r.gamma}, double{g.gamma},
                 double{b.gamma});
    if (r.min >= 1.0 || g.min >= 1.0 || b.min >= 1.0)
        LogError("Gamma lower limit out of range (>= 1.0): RMin: %f GMin: %f BMin: %f", double{r.min}, double{g.min},
                 double{b.min});
    if (r.max > 1.0 || g.max > 1.0 || b.max > 1.0)
        LogError("Gamma upper limit out of range (> 1.0): RMax: %f GMax: %f BMax: %f", double{r.max}, double{g.max},
                 double{b.max});
    LogMessage("Red: Gamma %f Min %f Max %f", double{r.gamma}, double{r.min}, double{r.max});
    LogMessage("Green: Gamma %f Min %f Max %f", double{g.gamma}, double{g.min}, double{g.max});
    LogMessage("Blue: Gamma %f Min %f Max %f", double{b.gamma}, double{b.min}, double{b.max});

    ProfileCurveSet result;
    const auto channels = Channels(result);
    for (std::size_t c = 0; c < kChannels; ++c) {
        *channels[c] = std::make_unique<std::uint16_t[]>(count);
        if (!ComputeFormulaCurve(f[c], count, channels[c]->get()))
            return false;
    }
    curves = std::move(result);
    return true;
}

bool ReadVcgt(ByteSource& source, std::uint32_t offset, std::uint32_t tagSize, std::uint32_t count,
              ProfileCurveSet& curves)
{
    LogMessage("VCGT tag found in profile");
    std::uint32_t typeSignature = 0;
    if (!ReadU32(source, offset, typeSignature))
        return false;
    // Some writers put something else here; the data after it is still worth reading.
    if (typeSignature != kVcgtSignature)
        LogError("Invalid content of table VCGT, starting with %x", typeSignature);
    std::uint32_t gammaType = 0;
    if (!ReadU32(source, std::uint64_t{offset} + kVcgtGammaTypeOffset, gammaType))
        return false;
    switch (gammaType) {
    case kVcgtTypeTable:
        return ReadVcgtTable(source, offset, tagSize, count, curves);
    case kVcgtTypeFormula:
        return ReadVcgtFormula(source, offset, count, curves);
    default:
        return false;
    }
}

} // namespace

bool ParseProfileCurves(ByteSource& source, const char* name, std::uint32_t count, ProfileCurveSet& curves)
{
    if (count == 0)
        return false;
    std::uint32_t tagCount = 0;
    if (!ReadU32(source, kTagCountOffset, tagCount))
        return false;
    // Refused before the table is read: a count past the bound, or a table that would
    // run past the end of the file (even when a calibration tag comes before its end).
    const std::uint64_t tableSize = std::uint64_t{tagCount} * kTagEntrySize;
    if (tagCount > kMaxTagCount || tableSize > source.Size() - kTagTableOffset)
        return false;
    std::array<std::uint8_t, kTagBlockEntries * kTagEntrySize> block;
    for (std::uint32_t first = 0; first < tagCount; first += kTagBlockEntries) {
        const std::uint32_t n = std::min(kTagBlockEntries, tagCount - first);
        if (!source.ReadAt(kTagTableOffset + std::uint64_t{first} * kTagEntrySize, block.data(), n * kTagEntrySize))
            return false;
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::uint8_t* entry = block.data() + i * kTagEntrySize;
            const std::uint32_t signature = U32(entry);
            const std::uint32_t offset = U32(entry + 4);
            const std::uint32_t size = U32(entry + 8);
            // Only the first calibration tag counts; any later one is never looked at.
            if (signature == kMlutSignature)
                return ReadMlut(source, offset, count, curves);
            if (signature == kVcgtSignature)
                return ReadVcgt(source, offset, size, count, curves);
        }
    }
    LogError("No VCGT or mLUT tag foung in profile %s", name);
    return false;
}

bool ReadProfileCurves(const char* path, CurveArray& red, CurveArray& green, CurveArray& blue,
                       const std::uint32_t* count)
{
    if (!path || !count || *count == 0)
        return false;
    FileByteSource source;
    if (!source.Open(path))
        return false;
    ProfileCurveSet curves;
    if (!ParseProfileCurves(source, path, *count, curves))
        return false;
    red = std::move(curves.red);
    green = std::move(curves.green);
    blue = std::move(curves.blue);
    return true;
}
