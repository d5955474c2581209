#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The gamma table of the CRTC that drives a named RandR output (such as "DUMMY0"),
// read straight through Xlib on its own connection, independently of the
// program's display back end. Tests and the peer comparison use it to see what
// another process left in the video card's table.
struct CrtcGammaTable {
    std::vector<std::uint16_t> red, green, blue;

    bool operator==(const CrtcGammaTable&) const = default;
};

// None when the X server cannot be reached or the output drives no CRTC.
std::optional<CrtcGammaTable> ReadCrtcGamma(const std::string& outputName);
