// Renders the diagram of a LUT file or profile through the real diagram control into
// a BMP file: diagram_snapshot SOURCE OUT.bmp [WIDTH HEIGHT]. What the profile reader
// reports goes to the standard error stream.

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/Log.h"
#include "lut/LutFile.h"
#include "support/DiagramHarness.h"

namespace {

void PrintLine(const char* format, std::va_list args)
{
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
}

// Writes the last paint as a 24-bit BMP file.
bool SaveBitmap(const DiagramHarness& diagram, const std::string& path)
{
    const int width = diagram.Width(), height = diagram.Height();
    const int rowBytes = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes) * height;

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!out)
        return false;
    std::fwrite(&file, sizeof(file), 1, out.get());
    std::fwrite(&header, sizeof(header), 1, out.get());
    std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes), 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = diagram.Pixel(x, y);
            row[3 * x] = static_cast<std::uint8_t>(pixel);
            row[3 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(pixel >> 16);
        }
        std::fwrite(row.data(), 1, row.size(), out.get());
    }
    return std::fclose(out.release()) == 0;
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
    if (!SaveBitmap(diagram, argv[2])) {
        std::fprintf(stderr, "%s: cannot write it\n", argv[2]);
        return 1;
    }
    return 0;
}
