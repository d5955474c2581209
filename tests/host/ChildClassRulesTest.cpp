#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "resize/ChildClassRules.h"

namespace {

constexpr LayoutRect kOld{10, 10, 110, 60};
constexpr LayoutRect kWider{10, 10, 130, 60};
constexpr LayoutRect kTaller{10, 10, 110, 80};
constexpr LayoutRect kBigger{0, 0, 120, 70};
constexpr LayoutRect kMoved{20, 30, 120, 80};

constexpr std::uint32_t kEndEllipsis = 0x4000;  // SS_ENDELLIPSIS

} // namespace

TEST(ChildClassRules, StaticTypesDecideClipping)
{
    // Per static type: T allowed, F not, c allowed unless the image is centred.
    const std::string_view expected = "TTTcTTTFFFFTTFTcTTFFFFFFFFFFFFFF";
    ASSERT_EQ(expected.size(), 32u);
    for (std::uint32_t type = 0; type < 32; ++type) {
        for (const std::uint32_t extra : {0u, kStyleCenterImage, kEndEllipsis | 0x10000000u}) {
            const char rule = expected[type];
            const bool allowed = rule == 'T' || (rule == 'c' && !(extra & kStyleCenterImage));
            EXPECT_EQ(ChildAllowsClipping("Static", type | extra), allowed) << type << " extra " << extra;
        }
        EXPECT_FALSE(ClippingAsksHitTest("Static", type));
    }
}

TEST(ChildClassRules, StaticTypesDecideRepaint)
{
    // Per static type: N never, A on any size change, T when the width changes (or
    // the height, for a centred image), E like T but the width only counts with an
    // ellipsis.
    const std::string_view expected = "TTTANNNAAANNENAANNANNNNNNNNNNNNN";
    ASSERT_EQ(expected.size(), 32u);
    for (std::uint32_t type = 0; type < 32; ++type) {
        for (const std::uint32_t extra : {0u, kStyleCenterImage, kEndEllipsis, kStyleEllipsisMask | kStyleCenterImage}) {
            for (const LayoutRect next : {kOld, kMoved, kWider, kTaller, kBigger}) {
                const bool dw = next.Width() != kOld.Width();
                const bool dh = next.Height() != kOld.Height();
                const bool centered = extra & kStyleCenterImage;
                const bool ellipsis = extra & kStyleEllipsisMask;
                bool repaint = false;
                switch (expected[type]) {
                case 'A': repaint = dw || dh; break;
                case 'T': repaint = dw || (centered && dh); break;
                case 'E': repaint = (ellipsis && dw) || (centered && dh); break;
                }
                EXPECT_EQ(ChildNeedsRepaint("Static", type | extra, kOld, next), repaint)
                    << type << " extra " << extra << " to " << next.right << ',' << next.bottom;
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
        EXPECT_FALSE(ChildNeedsRepaint("Button", type, kOld, kBigger));
    }
    EXPECT_FALSE(ChildAllowsClipping("ToolbarWindow32", kStyleToolbarTransparent | 0x100));
    EXPECT_TRUE(ChildAllowsClipping("ToolbarWindow32", 0x100));
    EXPECT_FALSE(ClippingAsksHitTest("ToolbarWindow32", kStyleOwnerDrawButton));
}

TEST(ChildClassRules, ClassNamesMatchWholeAndCaseSensitively)
{
    // 0x8007: a frame to "Static", a group box to "Button", transparent to the toolbar;
    // each of them would deny clipping.
    for (const std::string_view name : {"STATIC", "static", "Static ", "Stati", "BUTTON", "button", "Toolbarwindow32",
                                        "listbox", "ComboBox", ""}) {
        EXPECT_TRUE(ChildAllowsClipping(name, kStyleToolbarTransparent | kStyleGroupBox))
            << name;
        EXPECT_FALSE(ClippingAsksHitTest(name, kStyleOwnerDrawButton)) << name;
        EXPECT_FALSE(ChildNeedsRepaint(name, 0x7, kOld, kBigger, ListBoxScroll{10, 1, 1000})) << name;
        EXPECT_FALSE(RepaintReadsScroll(name, kOld, kBigger)) << name;
    }
    const std::string withNul("Static\0x", 8);
    EXPECT_TRUE(ChildAllowsClipping(withNul, 0x7));
    for (const std::string_view name : {"Static", "Button", "ToolbarWindow32"})
        EXPECT_FALSE(ChildAllowsClipping(name, kStyleToolbarTransparent | kStyleGroupBox)) << name;
    EXPECT_TRUE(ChildNeedsRepaint("Static", 0x7, kOld, kBigger));
    EXPECT_TRUE(RepaintReadsScroll("ListBox", kOld, kBigger));
}

TEST(ChildClassRules, ListBoxScrolledPastItsRangeIsRepainted)
{
    struct Case {
        LayoutRect next;
        std::optional<ListBoxScroll> scroll;
        bool reads, repaint;
    };
    // max 199, page 100: the last position is 100.
    const Case cases[] = {
        {kWider, ListBoxScroll{199, 100, 81}, true, true},    // 81 + 20 > 100
        {kWider, ListBoxScroll{199, 100, 80}, true, false},   // 80 + 20 = 100
        {kWider, std::nullopt, true, false},                  // no scroll information
        {kOld, ListBoxScroll{199, 100, 99}, false, false},    // no size change
        {kTaller, ListBoxScroll{199, 100, 99}, false, false},
        {{20, 10, 100, 60}, ListBoxScroll{199, 100, 99}, false, false},  // narrower
        {kWider, ListBoxScroll{99, 100, 50}, true, false},    // all visible: 99 - 100 + 1 = 0
        {kWider, ListBoxScroll{0, 0xFFFFFFFFu, 0}, true, true},  // the page wraps: 0 - (2^32 - 1) + 1 = 2
        {kWider, ListBoxScroll{INT32_MAX, 0, INT32_MAX}, true, false},  // m wraps negative
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(RepaintReadsScroll("ListBox", kOld, c.next), c.reads) << i;
        EXPECT_EQ(ChildNeedsRepaint("ListBox", 0, kOld, c.next, c.scroll), c.repaint) << i;
    }
}
