// Renders the diagram of a LUT file or profile through the real diagram control into
// a BMP file: diagram_snapshot SOURCE OUT.bmp [WIDTH HEIGHT]. What the profile reader
// reports goes to the standard error stream.

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "base/Log.h"
#include "lut/LutFile.h"
#include "support/DiagramHarness.h"

namespace {

void PrintLine(const char* format, std::va_list args)
{
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
}

} // namespace

void LogMessage(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    PrintLine(format, args);
    va_end(args);
}

void LogError(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    PrintLine(format, args);
    va_end(args);
}

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: diagram_snapshot SOURCE OUT.bmp [WIDTH HEIGHT]\n");
        return 2;
    }
    const int width = argc == 5 ? std::atoi(argv[3]) : 640;
    const int height = argc == 5 ? std::atoi(argv[4]) : 400;
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) {
        std::fprintf(stderr, "the size must be between 1 and 8192 pixels each way\n");
        return 2;
    }

    GammaRamp ramp;
    try {
        if (!LoadLutSource(ramp, argv[1])) {
            std::fprintf(stderr, "%s: no LUT could be loaded from it\n", argv[1]);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }

    DiagramHarness diagram(ramp, width, height);
    diagram.Paint();
    if (!diagram.SaveBitmap(argv[2])) {
        std::fprintf(stderr, "%s: cannot write it\n", argv[2]);
        return 1;
    }
    return 0;
}
