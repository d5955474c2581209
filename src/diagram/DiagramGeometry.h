#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "lut/GammaRamp.h"

// Everything the ramp diagram draws, in client coordinates, so that the painter only
// hands these primitives to the drawing API. A line from A to B covers the pixels from
// A up to but not including B; a polyline is a chain of such lines.

struct DiagramPoint {
    int x = 0, y = 0;
    bool operator==(const DiagramPoint&) const = default;
};

// right and bottom are exclusive.
struct DiagramRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const DiagramRect&) const = default;
};

enum class DiagramPen { Background, Frame, MajorGrid, MinorGrid, Red, Green, Blue };

struct DiagramPenStyle {
    bool dotted = false;
    int width = 1;
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const DiagramPenStyle&) const = default;
};

DiagramPenStyle PenStyleOf(DiagramPen pen);

struct DiagramSegment {
    DiagramPoint from, to;
    DiagramPen pen = DiagramPen::Frame;
    bool operator==(const DiagramSegment&) const = default;
};

// One row of the grey bar, drawn with a solid pen of red = green = blue = level.
struct ShadeRow {
    DiagramPoint from, to;
    int level = 0;  // 0..255
    bool operator==(const ShadeRow&) const = default;
};

inline constexpr int kShadeBarWidth = 45;
inline constexpr std::size_t kGridSegmentCount = 18;
inline constexpr std::size_t kCurvePointCount = 129;
// The pen of each of DiagramGeometry::curves.
inline constexpr std::array<DiagramPen, GammaRamp::kChannelCount> kCurvePens = {
    DiagramPen::Red, DiagramPen::Green, DiagramPen::Blue};

struct DiagramGeometry {
    DiagramRect plot;      // (0, 0, W, H), left of the shade bar; fill with the Background pen's colour
    DiagramRect shadeBar;  // the rightmost kShadeBarWidth columns of the client
    std::array<DiagramSegment, kGridSegmentCount> grid;  // in drawing order, frame included
    std::array<std::array<DiagramPoint, kCurvePointCount>, GammaRamp::kChannelCount> curves;  // polylines
    std::vector<ShadeRow> shadeRows;  // one per client row, top (white) to bottom (black)
};

// Negative sizes count as 0. A client no wider than the shade bar leaves the plot
// empty or negative; the result is then harmless but meaningless.
DiagramGeometry ComputeDiagramGeometry(int clientWidth, int clientHeight, const GammaRamp& ramp);
