#include <gtest/gtest.h>

#include <climits>

#include "resize/AnchorMath.h"

namespace {

constexpr LayoutRect Area(int w, int h)
{
    return {0, 0, w, h};
}

} // namespace

TEST(AnchorMath, ChildAnchoredToTheBottomFollowsTheGrowingDialog)
{
    const ChildAnchors a = ComputeChildAnchors(Area(500, 400), {11, 300, 489, 390}, ANCHOR_SW, ANCHOR_SE);
    EXPECT_EQ(a.offsetTopLeft, (LayoutSize{11, -100}));
    EXPECT_EQ(a.offsetBottomRight, (LayoutSize{-11, -10}));
    EXPECT_EQ(ComputeChildRect(a, Area(640, 480)), (LayoutRect{11, 380, 629, 470}));
    // An area not at the origin shifts registration and layout alike.
    EXPECT_EQ(ComputeChildAnchors({20, 30, 520, 430}, {31, 330, 509, 420}, ANCHOR_SW, ANCHOR_SE), a);
    EXPECT_EQ(ComputeChildRect(a, {20, 30, 660, 510}), (LayoutRect{31, 410, 649, 500}));

    // ANCHOR_NONE as bottom-right keeps the size; as top-left it is -1 percent.
    const ChildAnchors button = ComputeChildAnchors(Area(500, 400), {450, 10, 480, 30}, ANCHOR_NE, ANCHOR_NONE);
    EXPECT_EQ(button.anchorBottomRight, ANCHOR_NE);
    EXPECT_EQ(ComputeChildRect(button, Area(640, 480)), (LayoutRect{590, 10, 620, 30}));
    const ChildAnchors odd = ComputeChildAnchors(Area(500, 400), {10, 10, 20, 20}, ANCHOR_NONE, ANCHOR_NW);
    EXPECT_EQ(odd.offsetTopLeft, (LayoutSize{15, 14}));
    EXPECT_EQ(ComputeChildRect(odd, Area(1000, 800)), (LayoutRect{5, 6, 20, 20}));
}

TEST(AnchorMath, DividesTruncatingTowardZeroAndWrapsInsteadOfOverflowing)
{
    const struct {
        AnchorPoint anchor;
        int registeredWidth, laidOutWidth, offset, left;
    } cases[] = {
        {ANCHOR_N, 333, 401, -66, 134},    // 333 * 50 / 100 = 166
        {ANCHOR_N, -1, 401, 100, 300},     // -50 / 100 is 0, not -1
        {ANCHOR_NONE, 250, 350, 102, 99},  // -250 / 100 = -2, -350 / 100 = -3
        {ANCHOR_NE, 30000000, 30000000, 12949772, 100},  // 30000000 * 100 wraps to -1294967296
    };
    for (const auto& c : cases) {
        const ChildAnchors a = ComputeChildAnchors(Area(c.registeredWidth, 50), {100, 0, 150, 10}, c.anchor, c.anchor);
        EXPECT_EQ(a.offsetTopLeft.cx, c.offset) << c.registeredWidth;
        EXPECT_EQ(ComputeChildRect(a, Area(c.laidOutWidth, 50)).left, c.left) << c.laidOutWidth;
    }
    // Under the undefined-behaviour sanitizer: no sum or product may overflow.
    const ChildAnchors b = ComputeChildAnchors({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MIN, 0, INT_MAX, 1},
                                               {INT_MAX, INT_MIN}, ANCHOR_SE);
    (void)ComputeChildRect(b, {INT_MAX, INT_MIN, INT_MIN, INT_MAX});
}

TEST(AnchorMath, PositionFlagsSayWhatChanged)
{
    const LayoutRect old{10, 10, 110, 60};
    const struct {
        LayoutRect next;
        bool repaint;
        std::uint32_t flags;
        bool skipped;
    } cases[] = {
        {old, false, 0x217, true},  // neither moved nor resized
        {old, true, 0x317, true},
        {{20, 10, 120, 60}, false, 0x215, false},  // moved only
        {{10, 10, 110, 61}, true, 0x316, false},   // resized only
        {{0, 0, 120, 70}, false, 0x214, false},    // both
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChildPositionFlags(old, c.next, c.repaint), c.flags) << std::hex << c.flags;
        EXPECT_EQ(IsPositionSkipped(c.flags), c.skipped) << std::hex << c.flags;
    }
}

TEST(AnchorMath, SizeTypesDriveGripAndLayoutAndTheFrameBecomesSizable)
{
    const SizeResponse show{GripStep::Show, true}, hide{GripStep::Hide, true}, none{};
    const SizeResponse expected[] = {show, show, hide, none, none};  // restored, minimized, maximized, max show/hide
    for (std::uint32_t type = kSizeRestored; type <= kSizeMaxHide; ++type)
        EXPECT_EQ(RespondToSize(type), expected[type]) << type;
    EXPECT_EQ(ResizableStyle(0x10C800C4u), 0x90CC0044u);  // a usual dialog template's style
}
