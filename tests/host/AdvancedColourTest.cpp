#include <gtest/gtest.h>

#include "lut/AdvancedColour.h"

TEST(AdvancedColour, NewerAnswerDecidesThenOlderThenSdr)
{
    using Mode = AdvancedColourMode;
    const AdvancedColourState hdr{true, false, false};
    const AdvancedColourState wideOnly{true, true, false};
    const AdvancedColourState forcedOff{true, false, true};
    const AdvancedColourState off{};
    const struct {
        const char* name;
        AdvancedColourAnswers answers;
        bool expected;
    } cases[] = {
        {"newer HDR over older SDR", {Mode::Hdr, off}, true},
        {"newer SDR over older HDR", {Mode::Sdr, hdr}, false},
        {"newer wide colour over older HDR", {Mode::WideColour, hdr}, false},
        {"newer HDR alone", {Mode::Hdr, std::nullopt}, true},
        {"older HDR alone", {std::nullopt, hdr}, true},
        {"older wide colour enforced", {std::nullopt, wideOnly}, false},
        {"older force-disabled", {std::nullopt, forcedOff}, false},
        {"older off", {std::nullopt, off}, false},
        {"neither answered", {}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InHdrMode(c.answers), c.expected) << c.name;
}
