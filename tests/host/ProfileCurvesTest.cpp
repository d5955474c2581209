#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lut/ByteSource.h"
#include "lut/ProfileCurves.h"
#include "support/ProfileBuilder.h"
#include "support/RecordingLog.h"
#include "support/TempDir.h"

#include <sys/stat.h>  // mkfifo

namespace {

using Curve = std::vector<std::uint16_t>;
using Lines = std::vector<std::string>;

const std::string kVcgtFound = "VCGT tag found in profile";
const std::string kMlutFound = "mLUT tag found in profile (Tintwright)";

// `count` entries per channel, red then green then blue, entry k taken from entry
// k * n / count of n entries whose values tell their channel and index.
Curve Curves(std::size_t n, std::size_t count)
{
    Curve values;
    for (std::size_t i = 0; i < 3 * count; ++i)
        values.push_back(static_cast<std::uint16_t>((i / count + 1) * 10000 + i % count * n / count));
    return values;
}

Bytes WithTag(std::uint32_t signature, Bytes data)
{
    return ProfileBuilder().Tag(signature, std::move(data)).Build();
}

std::string TableLine(int channels, int bits, int n, int size)
{
    return "channels: " + std::to_string(channels) + ", entry size: " + std::to_string(bits) +
           "bits, entries/channel: " + std::to_string(n) + ", tag size: " + std::to_string(size);
}

} // namespace

// The first calibration tag is read at the requested count, and an unusable one changes
// nothing; a tag that ends too early is refused wherever it is read (the mLUT data, the
// vcgt type signature, the table entries, the formula). Out-of-range formula values are
// only reported, and the curves computed from them as they are; the top bit of a 16.16
// value is no sign.
TEST(ProfileCurves, ReadsTheFirstCalibrationTagAtTheRequestedCountRefusesAnUnusableOneAndReportsFormulaRanges)
{
    const TempDir dir;
    // The three curves read from the profile as a file, one after the other; none when
    // it is refused, which leaves the curves as they were.
    const auto read = [&dir](const Bytes& profile, std::uint32_t count = 256) -> std::optional<Curve> {
        CurveArray red(new std::uint16_t[1]{0xBEEF}), green, blue;
        ClearLog();
        if (!ReadProfileCurves(dir.Write("display.icc", profile).c_str(), red, green, blue, &count)) {
            EXPECT_TRUE(red[0] == 0xBEEF && !green && !blue);
            return std::nullopt;
        }
        Curve all;
        for (const CurveArray* curve : {&red, &green, &blue})
            all.insert(all.end(), curve->get(), curve->get() + count);
        return all;
    };
    const Curve source = Curves(256, 256);
    const Bytes mlut = U16Bytes(source);
    Bytes bytes8(768), v1585 = VcgtTable(2, 512, 1, mlut), type2 = VcgtFormula({});
    v1585.resize(1585);  // a byte more than the tag whose header is wrong: the header is believed
    type2[11] = 2;
    Bytes pastEnd = WithTag(kMlutTag, mlut);
    pastEnd[131] = 130;  // the tag count: a table that runs past the end, though mLUT comes first
    Curve curves8;
    for (std::size_t i = 0; i < bytes8.size(); ++i)
        curves8.push_back(static_cast<std::uint16_t>((bytes8[i] = static_cast<std::uint8_t>(i * 7 + i / 256)) << 8));
    const Bytes badType = VcgtTable(3, 256, 1, bytes8, 0xDEADBEEF);  // one-byte entries b, read as b * 256
    const std::string greenLine = "Green: Gamma 1.000000 Min 0.000000 Max 1.000000";
    constexpr std::uint32_t k1 = 65536;
    ProfileBuilder many;  // 65,535 tags that carry no curves
    for (int i = 1; i < 65536; ++i)
        many.Tag(kDescTag, {});
    const struct {
        const char* name;
        Bytes profile;
        Curve curves;  // none: refused
        Lines log;
        std::uint32_t count = 256;
    } cases[] = {
        {"mLUT before vcgt", ProfileBuilder().Tag(kMlutTag, mlut).Tag(kVcgtTag, badType).Build(), source, {kMlutFound}},
        {"vcgt first: a wrong type only reported", ProfileBuilder().Tag(kVcgtTag, badType).Tag(kMlutTag, mlut).Build(),
         curves8, {kVcgtFound, "! Invalid content of table VCGT, starting with deadbeef", TableLine(3, 8, 256, 786)}},
        {"1000 to 256: up to the top", WithTag(kVcgtTag, VcgtTable(3, 1000, 2, U16Bytes(Curves(1000, 1000)))),
         Curves(1000, 256), {kVcgtFound, TableLine(3, 16, 1000, 6018)}},
        {"mLUT to 1024: each repeated", WithTag(kMlutTag, mlut), Curves(256, 1024), {kMlutFound}, 1024},
        {"a 1584-byte tag is 3 x 256 two-byte entries whatever its header says",
         WithTag(kVcgtTag, Bytes(v1585.begin(), v1585.end() - 1)), source, {kVcgtFound, TableLine(3, 16, 256, 1584)}},
        {"1585-byte tag", WithTag(kVcgtTag, v1585), {}, {kVcgtFound, TableLine(2, 8, 512, 1585)}},
        {"shorter than 132 bytes", Bytes(131), {}, {}},
        {"65,536 tags, the last one mLUT", ProfileBuilder(many).Tag(kMlutTag, mlut).Build(), source, {kMlutFound}},
        {"65,537 tags", many.Tag(kDescTag, {}).Tag(kMlutTag, mlut).Build(), {}, {}},
        {"a tag table running past the end", pastEnd, {}, {}},
        {"no entries asked for", WithTag(kMlutTag, mlut), {}, {}, 0},
        {"mLUT one byte short", WithTag(kMlutTag, Bytes(1535)), {}, {kMlutFound}},
        {"vcgt shorter than its type signature", WithTag(kVcgtTag, Bytes(3)), {}, {kVcgtFound}},
        {"table one byte short", WithTag(kVcgtTag, VcgtTable(3, 256, 2, Bytes(1535))), {},
         {kVcgtFound, TableLine(3, 16, 256, 1553)}},
        {"size 3", WithTag(kVcgtTag, VcgtTable(3, 16, 3, Bytes(144))), {}, {kVcgtFound, TableLine(3, 24, 16, 162)}},
        {"no entries", WithTag(kVcgtTag, VcgtTable(3, 0, 2, {})), {}, {kVcgtFound, TableLine(3, 16, 0, 18)}},
        {"gamma type 2", WithTag(kVcgtTag, type2), {}, {kVcgtFound}},
        {"formula one byte short", WithTag(kVcgtTag, Bytes(type2.begin(), type2.end() - 1)), {}, {kVcgtFound}},
        {"max below min: no number", WithTag(kVcgtTag, VcgtFormula({k1, k1 / 2, k1 / 4, k1, 0, k1, k1, 0, k1})), {},
         {kVcgtFound, "Red: Gamma 1.000000 Min 0.500000 Max 0.250000", greenLine, "Blue" + greenLine.substr(5)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(read(c.profile, c.count), c.curves.empty() ? std::nullopt : std::optional(c.curves));
        EXPECT_EQ(LoggedTexts(), c.log);
    }

    const struct {
        std::array<std::uint32_t, 9> values;
        std::vector<std::pair<std::size_t, std::uint16_t>> entries;  // index into red, green, blue
        Lines errors;
    } formula[] = {
        {{k1, 0, k1, k1, 0, k1, k1, 0, k1}, {{0, 0}, {64, 3010}, {128, 14045}, {255, 64968}, {512 + 64, 3010}}, {}},
        {{0x80000000, 0, k1, k1, k1, k1, k1, 0, 3 * k1}, {{255, 0}, {256, 65535}, {512 + 64, 34581}},
         {"! Gamma values out of range (> 5.0): R: 32768.000000 G: 1.000000 B: 1.000000",
          "! Gamma lower limit out of range (>= 1.0): RMin: 0.000000 GMin: 1.000000 BMin: 0.000000",
          "! Gamma upper limit out of range (> 1.0): RMax: 1.000000 GMax: 1.000000 BMax: 3.000000"}},
    };
    for (const auto& f : formula) {
        const std::optional<Curve> got = read(WithTag(kVcgtTag, VcgtFormula(f.values)));
        ASSERT_TRUE(got);
        for (const auto& [k, value] : f.entries)
            EXPECT_EQ((*got)[k], value) << "entry " << k;
        ASSERT_GE(LoggedTexts().size(), 4u);
        EXPECT_EQ(Lines(LoggedTexts().begin() + 1, LoggedTexts().end() - 3), f.errors);
    }
    // At 4096 entries the scale's last decimals show: 20/9 instead of 2.222222 gives 10117.
    EXPECT_EQ(read(WithTag(kVcgtTag, VcgtFormula(formula[0].values)), 4096).value_or(Curve(1768))[1767], 10118);

    // A null path or count is refused; so is a named pipe, without a read, which could
    // wait for ever.
    CurveArray red, green, blue;
    EXPECT_FALSE(ReadProfileCurves(nullptr, red, green, blue, &k1) ||
                 ReadProfileCurves(dir.PathOf("display.icc").c_str(), red, green, blue, nullptr));
#ifndef _WIN32
    // A writer is kept on this one, so that an open that waits for one returns at once.
    const std::string fifo = dir.PathOf("pipe.icc");
    std::FILE* writer = mkfifo(fifo.c_str(), 0600) == 0 ? std::fopen(fifo.c_str(), "r+b") : nullptr;
    ASSERT_TRUE(writer);
    EXPECT_FALSE(FileByteSource().Open(fifo.c_str()));
    std::fclose(writer);
#endif
}
