#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ProfileBuilder.h"
#include "TempDir.h"
#include "lut/LutFile.h"
#include "lut/ProfileCurves.h"
#include "support/RecordingLog.h"

namespace {

using Curve = std::vector<std::uint16_t>;
using Lines = std::vector<std::string>;

const std::string kVcgtFound = "VCGT tag found in profile";
const std::string kMlutFound = "mLUT tag found in profile (Tintwright)";

// n entries per channel, red then green then blue; every value tells its channel and index.
Curve Source(std::size_t n)
{
    Curve values;
    for (std::size_t i = 0; i < 3 * n; ++i)
        values.push_back(static_cast<std::uint16_t>((i / n + 1) * 10000 + i % n));
    return values;
}

std::string TableLine(int channels, int bits, int n, int size)
{
    return "channels: " + std::to_string(channels) + ", entry size: " + std::to_string(bits) +
           "bits, entries/channel: " + std::to_string(n) + ", tag size: " + std::to_string(size);
}

// The log so far, error lines marked with "! ".
Lines Log()
{
    Lines texts;
    for (const auto& line : LoggedLines())
        texts.push_back((line.isError ? "! " : "") + line.text);
    return texts;
}

class ProfileCurvesTest : public ::testing::Test {
protected:
    bool Read(const Bytes& profile, std::uint32_t count = 256)
    {
        ClearLog();
        return ReadProfileCurves(dir.Write("display.icc", profile).c_str(), red, green, blue, &count);
    }
    // The three curves one after the other.
    Curve Got(std::size_t n = 256) const
    {
        Curve all;
        for (const CurveArray* curve : {&red, &green, &blue})
            all.insert(all.end(), curve->get(), curve->get() + n);
        return all;
    }

    TempDir dir;
    CurveArray red, green, blue;
};

TEST_F(ProfileCurvesTest, FirstCalibrationTagInTableOrderIsUsed)
{
    const Curve vcgt(768, 7);
    // A wrong type signature is reported, and the table still read.
    const Bytes mlut = U16Bytes(Source(256)), vcgtData = VcgtTable(3, 256, 2, U16Bytes(vcgt), 0xDEADBEEF);
    ASSERT_TRUE(Read(ProfileBuilder().Tag(kDescTag, Bytes(20)).Tag(kMlutTag, mlut).Tag(kVcgtTag, vcgtData).Build()));
    EXPECT_EQ(Got(), Source(256));
    EXPECT_EQ(Log(), Lines{kMlutFound});
    ASSERT_TRUE(Read(ProfileBuilder().Tag(kDescTag, Bytes(20)).Tag(kVcgtTag, vcgtData).Tag(kMlutTag, mlut).Build()));
    EXPECT_EQ(Got(), vcgt);
    EXPECT_EQ(Log(), (Lines{kVcgtFound, "! Invalid content of table VCGT, starting with deadbeef",
                            TableLine(3, 16, 256, 1554)}));
}

TEST_F(ProfileCurvesTest, UnusableProfilesAreRefusedAndLeaveTheCurvesAlone)
{
    const auto table = [](std::uint16_t channels, std::uint16_t n, std::uint16_t entrySize, std::size_t bytes) {
        return ProfileBuilder().Tag(kVcgtTag, VcgtTable(channels, n, entrySize, Bytes(bytes))).Build();
    };
    const auto formula = [](Bytes data) { return ProfileBuilder().Tag(kVcgtTag, std::move(data)).Build(); };
    Bytes shortFormula = VcgtFormula({}), gammaType2 = VcgtFormula({});
    shortFormula.pop_back();
    gammaType2[11] = 2;
    const std::string greenLine = "Green: Gamma 1.000000 Min 0.000000 Max 1.000000";
    const struct {
        const char* name;
        Bytes profile;
        Lines log;
    } cases[] = {
        {"shorter than 132 bytes", Bytes(131), {}},
        {"tag count beyond the table", ProfileBuilder().RawTag(kDescTag, 0, 0).TagCount(0xFFFFFFFF).Build(), {}},
        {"no calibration tag", ProfileBuilder().Tag(kDescTag, Bytes(12)).Build(),
         {"! No VCGT or mLUT tag foung in profile " + dir.PathOf("display.icc")}},
        {"vcgt offset past the end", ProfileBuilder().RawTag(kVcgtTag, 5000, 100).Build(), {kVcgtFound}},
        {"mLUT offset past the end", ProfileBuilder().RawTag(kMlutTag, 0xFFFFFFFF, 1536).Build(), {kMlutFound}},
        {"mLUT data one byte short", ProfileBuilder().Tag(kMlutTag, Bytes(1535)).Build(), {kMlutFound}},
        {"table one byte short", table(3, 256, 2, 1535), {kVcgtFound, TableLine(3, 16, 256, 1553)}},
        {"entry size 3", table(3, 16, 3, 144), {kVcgtFound, TableLine(3, 24, 16, 162)}},
        {"no entries", table(3, 0, 2, 0), {kVcgtFound, TableLine(3, 16, 0, 18)}},
        {"two channels", table(2, 256, 2, 1024), {kVcgtFound, TableLine(2, 16, 256, 1042)}},
        {"gamma type 2", formula(gammaType2), {kVcgtFound}},
        {"formula one byte short", formula(shortFormula), {kVcgtFound}},
        {"maximum below minimum gives no number",
         formula(VcgtFormula({65536, 32768, 16384, 65536, 0, 65536, 65536, 0, 65536})),
         {kVcgtFound, "Red: Gamma 1.000000 Min 0.500000 Max 0.250000", greenLine, "Blue" + greenLine.substr(5)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        red.reset(new std::uint16_t[1]{0xBEEF});
        EXPECT_FALSE(Read(c.profile));
        EXPECT_EQ(Log(), c.log);
        EXPECT_TRUE(red && red[0] == 0xBEEF && !green && !blue);
    }
}

TEST_F(ProfileCurvesTest, CurvesAreBroughtToTheRequestedCount)
{
    const struct {
        const char* name;
        std::uint32_t tag;
        std::uint16_t n, entrySize;
        std::uint32_t count;
        std::size_t (*sourceIndex)(std::size_t);
    } cases[] = {
        {"1024 to 256: every 4th", kVcgtTag, 1024, 2, 256, [](std::size_t k) { return 4 * k; }},
        {"1000 to 256: spread up to the top", kVcgtTag, 1000, 2, 256, [](std::size_t k) { return k * 1000 / 256; }},
        {"100 to 256: not a divisor", kVcgtTag, 100, 2, 256, [](std::size_t k) { return k * 100 / 256; }},
        {"one-byte entries b read as b * 256", kVcgtTag, 256, 1, 256, [](std::size_t k) { return k; }},
        {"mLUT to 1024: each repeated", kMlutTag, 256, 2, 1024, [](std::size_t k) { return k / 4; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Curve source = Source(c.n);
        Bytes entries;
        for (auto& v : source) {
            if (c.entrySize == 1)
                v = static_cast<std::uint16_t>(v << 8);
            for (int b = 0; b < c.entrySize; ++b)
                entries.push_back(static_cast<std::uint8_t>(v >> (8 - 8 * b)));
        }
        const Bytes data = c.tag == kMlutTag ? entries : VcgtTable(3, c.n, c.entrySize, entries);
        ASSERT_TRUE(Read(ProfileBuilder().Tag(c.tag, data).Build(), c.count));
        Curve expected;
        for (std::size_t i = 0; i < 3 * c.count; ++i)
            expected.push_back(source[i / c.count * c.n + c.sourceIndex(i % c.count)]);
        EXPECT_EQ(Got(c.count), expected);
    }
}

TEST_F(ProfileCurvesTest, A1584ByteTableIsThreeChannelsOf256TwoByteEntriesWhateverItsHeaderSays)
{
    Bytes data = VcgtTable(1, 1024, 1, U16Bytes(Source(256)));
    data.resize(1584);
    ASSERT_TRUE(Read(ProfileBuilder().Tag(kVcgtTag, data).Build()));
    EXPECT_EQ(Got(), Source(256));
    EXPECT_EQ(Log(), (Lines{kVcgtFound, TableLine(3, 16, 256, 1584)}));
    data.push_back(0);  // one byte more and the header is believed
    EXPECT_FALSE(Read(ProfileBuilder().Tag(kVcgtTag, data).Build()));
    EXPECT_EQ(Log(), (Lines{kVcgtFound, TableLine(1, 8, 1024, 1585)}));
}

TEST_F(ProfileCurvesTest, FormulaCurves)
{
    constexpr std::uint32_t k1 = 65536;
    const struct {
        std::array<std::uint32_t, 9> values;
        std::vector<std::pair<std::size_t, std::uint16_t>> entries;  // index into red, green, blue
        Lines errors;
    } cases[] = {
        {{k1, 0, k1, k1, 0, k1, k1, 0, k1}, {{0, 0}, {64, 3010}, {128, 14045}, {255, 64968}, {512 + 64, 3010}}, {}},
        {{29491, 0, k1, k1, 0, k1, k1, 0, k1}, {{1, 256}, {128, 32768}, {255, 65280}}, {}},  // gamma 0.45: linear
        {{13107, k1 / 2, k1, k1, 0, k1, k1, 0, k1}, {{0, 32768}, {255, 65535}}, {}},        // clamped at the top
        {{k1, 0, 2 * k1, k1, 0, k1, k1, 0, k1}, {{64, 14045}, {255, 65535}},
         {"! Gamma upper limit out of range (> 1.0): RMax: 2.000000 GMax: 1.000000 BMax: 1.000000"}},
        {{0x80000000, 0, k1, k1, k1, k1, k1, 0, 3 * k1}, {{255, 0}, {256, 65535}},  // the top bit is no sign
         {"! Gamma values out of range (> 5.0): R: 32768.000000 G: 1.000000 B: 1.000000",
          "! Gamma lower limit out of range (>= 1.0): RMin: 0.000000 GMin: 1.000000 BMin: 0.000000",
          "! Gamma upper limit out of range (> 1.0): RMax: 1.000000 GMax: 1.000000 BMax: 3.000000"}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Read(ProfileBuilder().Tag(kVcgtTag, VcgtFormula(c.values)).Build()));
        const Curve got = Got();
        for (const auto& [k, value] : c.entries)
            EXPECT_EQ(got[k], value) << "entry " << k;
        const Lines log = Log();
        ASSERT_GE(log.size(), 4u);
        EXPECT_EQ(Lines(log.begin() + 1, log.end() - 3), c.errors);
    }
    // At 4096 entries the scale's last decimals show: 20/9 instead of 2.222222 gives 10117.
    ASSERT_TRUE(Read(ProfileBuilder().Tag(kVcgtTag, VcgtFormula(cases[0].values)).Build(), 4096));
    EXPECT_EQ(red[1767], 10118);
}

TEST_F(ProfileCurvesTest, NothingToReadWithoutPathCountOrFile)
{
    const std::uint32_t count = 256;
    EXPECT_FALSE(Read(ProfileBuilder().Tag(kMlutTag, U16Bytes(Source(256))).Build(), 0));
    EXPECT_FALSE(ReadProfileCurves(dir.PathOf("display.icc").c_str(), red, green, blue, nullptr));
    EXPECT_FALSE(ReadProfileCurves(nullptr, red, green, blue, &count));
    EXPECT_FALSE(ReadProfileCurves(dir.PathOf("missing.icc").c_str(), red, green, blue, &count));
    EXPECT_TRUE(LoggedLines().empty());
    EXPECT_EQ(red, nullptr);
}

TEST_F(ProfileCurvesTest, LoadLutSourceTakesTheCurvesOfAProfile)
{
    GammaRamp ramp;
    ASSERT_TRUE(LoadLutSource(ramp, dir.Write("a.icc", ProfileBuilder().Tag(kMlutTag, U16Bytes(Source(256))).Build())));
    EXPECT_EQ(Curve(ramp.entries.begin(), ramp.entries.end()), Source(256));
}

} // namespace
