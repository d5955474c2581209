// Reads a LUT source (a LUT file, a calibration file or a profile) and saves its ramp
// under another name, whose ending picks the format as the program's save does. The
// peer comparison uses it to hand other loaders calibration files that Rampwise wrote.

#include <cstdarg>
#include <cstdio>

#include "base/File.h"
#include "base/Log.h"
#include "lut/LutFile.h"

void LogMessage(const char*, ...) {}

void LogError(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: lut_convert SOURCE TARGET\n", stderr);
        return 2;
    }
    try {
        GammaRamp ramp;
        if (!LoadLutSource(ramp, argv[1])) {
            std::fprintf(stderr, "lut_convert: %s could not be loaded\n", argv[1]);
            return 1;
        }
        if (!SaveLutFile(ramp, argv[2])) {
            std::fprintf(stderr, "lut_convert: %s could not be saved\n", argv[2]);
            return 1;
        }
    } catch (const CFileException& error) {
        std::fprintf(stderr, "lut_convert: %s: error %d\n", error.FileName().c_str(), error.ErrorCode());
        return 1;
    }
    return 0;
}
