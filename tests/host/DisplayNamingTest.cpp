#include <gtest/gtest.h>

#include <climits>

#include "lut/DisplayNaming.h"
#include "lut/Edid.h"
#include "support/EdidBytes.h"

// The identity as hardware ids write it, the serial text before the number, and
// nothing from a block that is short, or whose header, checksum or maker is wrong.
TEST(Edid, ReadsTheIdentityAndNameOfAValidBaseBlockOnly)
{
    const auto broken = [](std::size_t at, std::uint8_t value, bool fixSum) {
        std::vector<std::uint8_t> edid = EdidBytes("DEL", 0x40F3, 7);
        edid[127] = static_cast<std::uint8_t>(edid[127] + edid[at] - value);
        edid[at] = value;
        return fixSum ? edid : (edid[127] ^= 1, edid);
    };
    const struct {
        std::vector<std::uint8_t> edid;
        const char* identity;  // null: no identity
        const char* name = "";
    } cases[] = {
        {EdidBytes("DEL", 0x40F3, 1001, "", "DELL U2720Q"), "DEL40F3:1001", "DELL U2720Q"},
        {EdidBytes("ABC", 0x0012, 4294967295u, " 7XK2M13 "), "ABC0012:7XK2M13"},
        {EdidBytes("ZZZ", 0xFFFF, 0), "ZZZFFFF"},
        {EdidBytes("DEL", 0x40F3, 0, "A\tb\x80"), "DEL40F3:A?b?"},
        {broken(0, 1, true), nullptr},
        {broken(5, 0, true), nullptr},
        {broken(8, 0, true), nullptr},   // maker letter 0
        {broken(9, 0xFF, true), nullptr},  // maker letter 31
        {broken(30, 9, false), nullptr},  // checksum
        {[] { auto edid = EdidBytes("DEL", 0x40F3, 7); return edid.resize(127), edid; }(), nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<EdidFacts> facts = ParseEdid(c.edid);
        const std::string expected = c.identity ? std::string(c.identity) + "|" + c.name : "none";
        EXPECT_EQ(facts ? facts->identity.Text() + "|" + facts->name : "none", expected);
    }
}

// Numbers as atoi reads them, identities case-blind with or without the serial,
// connectors case-blind; an identity two monitors carry and an absent monitor pick none.
TEST(DisplayNaming, PicksOneListedDisplayOrSaysWhyNot)
{
    const auto monitor = [](int index, const char* connector, const char* model, const char* serial) {
        DisplayListing display{index, "", "Generic", connector, {}, 256};
        if (model)
            display.edid = EdidFacts{{model, serial}, "Name"};
        return display;
    };
    const std::vector<DisplayListing> displays = {monitor(0, "DP-1", "DEL40F3", "7"), monitor(1, "DP-2", "DEL40F3", "8"),
                                                  monitor(2, "HDMI-1", nullptr, nullptr), monitor(3, "DVI-1", "ABC1234", "")};
    const std::pair<const char*, std::string> cases[] = {
        {"", "0"}, {" \t1x", "1"}, {"+2", "2"}, {"2147483648", "rampwise: no display 2147483647 (displays 0 to 3)"},
        {"-1", "rampwise: no display -1 (displays 0 to 3)"},
        {"del40f3:8", "1"}, {"ABC1234", "3"}, {"abc1234:", "rampwise: no monitor abc1234: is connected"},
        {"hdmi-1", "2"}, {"DEL40F3:9", "rampwise: no monitor DEL40F3:9 is connected"},
        {"DEL40F3", "rampwise: DEL40F3 names more than one monitor (DP-1, DP-2): name one by its connector"},
        {"- 1", "rampwise: no monitor - 1 is connected"},
    };
    for (const auto& [argument, expected] : cases) {
        const DisplayChoice choice = ChooseDisplay(ReadDisplayName(argument), displays);
        EXPECT_EQ(choice.index ? std::to_string(*choice.index) : choice.why, expected) << '"' << argument << '"';
    }
    // A keeper finds its monitor again by its identity when it is the only one, else by its connector.
    const std::string lasting[] = {"DEL40F3:7", "DEL40F3:8", "HDMI-1", "ABC1234"};
    for (const DisplayListing& display : displays)
        EXPECT_EQ(LastingName(display, displays).Text(), lasting[display.index]);
    EXPECT_EQ(LastingName(displays[0], {displays[0], monitor(5, "DP-5", "DEL40F3", "7")}).Text(), "DP-1");
    EXPECT_EQ(FormatDisplayLine(displays[0]), "0 DEL40F3:7 DP-1 \"Name\" 256");
    EXPECT_EQ(FormatDisplayLine(displays[2]), "2 - HDMI-1 \"Generic\" 256");
    EXPECT_EQ(EscapedForName("\\\\.\\DISPLAY1:a b"), "%5C%5C.%5CDISPLAY1%3Aa%20b");
}
