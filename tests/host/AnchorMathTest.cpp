#include <gtest/gtest.h>

#include <climits>

#include "resize/AnchorMath.h"

namespace {

constexpr LayoutRect Area(int w, int h)
{
    return {0, 0, w, h};
}

} // namespace

TEST(AnchorMath, ListBoxAnchoredToTheBottomFollowsTheGrowingDialog)
{
    const ChildAnchors a = ComputeChildAnchors(Area(500, 400), {11, 300, 489, 390}, ANCHOR_SW, ANCHOR_SE);
    EXPECT_EQ(a.offsetTopLeft, (LayoutSize{11, -100}));
    EXPECT_EQ(a.offsetBottomRight, (LayoutSize{-11, -10}));
    EXPECT_EQ(ComputeChildRect(a, Area(640, 480)), (LayoutRect{11, 380, 629, 470}));
    EXPECT_EQ(ComputeChildRect(a, Area(500, 400)), (LayoutRect{11, 300, 489, 390}));
    // Minimised: a 0 x 0 area puts the child at its offsets.
    EXPECT_EQ(ComputeChildRect(a, Area(0, 0)), (LayoutRect{11, -100, -11, -10}));
    // An area not at the origin shifts registration and layout alike.
    const ChildAnchors shifted = ComputeChildAnchors({20, 30, 520, 430}, {31, 330, 509, 420}, ANCHOR_SW, ANCHOR_SE);
    EXPECT_EQ(shifted, a);
    EXPECT_EQ(ComputeChildRect(a, {20, 30, 660, 510}), (LayoutRect{31, 410, 649, 500}));
}

TEST(AnchorMath, DividesTruncatingTowardZero)
{
    struct Case {
        LayoutRect child;
        AnchorPoint anchor;
        int registeredWidth, laidOutWidth;
        int offset, left;
    };
    const Case cases[] = {
        {{100, 0, 150, 10}, ANCHOR_N, 333, 401, -66, 134},        // 333 * 50 / 100 = 166
        {{100, 0, 150, 10}, ANCHOR_N, -1, 401, 100, 300},          // -50 / 100 is 0, not -1
        {{100, 0, 150, 10}, ANCHOR_NONE, 250, 350, 102, 99},       // -250 / 100 = -2, -350 / 100 = -3
        {{5, 0, 9, 10}, {33, 0}, 10, 20, 2, 8},                     // 3.3 and 6.6
    };
    for (const Case& c : cases) {
        const ChildAnchors a = ComputeChildAnchors(Area(c.registeredWidth, 50), c.child, c.anchor, c.anchor);
        EXPECT_EQ(a.offsetTopLeft.cx, c.offset) << c.registeredWidth;
        EXPECT_EQ(ComputeChildRect(a, Area(c.laidOutWidth, 50)).left, c.left) << c.laidOutWidth;
    }
}

TEST(AnchorMath, NoneAsBottomRightKeepsTheSizeAndAsTopLeftIsMinusOnePercent)
{
    // The refresh button beside the display list follows the right edge.
    const ChildAnchors button = ComputeChildAnchors(Area(500, 400), {450, 10, 480, 30}, ANCHOR_NE, ANCHOR_NONE);
    EXPECT_EQ(button.anchorBottomRight, ANCHOR_NE);
    EXPECT_EQ(ComputeChildRect(button, Area(640, 480)), (LayoutRect{590, 10, 620, 30}));
    EXPECT_EQ(ComputeChildRect(button, Area(300, 200)), (LayoutRect{250, 10, 280, 30}));

    const ChildAnchors odd = ComputeChildAnchors(Area(500, 400), {10, 10, 20, 20}, ANCHOR_NONE, ANCHOR_NW);
    EXPECT_EQ(odd.anchorTopLeft, ANCHOR_NONE);
    EXPECT_EQ(odd.offsetTopLeft, (LayoutSize{15, 14}));
    EXPECT_EQ(ComputeChildRect(odd, Area(1000, 800)), (LayoutRect{5, 6, 20, 20}));
}

// 32-bit products as the platform forms them: 30000000 * 100 wraps to -1294967296.
// Runs under the undefined-behaviour sanitizer.
TEST(AnchorMath, ProductsWrapInsteadOfFaulting)
{
    const ChildAnchors a = ComputeChildAnchors(Area(30000000, 10), {0, 0, 10, 10}, ANCHOR_NE, ANCHOR_NONE);
    EXPECT_EQ(a.offsetTopLeft.cx, 12949672);
    EXPECT_EQ(ComputeChildRect(a, Area(30000000, 10)), (LayoutRect{0, 0, 10, 10}));

    const ChildAnchors b = ComputeChildAnchors({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MIN, 0, INT_MAX, 1},
                                               {INT_MAX, INT_MIN}, ANCHOR_SE);
    (void)ComputeChildRect(b, {INT_MAX, INT_MIN, INT_MIN, INT_MAX});
}

TEST(AnchorMath, PositionFlagsSayWhatChanged)
{
    const LayoutRect old{10, 10, 110, 60};
    struct Case {
        LayoutRect next;
        bool repaint;
        std::uint32_t flags;
        bool skipped;
    };
    const Case cases[] = {
        {{10, 10, 110, 60}, false, 0x217, true},   // neither moved nor resized
        {{10, 10, 110, 60}, true, 0x317, true},
        {{20, 10, 120, 60}, false, 0x215, false},  // moved only
        {{10, 10, 130, 60}, false, 0x216, false},  // resized only
        {{10, 10, 110, 61}, true, 0x316, false},
        {{0, 0, 120, 70}, false, 0x214, false},    // both
        {{0, 0, 120, 70}, true, 0x314, false},
    };
    for (const Case& c : cases) {
        const std::uint32_t flags = ChildPositionFlags(old, c.next, c.repaint);
        EXPECT_EQ(flags, c.flags) << c.next.left << ',' << c.next.right << ',' << c.next.bottom;
        EXPECT_EQ(IsPositionSkipped(flags), c.skipped) << flags;
    }
}

TEST(AnchorMath, ChildAnchoredTopLeftOnBothCornersIsNeverRepositioned)
{
    const LayoutRect child{5, 6, 50, 60};
    const ChildAnchors a = ComputeChildAnchors(Area(500, 400), child, ANCHOR_NW, ANCHOR_NW);
    for (const LayoutRect area : {Area(640, 480), Area(0, 0), Area(200, 100)}) {
        const LayoutRect r = ComputeChildRect(a, area);
        EXPECT_EQ(r, child);
        EXPECT_TRUE(IsPositionSkipped(ChildPositionFlags(child, r, true)));
    }
}

TEST(AnchorMath, SizeTypesDriveGripAndLayoutAndTheFrameBecomesSizable)
{
    EXPECT_EQ(RespondToSize(kSizeRestored), (SizeResponse{GripStep::Show, true}));
    EXPECT_EQ(RespondToSize(kSizeMinimized), (SizeResponse{GripStep::Show, true}));
    EXPECT_EQ(RespondToSize(kSizeMaximized), (SizeResponse{GripStep::Hide, true}));
    EXPECT_EQ(RespondToSize(kSizeMaxShow), (SizeResponse{GripStep::None, false}));
    EXPECT_EQ(RespondToSize(kSizeMaxHide), (SizeResponse{GripStep::None, false}));
    EXPECT_EQ(ResizableStyle(0x10C800C4u), 0x90CC0044u);  // a usual dialog template's style
}
