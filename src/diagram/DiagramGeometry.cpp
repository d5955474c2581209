#include "diagram/DiagramGeometry.h"

#include <algorithm>

namespace {

constexpr int kGridDivisions = 8;
constexpr int kLastLevel = 255;
constexpr int kFullScale = 65535;

// a * b / c truncated toward zero. The product is formed in 64 bits because
// (H - 2) * 65535 passes 2^31 for clients taller than 32770 pixels; truncation is the
// same in either width, so the result equals the 32-bit one wherever that does not
// overflow. Every caller has |b| <= c, so the quotient fits in an int.
int Scale(int a, int b, int c)
{
    return static_cast<int>(static_cast<std::int64_t>(a) * b / c);
}

} // namespace

DiagramPenStyle PenStyleOf(DiagramPen pen)
{
    switch (pen) {
    case DiagramPen::Background: return {false, 1, 255, 255, 255};
    case DiagramPen::Frame: return {false, 1, 0, 0, 0};
    case DiagramPen::MajorGrid: return {false, 1, 192, 192, 192};
    case DiagramPen::MinorGrid: return {true, 1, 192, 192, 192};
    case DiagramPen::Red: return {false, 1, 255, 0, 0};
    case DiagramPen::Green: return {false, 1, 0, 255, 0};
    case DiagramPen::Blue: return {false, 1, 0, 0, 255};
    }
    return {false, 1, 0, 0, 0};
}

DiagramGeometry ComputeDiagramGeometry(int clientWidth, int clientHeight, const GammaRamp& ramp)
{
    const int cw = std::max(clientWidth, 0);
    const int ch = std::max(clientHeight, 0);
    const int w = cw - kShadeBarWidth;
    const int h = ch;

    DiagramGeometry geometry;
    geometry.plot = {0, 0, w, h};
    geometry.shadeBar = {w, 0, cw, ch};

    // The outermost lines are the frame and run the full length; the inner ones stop
    // a pixel short of it at both ends.
    for (int i = 0; i <= kGridDivisions; ++i) {
        const bool frame = i == 0 || i == kGridDivisions;
        const int e = frame ? 0 : 1;
        const DiagramPen pen = frame ? DiagramPen::Frame : i % 2 != 0 ? DiagramPen::MinorGrid : DiagramPen::MajorGrid;
        const int x = Scale(w - 1, i, kGridDivisions);
        const int y = Scale(h - 1, i, kGridDivisions);
        geometry.grid[2 * i] = {{x, e}, {x, h - e}, pen};
        geometry.grid[2 * i + 1] = {{e, y}, {w - e, y}, pen};
    }

    // Entry 0 is plotted at x = 1, then every odd entry: 129 points per channel.
    const int span = h - 2;
    for (std::size_t channel = 0; channel < GammaRamp::kChannelCount; ++channel) {
        const auto entries = ramp.Channel(channel);
        auto& curve = geometry.curves[channel];
        curve[0] = {1, span - Scale(span, entries[0], kFullScale)};
        for (std::size_t j = 1; j < kCurvePointCount; ++j) {
            const int k = static_cast<int>(2 * j - 1);
            curve[j] = {Scale(w - 1, k, kLastLevel), span - Scale(span, entries[k], kFullScale)};
        }
    }

    // A single row would divide by zero: it is drawn white.
    geometry.shadeRows.reserve(static_cast<std::size_t>(ch));
    for (int y = 0; y < ch; ++y) {
        const int level = ch == 1 ? kLastLevel : Scale(ch - 1 - y, kLastLevel, ch - 1);
        geometry.shadeRows.push_back({{w, y}, {cw, y}, level});
    }
    return geometry;
}
