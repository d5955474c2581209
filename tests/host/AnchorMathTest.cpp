#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "resize/AnchorMath.h"

TEST(AnchorMath, ChildKeepsItsDistanceFromItsAnchorIn32BitArithmetic)
{
    // {anchor, width at registration, width at layout, left edge}: a child at x 100 to
    // 150. Products wrap at 32 bits and division truncates toward zero.
    const std::tuple<AnchorPoint, int, int, int> cases[] = {
        {ANCHOR_N, 333, 401, 134},     // 100 - 333 * 50 / 100 = -66, then 200 - 66
        {ANCHOR_N, -1, 401, 300},      // -50 / 100 is 0, not -1
        {ANCHOR_NONE, 250, 350, 99},   // as top-left it is -1 percent: -250 / 100 = -2, -350 / 100 = -3
        {ANCHOR_NE, 30000000, 20000000, 32949772},  // 30000000 * 100 wraps to -1294967296
    };
    for (const auto& [anchor, registered, laidOut, left] : cases) {
        const ChildAnchors a = ComputeChildAnchors({0, 0, registered, 50}, {100, 0, 150, 10}, anchor, anchor);
        EXPECT_EQ(ComputeChildRect(a, {0, 0, laidOut, 50}), (LayoutRect{left, 0, left + 50, 10})) << registered;
    }
    // Under the undefined-behaviour sanitizer: no sum or product may overflow.
    const ChildAnchors b = ComputeChildAnchors({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MIN, 0, INT_MAX, 1},
                                               {INT_MAX, INT_MIN}, ANCHOR_SE);
    (void)ComputeChildRect(b, {INT_MAX, INT_MIN, INT_MIN, INT_MAX});
}

TEST(AnchorMath, PositionFlagsSayWhatChanged)
{
    const LayoutRect old{10, 10, 110, 60};
    EXPECT_EQ(ChildPositionFlags(old, {20, 10, 120, 60}, false), 0x215u);  // moved only
    EXPECT_EQ(ChildPositionFlags(old, {10, 10, 110, 61}, true), 0x316u);   // resized only
    EXPECT_TRUE(IsPositionSkipped(ChildPositionFlags(old, old, true)) && !IsPositionSkipped(0x215u));
}
