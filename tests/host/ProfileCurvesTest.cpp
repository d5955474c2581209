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

// n entries per channel, red then green then blue; every value tells its channel and index.
Curve Source(std::size_t n)
{
    Curve values;
    for (std::size_t i = 0; i < 3 * n; ++i)
        values.push_back(static_cast<std::uint16_t>((i / n + 1) * 10000 + i % n));
    return values;
}

// `count` entries per channel of Source(n), entry k taken from source entry k * n / count.
Curve Picked(std::size_t n, std::size_t count)
{
    const Curve source = Source(n);
    Curve curves;
    for (std::size_t i = 0; i < 3 * count; ++i)
        curves.push_back(source[i / count * n + i % count * n / count]);
    return curves;
}

Bytes WithTag(std::uint32_t signature, Bytes data)
{
    return ProfileBuilder().Tag(signature, std::move(data)).Build();
}

Bytes Table(std::uint16_t channels, std::uint16_t n, std::uint16_t entrySize, const Bytes& entries)
{
    return WithTag(kVcgtTag, VcgtTable(channels, n, entrySize, entries));
}

// The profile with the four bytes at pos (128: the tag count, 136: the first tag's
// offset) replaced by a big-endian value.
Bytes Patched(Bytes profile, std::size_t pos, std::uint32_t value)
{
    for (std::size_t b = 0; b < 4; ++b)
        profile[pos + b] = static_cast<std::uint8_t>(value >> (24 - 8 * b));
    return profile;
}

std::string TableLine(int channels, int bits, int n, int size)
{
    return "channels: " + std::to_string(channels) + ", entry size: " + std::to_string(bits) +
           "bits, entries/channel: " + std::to_string(n) + ", tag size: " + std::to_string(size);
}

class ProfileCurvesTest : public ::testing::Test {
protected:
    // The three curves read from the profile as a file, one after the other; none when
    // it is refused, which leaves the curves as they were.
    std::optional<Curve> Read(const Bytes& profile, std::uint32_t count = 256)
    {
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
    }

    TempDir dir;
};

TEST_F(ProfileCurvesTest, TheFirstCalibrationTagIsReadAtTheRequestedCountAndAnUnusableOneChangesNothing)
{
    const Curve vcgt(768, 7);
    const Bytes badType = VcgtTable(3, 256, 2, U16Bytes(vcgt), 0xDEADBEEF), mlut = U16Bytes(Source(256));
    Bytes bytes8(768), misdescribed = VcgtTable(1, 1024, 1, mlut), type2 = VcgtFormula({});
    misdescribed.resize(1584);
    Bytes oneMore = misdescribed;
    oneMore.push_back(0);  // and the header is believed
    type2[11] = 2;
    Curve curves8;
    for (std::size_t i = 0; i < bytes8.size(); ++i)
        curves8.push_back(static_cast<std::uint16_t>((bytes8[i] = static_cast<std::uint8_t>(i * 7 + i / 256)) << 8));
    const std::string greenLine = "Green: Gamma 1.000000 Min 0.000000 Max 1.000000";
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
        {"mLUT before vcgt", ProfileBuilder().Tag(kDescTag, Bytes(20)).Tag(kMlutTag, mlut).Tag(kVcgtTag, badType).Build(),
         Source(256), {kMlutFound}},
        {"vcgt before mLUT, a wrong type only reported",
         ProfileBuilder().Tag(kDescTag, Bytes(20)).Tag(kVcgtTag, badType).Tag(kMlutTag, mlut).Build(), vcgt,
         {kVcgtFound, "! Invalid content of table VCGT, starting with deadbeef", TableLine(3, 16, 256, 1554)}},
        {"1000 to 256: up to the top", Table(3, 1000, 2, U16Bytes(Source(1000))), Picked(1000, 256),
         {kVcgtFound, TableLine(3, 16, 1000, 6018)}},
        {"100 to 256", Table(3, 100, 2, U16Bytes(Source(100))), Picked(100, 256), {kVcgtFound, TableLine(3, 16, 100, 618)}},
        {"mLUT to 1024: each repeated", WithTag(kMlutTag, mlut), Picked(256, 1024), {kMlutFound}, 1024},
        {"one-byte entries b read as b * 256", Table(3, 256, 1, bytes8), curves8, {kVcgtFound, TableLine(3, 8, 256, 786)}},
        {"a 1584-byte tag is 3 x 256 two-byte entries whatever its header says", WithTag(kVcgtTag, misdescribed),
         Source(256), {kVcgtFound, TableLine(3, 16, 256, 1584)}},
        {"1585-byte tag", WithTag(kVcgtTag, oneMore), {}, {kVcgtFound, TableLine(1, 8, 1024, 1585)}},
        {"shorter than 132 bytes", Bytes(131), {}, {}},
        {"65,536 tags, the last one mLUT", ProfileBuilder(many).Tag(kMlutTag, mlut).Build(), Source(256), {kMlutFound}},
        // Refused:
        {"65,537 tags", many.Tag(kDescTag, {}).Tag(kMlutTag, mlut).Build(), {}, {}},
        {"a tag table running past the end, mLUT first", Patched(WithTag(kMlutTag, mlut), 128, 130), {}, {}},
        {"no calibration tag", WithTag(kDescTag, Bytes(12)), {},
         {"! No VCGT or mLUT tag foung in profile " + dir.PathOf("display.icc")}},
        {"no entries asked for", WithTag(kMlutTag, mlut), {}, {}, 0},
        {"vcgt offset past the end", Patched(WithTag(kVcgtTag, Bytes(100)), 136, 5000), {}, {kVcgtFound}},
        {"mLUT offset wrapping round", Patched(WithTag(kMlutTag, mlut), 136, 0xFFFFFFFF), {}, {kMlutFound}},
        {"mLUT one byte short", WithTag(kMlutTag, Bytes(1535)), {}, {kMlutFound}},
        {"table one byte short", Table(3, 256, 2, Bytes(1535)), {}, {kVcgtFound, TableLine(3, 16, 256, 1553)}},
        {"entry size 3", Table(3, 16, 3, Bytes(144)), {}, {kVcgtFound, TableLine(3, 24, 16, 162)}},
        {"no entries", Table(3, 0, 2, {}), {}, {kVcgtFound, TableLine(3, 16, 0, 18)}},
        {"two channels", Table(2, 256, 2, Bytes(1024)), {}, {kVcgtFound, TableLine(2, 16, 256, 1042)}},
        {"gamma type 2", WithTag(kVcgtTag, type2), {}, {kVcgtFound}},
        {"formula one byte short", WithTag(kVcgtTag, Bytes(type2.begin(), type2.end() - 1)), {}, {kVcgtFound}},
        {"formula maximum below minimum gives no number",
         WithTag(kVcgtTag, VcgtFormula({65536, 32768, 16384, 65536, 0, 65536, 65536, 0, 65536})), {},
         {kVcgtFound, "Red: Gamma 1.000000 Min 0.500000 Max 0.250000", greenLine, "Blue" + greenLine.substr(5)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Read(c.profile, c.count), c.curves.empty() ? std::nullopt : std::optional(c.curves));
        EXPECT_EQ(LoggedTexts(), c.log);
    }
    const std::uint32_t count = 256;
    CurveArray red, green, blue;
    ClearLog();
    EXPECT_FALSE(ReadProfileCurves(nullptr, red, green, blue, &count) ||
                 ReadProfileCurves("/no/such/profile.icc", red, green, blue, &count) ||
                 ReadProfileCurves(dir.PathOf("display.icc").c_str(), red, green, blue, nullptr));
    EXPECT_TRUE(!red && !green && !blue && LoggedTexts().empty());
#ifndef _WIN32
    // A named pipe is refused without a read, which could wait for ever. A writer is
    // kept on this one, so that an open that waits for one returns at once.
    const std::string fifo = dir.PathOf("pipe.icc");
    std::FILE* writer = mkfifo(fifo.c_str(), 0600) == 0 ? std::fopen(fifo.c_str(), "r+b") : nullptr;
    ASSERT_TRUE(writer);
    EXPECT_FALSE(FileByteSource().Open(fifo.c_str()));
    std::fclose(writer);
#endif
}

TEST_F(ProfileCurvesTest, FormulaCurvesAndTheirRangeReports)
{
    constexpr std::uint32_t k1 = 65536;
    const struct {
        std::array<std::uint32_t, 9> values;
        std::vector<std::pair<std::size_t, std::uint16_t>> entries;  // index into red, green, blue
        Lines errors;
    } cases[] = {
        {{k1, 0, k1, k1, 0, k1, k1, 0, k1}, {{0, 0}, {64, 3010}, {128, 14045}, {255, 64968}, {512 + 64, 3010}}, {}},
        {{13107, k1 / 2, k1, k1, 0, k1, k1, 0, k1}, {{0, 32768}, {1, 36864}, {255, 65535}}, {}},  // clamped at the top
        {{k1, 0, 2 * k1, k1, 0, k1, k1, 0, k1}, {{64, 14045}, {255, 65535}},
         {"! Gamma upper limit out of range (> 1.0): RMax: 2.000000 GMax: 1.000000 BMax: 1.000000"}},
        {{0x80000000, 0, k1, k1, k1, k1, k1, 0, 3 * k1}, {{255, 0}, {256, 65535}},  // the top bit is no sign
         {"! Gamma values out of range (> 5.0): R: 32768.000000 G: 1.000000 B: 1.000000",
          "! Gamma lower limit out of range (>= 1.0): RMin: 0.000000 GMin: 1.000000 BMin: 0.000000",
          "! Gamma upper limit out of range (> 1.0): RMax: 1.000000 GMax: 1.000000 BMax: 3.000000"}},
    };
    for (const auto& c : cases) {
        const std::optional<Curve> got = Read(WithTag(kVcgtTag, VcgtFormula(c.values)));
        ASSERT_TRUE(got);
        for (const auto& [k, value] : c.entries)
            EXPECT_EQ((*got)[k], value) << "entry " << k;
        const Lines log = LoggedTexts();
        ASSERT_GE(log.size(), 4u);
        EXPECT_EQ(Lines(log.begin() + 1, log.end() - 3), c.errors);
    }
    // At 4096 entries the scale's last decimals show: 20/9 instead of 2.222222 gives 10117.
    EXPECT_EQ(Read(WithTag(kVcgtTag, VcgtFormula(cases[0].values)), 4096).value_or(Curve(1768))[1767], 10118);
}

} // namespace
