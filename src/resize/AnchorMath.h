#pragma once

#include <cstdint>

// The arithmetic of the anchored layout: where a registered child goes when the
// layout area changes, and which deferred-positioning flags that move needs. All of
// it is signed 32-bit arithmetic with division truncating toward zero.

// A point of the layout area in percent: x of its width, y of its height.
struct AnchorPoint {
    std::int32_t x = 0, y = 0;
    bool operator==(const AnchorPoint&) const = default;
};

// Only meaningful as a bottom-right anchor, where it stands for the top-left one.
inline constexpr AnchorPoint ANCHOR_NONE{-1, -1};
inline constexpr AnchorPoint ANCHOR_NW{0, 0};
inline constexpr AnchorPoint ANCHOR_N{50, 0};
inline constexpr AnchorPoint ANCHOR_NE{100, 0};
inline constexpr AnchorPoint ANCHOR_W{0, 50};
inline constexpr AnchorPoint ANCHOR_CENTER{50, 50};
inline constexpr AnchorPoint ANCHOR_E{100, 50};
inline constexpr AnchorPoint ANCHOR_SW{0, 100};
inline constexpr AnchorPoint ANCHOR_S{50, 100};
inline constexpr AnchorPoint ANCHOR_SE{100, 100};

// Same layout as the platform's RECT; right and bottom are exclusive.
struct LayoutRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::int32_t Width() const;
    std::int32_t Height() const;
    bool operator==(const LayoutRect&) const = default;
};

struct LayoutSize {
    std::int32_t cx = 0, cy = 0;
    bool operator==(const LayoutSize&) const = default;
};

// What registration keeps of a child: its anchors and its corners' offsets from them.
struct ChildAnchors {
    AnchorPoint anchorTopLeft;
    LayoutSize offsetTopLeft;
    AnchorPoint anchorBottomRight;  // never ANCHOR_NONE: that is resolved at registration
    LayoutSize offsetBottomRight;
    bool operator==(const ChildAnchors&) const = default;
};

// child is in the host's client coordinates, like area.
ChildAnchors ComputeChildAnchors(const LayoutRect& area, const LayoutRect& child, AnchorPoint topLeft,
                                 AnchorPoint bottomRight);

// The child's rectangle for this layout area, in the host's client coordinates.
LayoutRect ComputeChildRect(const ChildAnchors& anchors, const LayoutRect& area);

// A length at a new DPI: value * to / from, rounded half away from zero. A zero or
// negative from leaves the value as it is.
std::int32_t ScaleForDpi(std::int32_t value, std::int32_t to, std::int32_t from);
// Every edge scaled, so distances from the origin scale too.
LayoutRect ScaleForDpi(const LayoutRect& rect, std::int32_t to, std::int32_t from);

// Deferred-positioning flags, with the values of the platform's SWP_* constants.
inline constexpr std::uint32_t kPosNoSize = 0x0001;          // SWP_NOSIZE
inline constexpr std::uint32_t kPosNoMove = 0x0002;          // SWP_NOMOVE
inline constexpr std::uint32_t kPosNoZOrder = 0x0004;        // SWP_NOZORDER
inline constexpr std::uint32_t kPosNoActivate = 0x0010;      // SWP_NOACTIVATE
inline constexpr std::uint32_t kPosNoCopyBits = 0x0100;      // SWP_NOCOPYBITS
inline constexpr std::uint32_t kPosNoOwnerZOrder = 0x0200;   // SWP_NOOWNERZORDER

// repaint: the child must be repainted whole (ChildNeedsRepaint or its cached answer).
std::uint32_t ChildPositionFlags(const LayoutRect& oldRect, const LayoutRect& newRect, bool repaint);

// A child that neither moves nor resizes is left out of the batch.
bool IsPositionSkipped(std::uint32_t flags);
