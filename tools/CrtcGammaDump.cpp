// Prints the gamma table of the CRTC that drives a RandR output of the X server that
// DISPLAY names: one line per channel (red, green, blue), entries separated by blanks.
// Used by the peer comparison to see what a loader left in the table.

#include <cstdio>

#include "support/CrtcGammaProbe.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: crtc_gamma_dump OUTPUT-NAME\n", stderr);
        return 2;
    }
    const std::optional<CrtcGammaTable> table = ReadCrtcGamma(argv[1]);
    if (!table) {
        std::fprintf(stderr, "crtc_gamma_dump: output %s drives no CRTC or the X server is not reachable\n", argv[1]);
        return 1;
    }
    for (const auto* channel : {&table->red, &table->green, &table->blue}) {
        for (std::size_t i = 0; i < channel->size(); ++i)
            std::printf(i ? " %u" : "%u", static_cast<unsigned>((*channel)[i]));
        std::printf("\n");
    }
    return 0;
}
