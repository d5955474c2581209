#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "resize/AnchorMath.h"

// How the anchored layout treats a child by its window class and style: may its area
// be left out of the background erase, and must it be repainted whole after a move.
// Also the records of the query message that children may answer instead.

inline constexpr char kResizeSupportMessageName[] = "WMU_RESIZESUPPORT";

// Operation codes, the first parameter of the query message.
inline constexpr std::uint32_t RS_QUERY_TRAITS = 101;   // record: ChildTraits
inline constexpr std::uint32_t RS_QUERY_CLIP = 102;     // record: one 32-bit boolean, preset false
inline constexpr std::uint32_t RS_QUERY_REPAINT = 103;  // record: RepaintQuery, answer preset true

// The booleans are 32 bits wide because the child writes this record.
struct ChildTraits {
    std::int32_t askClipping = 1;     // ask ChildAllowsClipping at every erase
    std::int32_t askRepaint = 1;      // ask ChildNeedsRepaint at every layout pass
    std::int32_t cachedClipping = 0;  // used when askClipping is false
    std::int32_t cachedRepaint = 0;   // used when askRepaint is false
};
static_assert(sizeof(ChildTraits) == 16);
static_assert(offsetof(ChildTraits, askClipping) == 0 && offsetof(ChildTraits, askRepaint) == 4 &&
              offsetof(ChildTraits, cachedClipping) == 8 && offsetof(ChildTraits, cachedRepaint) == 12);

// Rectangles in the host's client coordinates.
struct RepaintQuery {
    std::int32_t answer = 1;
    LayoutRect oldRect;
    LayoutRect newRect;
};
static_assert(sizeof(LayoutRect) == 16);
static_assert(sizeof(RepaintQuery) == 36);
static_assert(offsetof(RepaintQuery, answer) == 0 && offsetof(RepaintQuery, oldRect) == 4 &&
              offsetof(RepaintQuery, newRect) == 20);

// Style bits the rules read, with the platform's values.
inline constexpr std::uint32_t kStyleButtonTypeMask = 0xF;    // BS_TYPEMASK
inline constexpr std::uint32_t kStyleGroupBox = 0x7;          // BS_GROUPBOX
inline constexpr std::uint32_t kStyleOwnerDrawButton = 0xB;   // BS_OWNERDRAW
inline constexpr std::uint32_t kStyleStaticTypeMask = 0x1F;   // SS_TYPEMASK
inline constexpr std::uint32_t kStyleCenterImage = 0x200;     // SS_CENTERIMAGE
inline constexpr std::uint32_t kStyleEllipsisMask = 0xC000;   // SS_ELLIPSISMASK
inline constexpr std::uint32_t kStyleToolbarTransparent = 0x8000;  // TBSTYLE_TRANSPARENT

// WM_NCHITTEST's answer for a window that lets the point through.
inline constexpr std::int32_t kHitTransparent = -1;  // HTTRANSPARENT

// True when ChildAllowsClipping depends on the child's hit-test answer (an owner-drawn
// button): send WM_NCHITTEST and pass whether it answered kHitTransparent.
bool ClippingAsksHitTest(std::string_view className, std::uint32_t style);
bool ChildAllowsClipping(std::string_view className, std::uint32_t style, bool transparentToHitTest = false);

// The horizontal scroll state of a list box (SCROLLINFO's nMax, nPage, nPos).
struct ListBoxScroll {
    std::int32_t max = 0;
    std::uint32_t page = 0;
    std::int32_t pos = 0;
};

// True when ChildNeedsRepaint reads the list box's scroll state for this move; pass
// it when the list box returns it, nothing when it doesn't.
bool RepaintReadsScroll(std::string_view className, const LayoutRect& oldRect, const LayoutRect& newRect);
bool ChildNeedsRepaint(std::string_view className, std::uint32_t style, const LayoutRect& oldRect,
                       const LayoutRect& newRect, const std::optional<ListBoxScroll>& scroll = std::nullopt);
