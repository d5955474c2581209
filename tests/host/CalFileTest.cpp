#include <gtest/gtest.h>

#include <string>

#include "lut/LutFile.h"
#include "support/RecordingLog.h"
#include "support/TempDir.h"
#include "support/TestRamps.h"

namespace {

// Comments, quotes, a CR, fields out of order, a curve that falls, a second table.
const std::string kHandMade = "CAL    \nDEVICE_CLASS \"DISPLAY\"  # a screen\nCOLOR_REP \"RGB\"\n"  // lines 1-3
                              "DESCRIPTOR \"a # inside quotes\"\r\nNUMBER_OF_FIELDS 4\n"             // 4-5
                              "BEGIN_DATA_FORMAT\nRGB_R RGB_I RGB_B RGB_G\nEND_DATA_FORMAT\n"         // 6-8
                              "NUMBER_OF_SETS 3\nBEGIN_DATA\n0.125 0 1 0\n0.2 0.5 0.5 0.25\n1 1 0 1\n"  // 9-13
                              "END_DATA\nBEGIN_DATA\nnot a row\nEND_DATA\n";                         // 14-17

std::string Replaced(std::string from, const std::string& to)
{
    std::string text = kHandMade;
    return text.replace(text.find(from), from.size(), to);
}

} // namespace

// Good files load and a saved ramp reads back exactly; every refusal logs one line with
// the file and the line.
TEST(CalFile, ReadsGoodFilesWritesExactlyAndRefusesEachFaultNamingTheLine)
{
    const TempDir dir;
    // pins: {entry, level}; of the hand-made file red 0 and 128, green 64, blue 200 and 255.
    const struct { const char* name; std::string text; std::vector<std::pair<std::size_t, int>> pins; } good[] = {
        {"hand.CaL", kHandMade, {{0, 8192}, {128, 13313}, {256 + 64, 8224}, {512 + 200, 14135}, {767, 0}}},
        {"video.cal", Replaced("DESCRIPTOR", "TV_OUTPUT_ENCODING \"YES\" #"),
         {{0, 11104}, {128, 15485}, {256 + 64, 11131}, {512 + 200, 16188}, {767, 4096}}},
        // The fewest rows, in the usual order, the data format on one line, words unquoted.
        {"2.cal", "CAL\nDEVICE_CLASS DISPLAY\nCOLOR_REP RGB\nNUMBER_OF_FIELDS 4\nBEGIN_DATA_FORMAT RGB_I RGB_R RGB_G "
                  "RGB_B END_DATA_FORMAT\nNUMBER_OF_SETS 2\nBEGIN_DATA\n0 0 1 0.2\n1 1 0 0.2\nEND_DATA\n",
         {{0, 0}, {100, 25700}, {255, 65535}, {256, 65535}, {256 + 100, 39835}, {512 + 7, 13107}, {767, 13107}}},
    };
    for (const auto& c : good) {
        GammaRamp ramp = DistinctRamp();
        EXPECT_TRUE(LoadLutSource(ramp, dir.Write(c.name, Bytes(c.text.begin(), c.text.end())))) << c.name;
        for (const auto& [entry, level] : c.pins)
            EXPECT_EQ(ramp.entries[entry], level) << c.name << " entry " << entry;
    }
    GammaRamp read;
    EXPECT_TRUE(SaveLutFile(DistinctRamp(), dir.PathOf("saved.Cal")) && LoadLutSource(read, dir.PathOf("saved.Cal")));
    EXPECT_EQ(read, DistinctRamp());

    const std::string rows12 = "0.2 0.5 0.5 0.25";
    const struct { std::string text; int line; std::string reason; } refused[] = {
        {Replaced("CAL    ", "CALX"), 1, "the file does not begin with a line CAL"},
        {"", 1, "the file does not begin with a line CAL"},
        {Replaced("\"DISPLAY\"", "OUTPUT"), 2, "DEVICE_CLASS is not DISPLAY"},
        {Replaced("\"RGB\"", "CMYK"), 3, "COLOR_REP is not RGB"},
        {Replaced("DESCRIPTOR", "TV_OUTPUT_ENCODING MAYBE #"), 4, "TV_OUTPUT_ENCODING is neither YES nor NO"},
        {Replaced("FIELDS 4", "FIELDS 5"), 5, "NUMBER_OF_FIELDS is not 4"},
        {Replaced("RGB_B RGB_G", "RGB_B RGB_G RGB_A"), 7, "the data format names more than 4 fields"},
        {Replaced("RGB_B RGB_G", "RGB_B RGB_X"), 8, "the data format does not name RGB_G"},
        {Replaced("SETS 3", "SETS 1"), 9, "NUMBER_OF_SETS is not a number of 2 or more"},
        {Replaced("NUMBER_OF_SETS 3", "#"), 10, "NUMBER_OF_SETS is missing before BEGIN_DATA"},
        {Replaced(rows12, "0.2 0.5 0.5"), 12, "a row has 3 numbers instead of 4"},
        {Replaced(rows12, "1.5 0.5 0.5 0.25"), 12, "RGB_R is not a number between 0 and 1"},
        {Replaced(rows12, "0.2 0.5 0.5 x"), 12, "RGB_G is not a number between 0 and 1"},
        {Replaced(rows12, "0.2 0.5 nan 0.25"), 12, "RGB_B is not a number between 0 and 1"},
        {Replaced("1 1 0 1", "1 0.5 0 1"), 13, "RGB_I does not increase"},
        {Replaced("SETS 3", "SETS 2"), 13, "the data has more rows than NUMBER_OF_SETS (2)"},
        {Replaced("SETS 3", "SETS 4"), 14, "NUMBER_OF_SETS is 4 but the data has 3 rows"},
        {Replaced("END_DATA\nBEGIN_DATA\nnot a row\nEND_DATA\n", ""), 13, "the file ends before END_DATA"},
        {"CAL\n" + std::string(1 << 20, '#'), 2, "the file is larger than 1 MiB"},
    };
    for (const auto& c : refused) {
        ClearLog();
        GammaRamp ramp;
        const std::string path = dir.Write("refused.cal", Bytes(c.text.begin(), c.text.end()));
        EXPECT_FALSE(LoadLutSource(ramp, path)) << c.reason;
        EXPECT_EQ(LoggedTexts(), std::vector<std::string>{"! ERROR: calibration file " + path + ", line " +
                                                          std::to_string(c.line) + ": " + c.reason});
    }
}
