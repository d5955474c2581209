// Feeds arbitrary bytes to the profile parser twice: from memory, and written to a
// file and read through ReadProfileCurves, the way a user's profile is read. Both
// must come to the same answer, curve for curve, whatever the bytes are.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzFolder.h"
#include "base/Log.h"
#include "lut/ByteSource.h"
#include "lut/ProfileCurves.h"

// The log lines are of no interest here, and recording them would grow without end.
void LogMessage(const char*, ...) {}
void LogError(const char*, ...) {}

namespace {

void Parse(const std::uint8_t* data, std::size_t size, const std::string& path, std::uint32_t count)
{
    MemoryByteSource source(data, size);
    ProfileCurveSet curves;
    const bool parsed = ParseProfileCurves(source, "fuzz.icc", count, curves);
    if (parsed && (!curves.red || !curves.green || !curves.blue))
        __builtin_trap();

    CurveArray red, green, blue;
    if (ReadProfileCurves(path.c_str(), red, green, blue, &count) != parsed)
        __builtin_trap();
    if (!parsed)
        return;
    // Comparing whole curves also touches both ends of each, so a short allocation shows.
    const CurveArray* fromMemory[] = {&curves.red, &curves.green, &curves.blue};
    const CurveArray* fromFile[] = {&red, &green, &blue};
    for (std::size_t c = 0; c < 3; ++c)
        if (std::memcmp(fromMemory[c]->get(), fromFile[c]->get(), count * sizeof(std::uint16_t)) != 0)
            __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzFolder folder;
    const std::string path = folder.Write("fuzz.icc", data, size);
    Parse(data, size, path, 256);
    // The parser skips the header, so its first two bytes can pick a second count
    // (1 to 2048) that drives the resampling both ways.
    if (size >= 2)
        Parse(data, size, path, 1 + ((std::uint32_t{data[0]} << 8 | data[1]) % 2048));
    return 0;
}
