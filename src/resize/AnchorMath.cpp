#include "resize/AnchorMath.h"

namespace {

// Products, sums and differences wrap like the 32-bit machine arithmetic the layout
// is defined in, instead of being undefined on overflow; no realistic window size
// comes near the limits.
std::int32_t Wrap(std::uint32_t value)
{
    return static_cast<std::int32_t>(value);
}

std::int32_t Add(std::int32_t a, std::int32_t b)
{
    return Wrap(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t Sub(std::int32_t a, std::int32_t b)
{
    return Wrap(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// (extent * percent) / 100, truncated toward zero.
std::int32_t Scale(std::int32_t extent, std::int32_t percent)
{
    return Wrap(static_cast<std::uint32_t>(extent) * static_cast<std::uint32_t>(percent)) / 100;
}

} // namespace

std::int32_t LayoutRect::Width() const
{
    return Sub(right, left);
}

std::int32_t LayoutRect::Height() const
{
    return Sub(bottom, top);
}

ChildAnchors ComputeChildAnchors(const LayoutRect& area, const LayoutRect& child, AnchorPoint topLeft,
                                 AnchorPoint bottomRight)
{
    const std::int32_t w = area.Width();
    const std::int32_t h = area.Height();
    const LayoutRect r{Sub(child.left, area.left), Sub(child.top, area.top), Sub(child.right, area.left),
                       Sub(child.bottom, area.top)};
    if (bottomRight == ANCHOR_NONE)
        bottomRight = topLeft;

    ChildAnchors anchors;
    anchors.anchorTopLeft = topLeft;
    anchors.offsetTopLeft = {Sub(r.left, Scale(w, topLeft.x)), Sub(r.top, Scale(h, topLeft.y))};
    anchors.anchorBottomRight = bottomRight;
    anchors.offsetBottomRight = {Sub(r.right, Scale(w, bottomRight.x)), Sub(r.bottom, Scale(h, bottomRight.y))};
    return anchors;
}

LayoutRect ComputeChildRect(const ChildAnchors& anchors, const LayoutRect& area)
{
    const std::int32_t w = area.Width();
    const std::int32_t h = area.Height();
    const LayoutRect r{
        Add(Scale(w, anchors.anchorTopLeft.x), anchors.offsetTopLeft.cx),
        Add(Scale(h, anchors.anchorTopLeft.y), anchors.offsetTopLeft.cy),
        Add(Scale(w, anchors.anchorBottomRight.x), anchors.offsetBottomRight.cx),
        Add(Scale(h, anchors.anchorBottomRight.y), anchors.offsetBottomRight.cy),
    };
    return {Add(r.left, area.left), Add(r.top, area.top), Add(r.right, area.left), Add(r.bottom, area.top)};
}

std::int32_t ScaleForDpi(std::int32_t value, std::int32_t to, std::int32_t from)
{
    if (from <= 0)
        return value;
    const std::int64_t product = std::int64_t{value} * to;
    const std::int64_t half = product < 0 ? -(from / 2) : from / 2;
    return static_cast<std::int32_t>((product + half) / from);
}

LayoutRect ScaleForDpi(const LayoutRect& rect, std::int32_t to, std::int32_t from)
{
    return {ScaleForDpi(rect.left, to, from), ScaleForDpi(rect.top, to, from), ScaleForDpi(rect.right, to, from),
            ScaleForDpi(rect.bottom, to, from)};
}

std::uint32_t ChildPositionFlags(const LayoutRect& oldRect, const LayoutRect& newRect, bool repaint)
{
    std::uint32_t flags = kPosNoZOrder | kPosNoActivate | kPosNoOwnerZOrder;
    if (repaint)
        flags |= kPosNoCopyBits;
    if (newRect.left == oldRect.left && newRect.top == oldRect.top)
        flags |= kPosNoMove;
    if (newRect.Width() == oldRect.Width() && newRect.Height() == oldRect.Height())
        flags |= kPosNoSize;
    return flags;
}

bool IsPositionSkipped(std::uint32_t flags)
{
    return (flags & (kPosNoMove | kPosNoSize)) == (kPosNoMove | kPosNoSize);
}
