#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ProfileBuilder.h"
#include "TempDir.h"
#include "lut/LutFile.h"
#include "lut/ProfileCurves.h"
#include "support/RecordingLog.h"

namespace {

using Curve = std::vector<std::uint16_t>;

const std::string kVcgtFound = "VCGT tag found in profile";
const std::string kMlutFound = "mLUT tag found in profile (Tintwright)";

// n entries per channel, red then green then blue; every value tells its channel and index.
Curve Source(std::size_t n)
{
    Curve values;
    for (std::size_t c = 0; c < 3; ++c)
        for (std::size_t i = 0; i < n; ++i)
            values.push_back(static_cast<std::uint16_t>((c + 1) * 10000 + i));
    return values;
}

Curve ChannelOf(const Curve& all, std::size_t channel, std::size_t n)
{
    return Curve(all.begin() + static_cast<long>(channel * n), all.begin() + static_cast<long>((channel + 1) * n));
}

std::vector<std::string> Texts()
{
    std::vector<std::string> texts;
    for (const auto& line : LoggedLines())
        texts.push_back(line.text);
    return texts;
}

class ProfileCurvesTest : public ::testing::Test {
protected:
    void SetUp() override { ClearLog(); }

    bool Read(const Bytes& profile, std::uint32_t count = 256)
    {
        path = dir.Write("display.icc", profile);
        return ReadProfileCurves(path.c_str(), red, green, blue, &count);
    }
    Curve Got(std::size_t channel, std::size_t n = 256) const
    {
        const CurveArray* curves[] = {&red, &green, &blue};
        return Curve(curves[channel]->get(), curves[channel]->get() + n);
    }

    TempDir dir;
    std::string path;
    CurveArray red, green, blue;
};

TEST_F(ProfileCurvesTest, FirstCalibrationTagInTableOrderIsUsed)
{
    const Curve mlut = Source(256);
    Curve vcgt = mlut;
    for (auto& v : vcgt)
        v = static_cast<std::uint16_t>(v + 5000);
    const std::string tableLine = "channels: 3, entry size: 16bits, entries/channel: 256, tag size: 1554";
    for (bool vcgtFirst : {false, true}) {
        SCOPED_TRACE(vcgtFirst ? "vcgt first" : "mLUT first");
        ClearLog();
        ProfileBuilder builder;
        builder.Tag(kDescTag, Bytes(20, 0x55));
        if (vcgtFirst)
            builder.Tag(kVcgtTag, VcgtTable(3, 256, 2, U16Bytes(vcgt)));
        builder.Tag(kMlutTag, U16Bytes(mlut));
        if (!vcgtFirst)
            builder.Tag(kVcgtTag, VcgtTable(3, 256, 2, U16Bytes(vcgt)));
        ASSERT_TRUE(Read(builder.Build()));
        const Curve& expected = vcgtFirst ? vcgt : mlut;
        for (std::size_t c = 0; c < 3; ++c)
            EXPECT_EQ(Got(c), ChannelOf(expected, c, 256));
        const std::vector<std::string> lines = vcgtFirst ? std::vector<std::string>{kVcgtFound, tableLine}
                                                         : std::vector<std::string>{kMlutFound};
        EXPECT_EQ(Texts(), lines);
    }
}

TEST_F(ProfileCurvesTest, ProfileWithoutCalibrationTagIsReported)
{
    for (const Bytes& profile : {ProfileBuilder().Build(),
                                 ProfileBuilder().Tag(kDescTag, Bytes(12)).Tag(0x72545243, Bytes(14)).Build()}) {
        ClearLog();
        EXPECT_FALSE(Read(profile));
        EXPECT_EQ(LoggedLines(), (std::vector<LoggedLine>{{true, "No VCGT or mLUT tag foung in profile " + path}}));
    }
}

TEST_F(ProfileCurvesTest, UnusableProfilesLeaveTheCurvesAlone)
{
    auto formulaData = VcgtFormula({65536, 0, 65536, 65536, 0, 65536, 65536, 0, 65536});
    formulaData.pop_back();
    auto gammaType2 = VcgtFormula({});
    gammaType2[11] = 2;
    struct Case {
        const char* name;
        Bytes profile;
        std::vector<std::string> lines;
    } cases[] = {
        {"shorter than 132 bytes", Bytes(131, 0), {}},
        {"tag count beyond the table", ProfileBuilder().RawTag(kDescTag, 0, 0).TagCount(0xFFFFFFFF).Build(), {}},
        {"vcgt offset past the end", ProfileBuilder().RawTag(kVcgtTag, 5000, 100).Build(), {kVcgtFound}},
        {"mLUT offset past the end", ProfileBuilder().RawTag(kMlutTag, 0xFFFFFFFF, 1536).Build(), {kMlutFound}},
        {"mLUT data one byte short", ProfileBuilder().Tag(kMlutTag, Bytes(1535)).Build(), {kMlutFound}},
        {"table entries one byte short", ProfileBuilder().Tag(kVcgtTag, VcgtTable(3, 256, 2, Bytes(1535))).Build(),
         {kVcgtFound, "channels: 3, entry size: 16bits, entries/channel: 256, tag size: 1553"}},
        {"entry size 3", ProfileBuilder().Tag(kVcgtTag, VcgtTable(3, 16, 3, Bytes(144))).Build(),
         {kVcgtFound, "channels: 3, entry size: 24bits, entries/channel: 16, tag size: 162"}},
        {"no entries", ProfileBuilder().Tag(kVcgtTag, VcgtTable(3, 0, 2, {})).Build(),
         {kVcgtFound, "channels: 3, entry size: 16bits, entries/channel: 0, tag size: 18"}},
        {"two channels", ProfileBuilder().Tag(kVcgtTag, VcgtTable(2, 256, 2, Bytes(1024))).Build(),
         {kVcgtFound, "channels: 2, entry size: 16bits, entries/channel: 256, tag size: 1042"}},
        {"gamma type 2", ProfileBuilder().Tag(kVcgtTag, gammaType2).Build(), {kVcgtFound}},
        {"formula one byte short", ProfileBuilder().Tag(kVcgtTag, formulaData).Build(), {kVcgtFound}},
        {"maximum below minimum",
         ProfileBuilder().Tag(kVcgtTag, VcgtFormula({65536, 32768, 16384, 65536, 0, 65536, 65536, 0, 65536})).Build(),
         {kVcgtFound, "Red: Gamma 1.000000 Min 0.500000 Max 0.250000", "Green: Gamma 1.000000 Min 0.000000 Max 1.000000",
          "Blue: Gamma 1.000000 Min 0.000000 Max 1.000000"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearLog();
        red.reset(new std::uint16_t[1]{0xBEEF});
        green.reset(new std::uint16_t[1]{0xCAFE});
        blue.reset(new std::uint16_t[1]{0xF00D});
        const std::uint16_t* before[] = {red.get(), green.get(), blue.get()};
        EXPECT_FALSE(Read(c.profile));
        EXPECT_EQ(Texts(), c.lines);
        EXPECT_EQ(red.get(), before[0]);
        EXPECT_EQ(green.get(), before[1]);
        EXPECT_EQ(blue.get(), before[2]);
        EXPECT_EQ(red[0], 0xBEEF);
        EXPECT_EQ(green[0], 0xCAFE);
        EXPECT_EQ(blue[0], 0xF00D);
    }
}

TEST_F(ProfileCurvesTest, CurvesAreBroughtToTheRequestedCount)
{
    // A source entry value: 16-bit tables use Source(); 1-byte ones a byte b, read as b * 256.
    auto byteOf = [](std::size_t c, std::size_t i) { return static_cast<std::uint8_t>(c * 80 + i); };
    struct Case {
        const char* name;
        std::uint32_t tag;  // kMlutTag or kVcgtTag
        std::uint16_t entries;
        std::uint16_t entrySize;
        std::uint32_t count;
        std::function<std::size_t(std::size_t)> sourceIndex;
    } cases[] = {
        {"1024 two-byte entries", kVcgtTag, 1024, 2, 256, [](std::size_t k) { return 4 * k; }},
        {"256 one-byte entries", kVcgtTag, 256, 1, 256, [](std::size_t k) { return k; }},
        {"16 entries, each repeated", kVcgtTag, 16, 2, 256, [](std::size_t k) { return k / 16; }},
        {"100 entries, not a divisor", kVcgtTag, 100, 2, 256, [](std::size_t k) { return k * 100 / 256; }},
        {"300 entries, the first 256", kVcgtTag, 300, 2, 256, [](std::size_t k) { return k; }},
        {"mLUT to 1024", kMlutTag, 256, 2, 1024, [](std::size_t k) { return k / 4; }},
        {"mLUT to 16", kMlutTag, 256, 2, 16, [](std::size_t k) { return 16 * k; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Curve source = Source(c.entries);
        Bytes entries;
        if (c.entrySize == 1) {
            for (std::size_t ch = 0; ch < 3; ++ch)
                for (std::size_t i = 0; i < c.entries; ++i)
                    entries.push_back(byteOf(ch, i));
        } else {
            entries = U16Bytes(source);
        }
        const Bytes data = c.tag == kMlutTag ? entries : VcgtTable(3, c.entries, c.entrySize, entries);
        ASSERT_TRUE(Read(ProfileBuilder().Tag(c.tag, data).Build(), c.count));
        for (std::size_t ch = 0; ch < 3; ++ch) {
            Curve expected;
            for (std::size_t k = 0; k < c.count; ++k) {
                const std::size_t i = c.sourceIndex(k);
                expected.push_back(c.entrySize == 1 ? static_cast<std::uint16_t>(byteOf(ch, i) * 256)
                                                    : source[ch * c.entries + i]);
            }
            EXPECT_EQ(Got(ch, c.count), expected) << "channel " << ch;
        }
    }
}

TEST_F(ProfileCurvesTest, A1584ByteTableIsReadAsThreeChannelsOf256TwoByteEntries)
{
    // The broken writer of 1584-byte tags claims 1 channel of 1024 one-byte entries.
    const Curve values = Source(256);
    Bytes data = VcgtTable(1, 1024, 1, U16Bytes(values));
    data.resize(1584, 0);
    ASSERT_TRUE(Read(ProfileBuilder().Tag(kVcgtTag, data).Build()));
    for (std::size_t c = 0; c < 3; ++c)
        EXPECT_EQ(Got(c), ChannelOf(values, c, 256));
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           kVcgtFound, "channels: 3, entry size: 16bits, entries/channel: 256, tag size: 1584"}));

    // One byte more and the header is believed.
    ClearLog();
    data.push_back(0);
    EXPECT_FALSE(Read(ProfileBuilder().Tag(kVcgtTag, data).Build()));
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           kVcgtFound, "channels: 1, entry size: 8bits, entries/channel: 1024, tag size: 1585"}));
}

TEST_F(ProfileCurvesTest, WrongTypeSignatureIsReportedAndTheTableStillRead)
{
    const Curve values = Source(256);
    ASSERT_TRUE(Read(ProfileBuilder().Tag(kVcgtTag, VcgtTable(3, 256, 2, U16Bytes(values), 0xDEADBEEF)).Build()));
    EXPECT_EQ(Got(2), ChannelOf(values, 2, 256));
    ASSERT_EQ(LoggedLines().size(), 3u);
    EXPECT_EQ(LoggedLines()[1], (LoggedLine{true, "Invalid content of table VCGT, starting with deadbeef"}));
}

TEST_F(ProfileCurvesTest, FormulaCurves)
{
    constexpr std::uint32_t kOne = 65536;
    struct Case {
        const char* name;
        std::array<std::uint32_t, 9> values;
        std::vector<std::pair<std::size_t, std::uint16_t>> redEntries;
        std::vector<std::string> errors;
    } cases[] = {
        {"gamma 1", {kOne, 0, kOne, kOne, 0, kOne, kOne, 0, kOne}, {{0, 0}, {64, 3010}, {128, 14045}, {255, 64968}}, {}},
        {"gamma 0.45 is linear", {29491, 0, kOne, kOne, 0, kOne, kOne, 0, kOne},
         {{1, 256}, {128, 32768}, {255, 65280}}, {}},
        {"red gamma 6", {6 * kOne, 0, kOne, kOne, 0, kOne, kOne, 0, kOne}, {{0, 0}, {255, 62203}},
         {"Gamma values out of range (> 5.0): R: 6.000000 G: 1.000000 B: 1.000000"}},
        {"minimum 0.5 clamps the top", {13107, kOne / 2, kOne, kOne, 0, kOne, kOne, 0, kOne},
         {{0, 32768}, {255, 65535}}, {}},
        {"maximum 2 clamps the top", {kOne, 0, 2 * kOne, kOne, 0, kOne, kOne, 0, kOne},
         {{64, 14045}, {255, 65535}},
         {"Gamma upper limit out of range (> 1.0): RMax: 2.000000 GMax: 1.000000 BMax: 1.000000"}},
        {"all three checks, top bit not a sign", {0x80000000, 0, kOne, kOne, kOne, kOne, kOne, 0, 3 * kOne},
         {{255, 0}},
         {"Gamma values out of range (> 5.0): R: 32768.000000 G: 1.000000 B: 1.000000",
          "Gamma lower limit out of range (>= 1.0): RMin: 0.000000 GMin: 1.000000 BMin: 0.000000",
          "Gamma upper limit out of range (> 1.0): RMax: 1.000000 GMax: 1.000000 BMax: 3.000000"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearLog();
        ASSERT_TRUE(Read(ProfileBuilder().Tag(kVcgtTag, VcgtFormula(c.values)).Build()));
        for (const auto& [k, value] : c.redEntries)
            EXPECT_EQ(red[k], value) << "entry " << k;
        const auto& lines = LoggedLines();
        ASSERT_EQ(lines.size(), 4 + c.errors.size());
        for (std::size_t i = 0; i < c.errors.size(); ++i)
            EXPECT_EQ(lines[1 + i], (LoggedLine{true, c.errors[i]}));
        EXPECT_EQ(lines.back().text.rfind("Blue: Gamma ", 0), 0u);
    }
    // The channel lines of the last case show the values as stored, after the warnings.
    const auto texts = Texts();
    EXPECT_EQ(std::vector<std::string>(texts.end() - 3, texts.end()),
              (std::vector<std::string>{"Red: Gamma 32768.000000 Min 0.000000 Max 1.000000",
                                        "Green: Gamma 1.000000 Min 1.000000 Max 1.000000",
                                        "Blue: Gamma 1.000000 Min 0.000000 Max 3.000000"}));

    // At 4096 entries the scale's last decimals show: 20/9 instead of 2.222222 gives 10117.
    ASSERT_TRUE(Read(ProfileBuilder().Tag(kVcgtTag, VcgtFormula(cases[0].values)).Build(), 4096));
    EXPECT_EQ(red[1767], 10118);
}

TEST_F(ProfileCurvesTest, NothingToReadWithoutPathCountOrFile)
{
    const std::uint32_t zero = 0;
    const std::uint32_t count = 256;
    const std::string missing = dir.PathOf("missing.icc");
    EXPECT_FALSE(ReadProfileCurves(nullptr, red, green, blue, &count));
    EXPECT_FALSE(ReadProfileCurves(missing.c_str(), red, green, blue, &count));
    EXPECT_FALSE(Read(ProfileBuilder().Tag(kMlutTag, U16Bytes(Source(256))).Build(), zero));
    EXPECT_FALSE(ReadProfileCurves(path.c_str(), red, green, blue, nullptr));
    EXPECT_TRUE(LoggedLines().empty());
    EXPECT_EQ(red, nullptr);
}

TEST_F(ProfileCurvesTest, LoadLutSourceTakesTheCurvesOfAProfile)
{
    const Curve values = Source(256);
    GammaRamp ramp;
    ASSERT_TRUE(LoadLutSource(ramp, dir.Write("display.icc", ProfileBuilder().Tag(kMlutTag, U16Bytes(values)).Build())));
    EXPECT_TRUE(std::equal(values.begin(), values.end(), ramp.entries.begin()));

    GammaRamp before = ramp;
    EXPECT_FALSE(LoadLutSource(ramp, dir.Write("broken.icc", ProfileBuilder().Tag(kMlutTag, Bytes(100)).Build())));
    EXPECT_EQ(ramp, before);
}

} // namespace
