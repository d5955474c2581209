#include "diagram/DrawDiagram.h"

#include <array>
#include <stdexcept>

#include "framework/Handles.h"

namespace {

constexpr std::size_t kPenCount = static_cast<std::size_t>(DiagramPen::Blue) + 1;

Pen CreateDiagramPen(int style, int width, COLORREF colour)
{
    Pen pen(CreatePen(style, width, colour));
    if (!pen)
        throw std::runtime_error("Not enough resources to create a pen for the diagram.");
    return pen;
}

// The pens of one paint, indexed by DiagramPen.
std::array<Pen, kPenCount> CreateDiagramPens()
{
    std::array<Pen, kPenCount> pens;
    for (std::size_t i = 0; i < kPenCount; ++i) {
        DiagramPenStyle style = PenStyleOf(static_cast<DiagramPen>(i));
        pens[i] = CreateDiagramPen(style.dotted ? PS_DOT : PS_SOLID, style.width, RGB(style.r, style.g, style.b));
    }
    return pens;
}

void DrawLine(HDC hdc, DiagramPoint from, DiagramPoint to)
{
    MoveToEx(hdc, from.x, from.y, nullptr);
    LineTo(hdc, to.x, to.y);
}

} // namespace

void DrawDiagram(HDC hdc, const DiagramGeometry& geometry)
{
    const std::array<Pen, kPenCount> pens = CreateDiagramPens();
    auto use = [&](DiagramPen pen) { SelectObject(hdc, pens[static_cast<std::size_t>(pen)].Get()); };
    // Declared after the pens: the entry pen is back before they are deleted.
    const SelectGuard restoreEntryPen(hdc, pens[static_cast<std::size_t>(DiagramPen::Background)].Get());

    const DiagramRect& plot = geometry.plot;
    Rectangle(hdc, plot.left, plot.top, plot.right, plot.bottom);

    for (const DiagramSegment& segment : geometry.grid) {
        use(segment.pen);
        DrawLine(hdc, segment.from, segment.to);
    }

    for (std::size_t channel = 0; channel < geometry.curves.size(); ++channel) {
        use(kCurvePens[channel]);
        const auto& points = geometry.curves[channel];
        static_assert(sizeof(DiagramPoint) == sizeof(POINT));
        std::array<POINT, kCurvePointCount> polyline;
        for (std::size_t i = 0; i < points.size(); ++i)
            polyline[i] = POINT{points[i].x, points[i].y};
        Polyline(hdc, polyline.data(), static_cast<int>(polyline.size()));
    }

    for (const ShadeRow& row : geometry.shadeRows) {
        const auto level = static_cast<BYTE>(row.level);
        const Pen pen = CreateDiagramPen(PS_SOLID, 1, RGB(level, level, level));
        const SelectGuard select(hdc, pen.Get());
        DrawLine(hdc, row.from, row.to);
    }
}
