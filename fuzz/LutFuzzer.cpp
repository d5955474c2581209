// Loads arbitrary bytes from real files through LoadLutSource, named as a LUT file, as
// a profile and as a calibration file. A refused file must leave the ramp exactly as
// it was; a LUT file loads exactly when it holds 1536 bytes or more, and then holds
// the ramp of its first 1536. Whatever loaded is saved as a LUT file and as a
// calibration file and loaded again: the ramp must come back unchanged, and the saved
// LUT file must be exactly the ramp's 1536 bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "base/Log.h"
#include "lut/GammaRamp.h"
#include "lut/LutFile.h"

void LogMessage(const char*, ...) {}
void LogError(const char*, ...) {}

namespace {

// A ramp that no loaded file is likely to match by chance, different for each input.
GammaRamp Marker(std::size_t seed)
{
    GammaRamp ramp;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ramp.entries[i] = static_cast<std::uint16_t>(i * 40503u + seed * 2654435761u + 1);
    return ramp;
}

std::vector<std::uint8_t> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The ramp as a LUT file stores it: little-endian entries.
std::vector<std::uint8_t> LittleEndian(const GammaRamp& ramp)
{
    std::vector<std::uint8_t> bytes;
    for (const std::uint16_t entry : ramp.entries)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(entry), static_cast<std::uint8_t>(entry >> 8)});
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzFolder folder;
    const GammaRamp before = Marker(size);
    for (const char* name : {"fuzz.lut", "fuzz.icc", "fuzz.cal"}) {
        const bool isLut = IsLutFileName(name);
        GammaRamp ramp = before;
        const bool loaded = LoadLutSource(ramp, folder.Write(name, data, size));
        if (!loaded) {
            if (ramp != before || (isLut && size >= sizeof(GammaRamp)))
                __builtin_trap();
            continue;
        }
        if (isLut && (size < sizeof(GammaRamp) || std::memcmp(LittleEndian(ramp).data(), data, sizeof(GammaRamp)) != 0))
            __builtin_trap();

        // A new file each time: replacing one by rename makes some file systems flush it.
        const std::string saved = folder.PathOf("saved.lut");
        std::remove(saved.c_str());
        GammaRamp again = before;
        if (!SaveLutFile(ramp, saved) || FileBytes(saved) != LittleEndian(ramp) || !LoadLutSource(again, saved) ||
            again != ramp)
            __builtin_trap();
        const std::string savedCal = folder.PathOf("saved.cal");
        std::remove(savedCal.c_str());
        again = before;
        if (!SaveLutFile(ramp, savedCal) || !LoadLutSource(again, savedCal) || again != ramp)
            __builtin_trap();
    }
    return 0;
}
