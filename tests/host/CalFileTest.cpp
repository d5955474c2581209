#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "lut/LutFile.h"
#include "support/RecordingLog.h"
#include "support/TempDir.h"
#include "support/TestRamps.h"

namespace {

// Comments, quotes, a CR, fields out of order, a curve that falls, a second table.
const std::string kHandMade = "CAL    \n"                                   // line 1
                              "DEVICE_CLASS \"DISPLAY\"  # a screen\n"      // 2
                              "COLOR_REP \"RGB\"\n"                          // 3
                              "DESCRIPTOR \"a # inside quotes\"\r\n"         // 4
                              "NUMBER_OF_FIELDS 4\n"                         // 5
                              "BEGIN_DATA_FORMAT\n"                          // 6
                              "RGB_R RGB_I RGB_B RGB_G\n"                    // 7
                              "END_DATA_FORMAT\n"                            // 8
                              "NUMBER_OF_SETS 3\n"                           // 9
                              "BEGIN_DATA\n"                                 // 10
                              "0.125 0 1 0\n"                                // 11
                              "0.2 0.5 0.5 0.25\n"                           // 12
                              "1 1 0 1\n"                                    // 13
                              "END_DATA\nBEGIN_DATA\nnot a row\nEND_DATA\n";  // 14-17

std::string Replaced(std::string from, const std::string& to)
{
    std::string text = kHandMade;
    return text.replace(text.find(from), from.size(), to);
}

// Straight curves, exact under any interpolation: red = x, green = 0.25 + x / 2,
// blue = 1 - 0.8 x; in rows, and at the 256 entries.
std::string StraightCurves(int rows)
{
    std::string text = "CAL\nDEVICE_CLASS DISPLAY\nCOLOR_REP RGB\nNUMBER_OF_FIELDS 4\nBEGIN_DATA_FORMAT RGB_I "
                        "RGB_R RGB_G RGB_B END_DATA_FORMAT\nNUMBER_OF_SETS " + std::to_string(rows) + "\nBEGIN_DATA\n";
    for (int k = 0; k < rows; ++k) {
        const double x = k / (rows - 1.0);
        char row[128];
        std::snprintf(row, sizeof(row), "%.17g %.17g %.17g %.17g\n", x, x, 0.25 + x / 2, 1 - 0.8 * x);
        text += row;
    }
    return text + "END_DATA\n";
}

GammaRamp StraightRamp()
{
    GammaRamp ramp;
    for (std::size_t i = 0; i < 256; ++i) {
        const double x = i / 255.0;
        ramp.entries[i] = static_cast<std::uint16_t>(std::lround(65535 * x));
        ramp.entries[256 + i] = static_cast<std::uint16_t>(std::lround(65535 * (0.25 + x / 2)));
        ramp.entries[512 + i] = static_cast<std::uint16_t>(std::lround(65535 * (1 - 0.8 * x)));
    }
    return ramp;
}

} // namespace

// Every refusal leaves the ramp as it was and logs one line with the file and line.
TEST(CalFile, ReadsGoodFilesAndRefusesEachFaultNamingTheLine)
{
    const TempDir dir;
    // {entry, level}: red 0 and 128, green 64, blue 200 and 255 of the hand-made file.
    using Pins = std::vector<std::pair<std::size_t, int>>;
    const struct { const char* name; std::string text; Pins pins; } good[] = {
        {"hand.CaL", kHandMade, {{0, 8192}, {128, 13313}, {256 + 64, 8224}, {512 + 200, 14135}, {767, 0}}},
        {"video.cal", Replaced("DESCRIPTOR", "TV_OUTPUT_ENCODING \"YES\" #"),
         {{0, 11104}, {128, 15485}, {256 + 64, 11131}, {512 + 200, 16188}, {767, 4096}}},
        {"2.cal", StraightCurves(2), {}}, {"16.cal", StraightCurves(16), {}}, {"256.cal", StraightCurves(256), {}},
        {"1024.cal", StraightCurves(1024), {}}, {"4096.cal", StraightCurves(4096), {}},
    };
    for (const auto& c : good) {
        GammaRamp ramp = DistinctRamp();
        EXPECT_TRUE(LoadLutSource(ramp, dir.Write(c.name, Bytes(c.text.begin(), c.text.end())))) << c.name;
        for (const auto& [entry, level] : c.pins)
            EXPECT_EQ(ramp.entries[entry], level) << c.name << " entry " << entry;
        if (c.pins.empty()) {
            EXPECT_EQ(ramp, StraightRamp()) << c.name;
        }
    }

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
        {Replaced("COLOR_REP", "#"), 10, "DEVICE_CLASS or COLOR_REP is missing before BEGIN_DATA"},
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
        GammaRamp ramp = DistinctRamp();
        const std::string path = dir.Write("refused.cal", Bytes(c.text.begin(), c.text.end()));
        EXPECT_FALSE(LoadLutSource(ramp, path)) << c.reason;
        EXPECT_EQ(ramp, DistinctRamp()) << c.reason;
        EXPECT_EQ(LoggedTexts(), std::vector<std::string>{"! ERROR: calibration file " + path + ", line " +
                                                          std::to_string(c.line) + ": " + c.reason});
    }
}

// What is saved reads back exactly, through the same name dispatch.
TEST(CalFile, ASavedRampReadsBackExactly)
{
    const TempDir dir;
    GammaRamp falling;
    for (std::size_t i = 0; i < falling.entries.size(); ++i)
        falling.entries[i] = static_cast<std::uint16_t>(65535 - i * 85);
    for (const GammaRamp& ramp : {DistinctRamp(), GammaRamp{}, falling, StraightRamp()}) {
        GammaRamp read = DistinctRamp(1);
        ASSERT_TRUE(SaveLutFile(ramp, dir.PathOf("saved.Cal")));
        EXPECT_TRUE(LoadLutSource(read, dir.PathOf("saved.Cal")));
        EXPECT_EQ(read, ramp);
    }
    const Bytes saved = dir.Read("saved.Cal");
    EXPECT_NE(std::string(saved.begin(), saved.end()).find("\nORIGINATOR \"Rampwise\"\n"), std::string::npos);
}
