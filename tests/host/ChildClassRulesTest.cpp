#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "resize/ChildClassRules.h"

namespace {

constexpr LayoutRect kOld{10, 10, 110, 60};
constexpr LayoutRect kWider{10, 10, 130, 60};
constexpr LayoutRect kTaller{10, 10, 110, 80};
constexpr LayoutRect kMoved{20, 30, 120, 80};
constexpr std::uint32_t kEndEllipsis = 0x4000;  // SS_ENDELLIPSIS

} // namespace

TEST(ChildClassRules, StaticTypesDecideClippingAndRepaint)
{
    // Clipping: T allowed, F not, c allowed unless the image is centred. Repaint: N never,
    // A on any size change, T when the width changes (or the height, for a centred image),
    // E like T but the width only counts with an ellipsis.
    const std::string_view clip = "TTTcTTTFFFFTTFTcTTFFFFFFFFFFFFFF", repaint = "TTTANNNAAANNENAANNANNNNNNNNNNNNN";
    const std::uint32_t extras[] = {0u, kStyleCenterImage, kEndEllipsis, kStyleEllipsisMask | kStyleCenterImage};
    for (std::uint32_t type = 0; type < 32; ++type) {
        for (const std::uint32_t extra : extras) {
            SCOPED_TRACE(testing::Message() << "type " << type << " extra " << extra);
            const bool centered = extra & kStyleCenterImage, ellipsis = extra & kStyleEllipsisMask;
            const bool clips = clip[type] == 'T' || (clip[type] == 'c' && !centered);
            EXPECT_EQ(ChildAllowsClipping("Static", type | extra), clips) << "clipping";
            for (const LayoutRect next : {kOld, kMoved, kWider, kTaller}) {
                const bool dw = next.Width() != kOld.Width(), dh = next.Height() != kOld.Height();
                const char rule = repaint[type];
                const bool expected = rule == 'A'   ? dw || dh
                                      : rule == 'T' ? dw || (centered && dh)
                                      : rule == 'E' ? (ellipsis && dw) || (centered && dh)
                                                    : false;
                EXPECT_EQ(ChildNeedsRepaint("Static", type | extra, kOld, next), expected)
                    << "repaint to " << next.right << ',' << next.bottom;
            }
        }
    }
}

TEST(ChildClassRules, ButtonsAndToolbarsDecideClipping)
{
    for (std::uint32_t type = 0; type < 16; ++type) {
        const bool ownerDraw = type == kStyleOwnerDrawButton;
        EXPECT_EQ(ClippingAsksHitTest("Button", type), ownerDraw) << type;
        EXPECT_EQ(ChildAllowsClipping("Button", type, false), type != kStyleGroupBox) << type;
        EXPECT_EQ(ChildAllowsClipping("Button", type | 0x50010000u, true), type != kStyleGroupBox && !ownerDraw)
            << type;
    }
    EXPECT_FALSE(ChildAllowsClipping("ToolbarWindow32", kStyleToolbarTransparent | 0x100));
    EXPECT_TRUE(ChildAllowsClipping("ToolbarWindow32", 0x100));
}

TEST(ChildClassRules, ClassNamesMatchWholeAndCaseSensitively)
{
    // A frame to "Static", a group box to "Button", transparent to the toolbar: each denies clipping.
    constexpr std::uint32_t kDenied = kStyleToolbarTransparent | kStyleGroupBox;
    for (const std::string_view name : {"Static", "Button", "ToolbarWindow32"})
        EXPECT_FALSE(ChildAllowsClipping(name, kDenied)) << name;
    for (const std::string_view name : {"STATIC", "Static ", "Stati", "button", "Toolbarwindow32", "listbox", ""}) {
        EXPECT_TRUE(ChildAllowsClipping(name, kDenied)) << name;
        EXPECT_FALSE(ClippingAsksHitTest(name, kStyleOwnerDrawButton)) << name;
        EXPECT_FALSE(ChildNeedsRepaint(name, 0x7, kOld, kWider, ListBoxScroll{10, 1, 1000})) << name;
        EXPECT_FALSE(RepaintReadsScroll(name, kOld, kWider)) << name;
    }
    EXPECT_TRUE(ChildAllowsClipping(std::string("Static\0x", 8), kDenied));
}

TEST(ChildClassRules, ListBoxScrolledPastItsRangeIsRepainted)
{
    const struct {
        LayoutRect next;
        std::optional<ListBoxScroll> scroll;
        bool reads, repaint;
    } cases[] = {
        // max 199, page 100: the last position is 100.
        {kWider, ListBoxScroll{199, 100, 81}, true, true},   // 81 + 20 > 100
        {kWider, ListBoxScroll{199, 100, 80}, true, false},  // 80 + 20 = 100
        {kWider, std::nullopt, true, false},                 // no scroll information
        {kTaller, ListBoxScroll{199, 100, 99}, false, false},
        {{20, 10, 100, 60}, ListBoxScroll{199, 100, 99}, false, false},  // narrower
        {kWider, ListBoxScroll{99, 100, 50}, true, false},               // all visible: 99 - 100 + 1 = 0
        {kWider, ListBoxScroll{0, 0xFFFFFFFFu, 0}, true, true},          // the page wraps: 0 - (2^32 - 1) + 1 = 2
        {kWider, ListBoxScroll{INT32_MAX, 0, INT32_MAX}, true, false},   // m wraps negative
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(RepaintReadsScroll("ListBox", kOld, cases[i].next), cases[i].reads) << i;
        EXPECT_EQ(ChildNeedsRepaint("ListBox", 0, kOld, cases[i].next, cases[i].scroll), cases[i].repaint) << i;
    }
}
