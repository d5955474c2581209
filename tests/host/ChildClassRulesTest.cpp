#include <gtest/gtest.h>

#include <string_view>
#include <tuple>

#include "resize/ChildClassRules.h"

constexpr LayoutRect kOld{10, 10, 110, 60}, kWider{10, 10, 130, 60}, kTaller{10, 10, 110, 80};

TEST(ChildClassRules, ClassAndStyleDecideClippingAndRepaint)
{
    // May the child be left out of the erase (an owner-drawn button not when it lets
    // the hit test through), must it be repainted whole when it grows wider, taller.
    const std::tuple<std::string_view, std::uint32_t, bool, bool, bool, bool> cases[] = {
        {"Static", 0x0, false, true, true, false},                      // text reflows with the width,
        {"Static", 0x2 | kStyleCenterImage, false, true, true, true},   // centred also with the height
        {"Static", 0x3, false, true, true, true},                       // icon
        {"Static", 0x3 | kStyleCenterImage, false, false, true, true},  // a centred one leaves a gap
        {"Static", 0x8, false, false, true, true},                      // frame
        {"Static", 0xC, false, true, false, false},                     // unwrapped text,
        {"Static", 0xC | 0x4000, false, true, true, false},             // cut with an ellipsis
        {"Static", 0xD, false, false, false, false},                    // owner-drawn: repaints itself
        {"Button", 0x7, false, false, false, false},  // group box
        {"Button", 0xB, true, false, false, false},   // owner-drawn
        {"Button", 0xB, false, true, false, false},
        {"ToolbarWindow32", kStyleToolbarTransparent | 0x100, false, false, false, false},
        {"STATIC", 0xD, false, true, false, false},  // class names match whole and case-sensitively
    };
    for (const auto& [className, style, hitTransparent, clip, wider, taller] : cases) {
        SCOPED_TRACE(testing::Message() << className << ' ' << std::hex << style);
        const bool transparent = hitTransparent && ClippingAsksHitTest(className, style);
        EXPECT_EQ(ChildAllowsClipping(className, style, transparent), clip);
        EXPECT_EQ(ChildNeedsRepaint(className, style, kOld, kWider), wider);
        EXPECT_EQ(ChildNeedsRepaint(className, style, kOld, kTaller), taller);
        EXPECT_FALSE(ChildNeedsRepaint(className, style, kOld, {20, 30, 120, 80})) << "moved, same size";
    }
}

TEST(ChildClassRules, ListBoxScrolledPastItsRangeIsRepainted)
{
    // {new rectangle, scroll state {max, page, pos}, repainted}; the state is read only
    // when the rules ask for it.
    const std::tuple<LayoutRect, std::optional<ListBoxScroll>, bool> cases[] = {
        {kWider, ListBoxScroll{199, 100, 81}, true},  // the last position is 100: 81 + 20 > 100
        {kWider, ListBoxScroll{199, 100, 80}, false},
        {kTaller, ListBoxScroll{199, 100, 101}, false},
        {kWider, ListBoxScroll{99, 100, 50}, false},              // all visible: 99 - 100 + 1 = 0
        {kWider, ListBoxScroll{0, 0xFFFFFFFFu, 0}, true},         // the page wraps: 0 - (2^32 - 1) + 1 = 2
        {kWider, ListBoxScroll{INT32_MAX, 0, INT32_MAX}, false},  // m wraps negative
    };
    for (const auto& [next, scroll, repaint] : cases) {
        const auto read = RepaintReadsScroll("ListBox", kOld, next) ? scroll : std::nullopt;
        EXPECT_EQ(ChildNeedsRepaint("ListBox", 0, kOld, next, read), repaint) << next.right << ',' << next.bottom;
    }
}
