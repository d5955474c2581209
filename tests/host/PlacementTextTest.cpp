#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "resize/PlacementText.h"

TEST(PlacementText, ScansSixNumbersAsTheyWereFormatted)
{
    const StoredPlacement extreme{{INT_MIN, INT_MAX, 0, -1}, kShowMaximized, INT_MIN};
    EXPECT_EQ(ScanPlacement(FormatPlacement(extreme)), extreme);
    const std::pair<std::string, bool> cases[] = {
        {"10,20,300,400,1,0,7", true},      // the rest is ignored
        {" 10,\t20,300,400,\n1,+0", true},  // white space before a number is skipped, not before a comma
        {"00000000000000000000000000010,20,300,400,1,0", true},
        {"10,20,300,400,1,", false},
        {"2147483648,20,300,400,1,0", false},  // outside the integer range
        {"-2147483649,20,300,400,1,0", false},
        {"10,20,300,400,1,99999999999999999999999999", false},
    };
    for (const auto& [text, applied] : cases) {
        const auto scanned = ScanPlacement(text);
        EXPECT_EQ(scanned.has_value(), applied) << '"' << text << '"';
        EXPECT_TRUE((!scanned || *scanned == StoredPlacement{{10, 20, 300, 400}, 1, 0})) << '"' << text << '"';
    }
}

TEST(PlacementText, RectangleOffEveryWorkAreaMovesOntoTheNearest)
{
    const std::vector<LayoutRect> areas = {{0, 0, 1920, 1040}, {1920, 0, 3200, 1024}};
    const std::pair<LayoutRect, LayoutRect> cases[] = {
        {{3199, 1023, 3800, 1500}, {3199, 1023, 3800, 1500}},  // one pixel shows
        {{3200, 100, 3844, 580}, {2556, 100, 3200, 580}},      // just right of the second
        {{5000, 5000, 5644, 5480}, {2556, 544, 3200, 1024}},   // far off, below and right of the second
        {{-50, -600, 594, -120}, {0, 0, 644, 480}},            // above the first
        {{100, 2000, 2100, 3100}, {0, 0, 2000, 1100}},         // larger than its area: top-left corner
        {{INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX}, {3190, 1014, 3200, 1024}},
        {{INT_MIN, INT_MIN, INT_MAX, -5}, {0, 0, INT_MAX, INT_MAX - 4}},  // saturates
    };
    for (const auto& [stored, restored] : cases)
        EXPECT_EQ(BringOntoWorkArea(stored, areas), restored) << stored.left << ',' << stored.top;
    const LayoutRect off{5000, 5000, 5644, 5480};
    for (const std::vector<LayoutRect>& none : {std::vector<LayoutRect>{}, {{0, 0, 0, 1000}, {10, 10, 900, 10}}})
        EXPECT_EQ(BringOntoWorkArea(off, none), off) << "no areas, or only empty ones";
}
