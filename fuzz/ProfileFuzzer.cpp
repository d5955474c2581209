// Feeds arbitrary bytes to the profile parser, the same code ReadProfileCurves runs
// on a file, here reading from memory.

#include <cstddef>
#include <cstdint>

#include "base/Log.h"
#include "lut/ByteSource.h"
#include "lut/ProfileCurves.h"

// The log lines are of no interest here, and recording them would grow without end.
void LogMessage(const char*, ...) {}
void LogError(const char*, ...) {}

namespace {

void Parse(const std::uint8_t* data, std::size_t size, std::uint32_t count)
{
    MemoryByteSource source(data, size);
    ProfileCurveSet curves;
    if (!ParseProfileCurves(source, "fuzz.icc", count, curves))
        return;
    if (!curves.red || !curves.green || !curves.blue)
        __builtin_trap();
    // Touch both ends of every curve so that a short allocation shows.
    for (const CurveArray* curve : {&curves.red, &curves.green, &curves.blue}) {
        volatile std::uint16_t ends = static_cast<std::uint16_t>((*curve)[0] ^ (*curve)[count - 1]);
        (void)ends;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Parse(data, size, 256);
    // The parser skips the header, so its first two bytes can pick a second count
    // (1 to 2048) that drives the resampling both ways.
    if (size >= 2)
        Parse(data, size, 1 + ((std::uint32_t{data[0]} << 8 | data[1]) % 2048));
    return 0;
}
