#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "resize/PlacementText.h"

TEST(PlacementText, FormatsAndScansTheSameSixNumbers)
{
    const StoredPlacement cases[] = {
        {{100, 80, 744, 560}, kShowNormal, 0},
        {{-1920, -8, -1000, 700}, kShowMinimized, kRestoreToMaximized},
        {{INT_MIN, INT_MAX, 0, -0}, kShowMaximized, INT_MIN},
    };
    EXPECT_EQ(FormatPlacement(cases[0]), "100,80,744,560,1,0");
    EXPECT_EQ(FormatPlacement(cases[2]), "-2147483648,2147483647,0,0,3,-2147483648");
    for (const StoredPlacement& p : cases)
        EXPECT_EQ(ScanPlacement(FormatPlacement(p)), p) << FormatPlacement(p);
}

TEST(PlacementText, ScansLikeTheFormatOfSixNumbers)
{
    const StoredPlacement stored{{10, 20, 300, 400}, 1, 0};
    struct Case {
        std::string text;
        bool applied;
    };
    const Case cases[] = {
        {"10,20,300,400,1,0", true},
        {"10,20,300,400,1,0,7", true},          // the rest is ignored
        {"10,20,300,400,1,0garbage", true},
        {" 10,\t20,300,400,\n1,+0", true},       // white space before a number is skipped
        {"10 ,20,300,400,1,0", false},           // but not before a comma
        {"10,20,300,400,1 ,0", false},
        {"10,20,30", false},
        {"10,20,300,400,1,", false},
        {"10;20;300;400;1;0", false},
        {"10,20,300,400,1,-", false},
        {"10,,20,300,400,1,0", false},
        {"", false},
        {"0x10,20,300,400,1,0", false},
        {std::string("10,20,300,400,1,0", 16), false},  // cut before the last digit
        {std::string("10,20,300,400,1\0,0", 17), false},
    };
    for (const Case& c : cases) {
        const auto scanned = ScanPlacement(c.text);
        EXPECT_EQ(scanned.has_value(), c.applied) << '"' << c.text << '"';
        if (scanned) {
            EXPECT_EQ(*scanned, stored) << '"' << c.text << '"';
        }
    }
}

TEST(PlacementText, NumbersOutsideTheIntegerRangeAreRejected)
{
    EXPECT_EQ(ScanPlacement("-2147483648,2147483647,0,0,1,0"),
              (StoredPlacement{{INT_MIN, INT_MAX, 0, 0}, 1, 0}));
    EXPECT_EQ(ScanPlacement("00000000000000000000000000012,0,0,0,1,0")->normal.left, 12);
    for (const char* text : {"2147483648,0,0,0,1,0", "-2147483649,0,0,0,1,0", "0,0,0,0,1,99999999999999999999999999",
                             "0,0,0,0,1,-18446744073709551616"})
        EXPECT_FALSE(ScanPlacement(text)) << text;
}

TEST(PlacementText, OnlyNormalMinimizedAndMaximizedAreRestored)
{
    for (int command = -1; command <= 11; ++command)  // 0 hides the window, 4 to 11 are no stored states
        EXPECT_EQ(IsRestorableShowCommand(command), command >= 1 && command <= 3) << command;
}

TEST(PlacementText, RectangleOffEveryWorkAreaMovesOntoTheNearest)
{
    const std::vector<LayoutRect> areas = {{0, 0, 1920, 1040}, {1920, 0, 3200, 1024}};
    struct Case {
        LayoutRect stored, restored;
    };
    const Case cases[] = {
        {{100, 80, 744, 560}, {100, 80, 744, 560}},          // on the first monitor
        {{1800, 80, 2444, 560}, {1800, 80, 2444, 560}},      // across both
        {{3199, 1023, 3800, 1500}, {3199, 1023, 3800, 1500}},  // one pixel shows
        {{3200, 100, 3844, 580}, {2556, 100, 3200, 580}},    // just right of the second
        {{-700, 100, -56, 580}, {0, 100, 644, 580}},         // left of the first
        {{5000, 5000, 5644, 5480}, {2556, 544, 3200, 1024}},  // far off, below and right of the second
        {{-50, -600, 594, -120}, {0, 0, 644, 480}},          // above
        {{100, 2000, 2100, 3100}, {0, 0, 2000, 1100}},       // larger than its area: top-left corner
    };
    for (const Case& c : cases)
        EXPECT_EQ(BringOntoWorkArea(c.stored, areas), c.restored) << c.stored.left << ',' << c.stored.top;

    const LayoutRect off{5000, 5000, 5644, 5480};
    EXPECT_EQ(BringOntoWorkArea(off, {}), off);
    const std::vector<LayoutRect> empty = {{0, 0, 0, 1000}, {10, 10, 900, 10}};
    EXPECT_EQ(BringOntoWorkArea(off, empty), off);
}

TEST(PlacementText, ExtremeRectanglesStayWithinTheIntegerRange)
{
    const std::vector<LayoutRect> areas = {{0, 0, 1920, 1040}};
    EXPECT_EQ(BringOntoWorkArea({INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX}, areas),
              (LayoutRect{1910, 1030, 1920, 1040}));
    EXPECT_EQ(BringOntoWorkArea({INT_MIN, INT_MIN, INT_MAX, -5}, areas), (LayoutRect{0, 0, INT_MAX, INT_MAX - 4}));
    const LayoutRect inverted{3000, 3000, 2900, 2900};
    const LayoutRect moved = BringOntoWorkArea(inverted, areas);
    EXPECT_EQ(moved.Width(), -100);
    EXPECT_LE(moved.right, 1920);
}
