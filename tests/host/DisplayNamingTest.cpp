#include <gtest/gtest.h>

#include "lut/DisplayNaming.h"
#include "lut/Edid.h"
#include "support/EdidBytes.h"

// The identity as hardware ids write it, the serial text before the number; nothing
// from a block that is short, or whose header, checksum or maker is wrong.
TEST(Edid, ReadsTheIdentityAndNameOfAValidBaseBlockOnly)
{
    const auto changed = [](std::size_t at, std::uint8_t value, int sumFix = 0) {
        std::vector<std::uint8_t> edid = EdidBytes("DEL", 0x40F3, 7);
        edid[127] = static_cast<std::uint8_t>(edid[127] + edid[at] - value + sumFix);
        return edid[at] = value, edid;
    };
    const std::pair<std::vector<std::uint8_t>, std::string> cases[] = {
        {EdidBytes("DEL", 0x40F3, 1001, "", "DELL U2720Q"), "DEL40F3:1001|DELL U2720Q"},
        {EdidBytes("ABC", 0x0012, 4294967295u, " 7XK2M13 "), "ABC0012:7XK2M13|"},
        {EdidBytes("ZZZ", 0xFFFF, 0, "A\tb\x80"), "ZZZFFFF:A?b?|"},
        {changed(12, 0), "DEL40F3|"},
        {changed(0, 1), "none"},
        {changed(8, 0), "none"},     // maker letter 0
        {changed(30, 9, 1), "none"},  // checksum
        {[] { auto edid = EdidBytes("DEL", 0x40F3, 7); return edid.resize(127), edid; }(), "none"},
    };
    for (const auto& [edid, expected] : cases) {
        const std::optional<EdidFacts> facts = ParseEdid(edid);
        EXPECT_EQ(facts ? facts->identity.Text() + "|" + facts->name : "none", expected);
    }
}

// Numbers as atoi reads them, identities case-blind with or without the serial,
// connectors case-blind; an identity two monitors carry and an absent monitor pick
// none. A keeper finds a monitor again by its identity where it is the only one.
TEST(DisplayNaming, PicksOneListedDisplayOrSaysWhyNot)
{
    const auto monitor = [](int index, const char* connector, const char* model, const char* serial) {
        return DisplayListing{index, "", "", connector, model ? std::optional(EdidFacts{{model, serial}, ""}) : std::nullopt, 256};
    };
    const std::vector<DisplayListing> displays = {monitor(0, "DP-1", "DEL40F3", "7"), monitor(1, "DP-2", "DEL40F3", "8"),
                                                  monitor(2, "HDMI-1", nullptr, nullptr), monitor(3, "DVI-1", "ABC1234", "")};
    const std::pair<const char*, std::string> cases[] = {
        {"", "0"}, {" \t1x", "1"}, {"2147483648", "rampwise: no display 2147483647 (displays 0 to 3)"},
        {"del40f3:8", "1"}, {"ABC1234", "3"}, {"hdmi-1", "2"},
        {"DEL40F3:9", "rampwise: no monitor DEL40F3:9 is connected"},
        {"DEL40F3", "rampwise: DEL40F3 names more than one monitor (DP-1, DP-2): name one by its connector"},
    };
    for (const auto& [argument, expected] : cases) {
        const DisplayChoice choice = ChooseDisplay(ReadDisplayName(argument), displays);
        EXPECT_EQ(choice.index ? std::to_string(*choice.index) : choice.why, expected) << '"' << argument << '"';
    }
    const std::string lasting[] = {"DEL40F3:7", "DEL40F3:8", "HDMI-1", "ABC1234"};
    for (const DisplayListing& display : displays)
        EXPECT_EQ(LastingName(display, displays).Text(), lasting[display.index]);
    EXPECT_EQ(LastingName(displays[0], {displays[0], monitor(5, "DP-5", "DEL40F3", "7")}).Text(), "DP-1");
}
