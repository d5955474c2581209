// Writes the seed corpus of the profile and LUT fuzzers: small profiles made with the
// test profile builder, one of each kind of calibration tag, a raw LUT file, which
// users hand to the profile reader too when it is named like a profile, and a small
// calibration file.
//
//   make_fuzz_corpus fuzz/corpus

#include <cstdio>
#include <fstream>
#include <string>

#include "ProfileBuilder.h"

namespace {

std::vector<std::uint16_t> Values(std::size_t n)
{
    std::vector<std::uint16_t> values;
    for (std::size_t c = 0; c < 3; ++c)
        for (std::size_t i = 0; i < n; ++i)
            values.push_back(static_cast<std::uint16_t>((i * 65535 / (n - 1)) ^ c));
    return values;
}

void Write(const std::string& folder, const char* name, const Bytes& bytes)
{
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    constexpr std::uint32_t kOne = 65536;

    Write(folder, "mlut.icc", ProfileBuilder().Tag(kDescTag, Bytes(8, 'd')).Tag(kMlutTag, U16Bytes(Values(256))).Build());
    Write(folder, "vcgt-table16.icc", ProfileBuilder().Tag(kVcgtTag, VcgtTable(3, 16, 2, U16Bytes(Values(16)))).Build());
    Bytes bytes8;
    for (std::size_t i = 0; i < 3 * 32; ++i)
        bytes8.push_back(static_cast<std::uint8_t>(i * 8));
    Write(folder, "vcgt-table8.icc", ProfileBuilder().Tag(kVcgtTag, VcgtTable(3, 32, 1, bytes8, 0x12345678)).Build());
    Write(folder, "vcgt-formula.icc",
          ProfileBuilder()
              .Tag(kVcgtTag, VcgtFormula({kOne, 0, kOne, 29491, 0, kOne, 6 * kOne, kOne / 2, 2 * kOne}))
              .Tag(kMlutTag, Bytes(16))
              .Build());
    Bytes misdescribed = VcgtTable(1, 1024, 1, U16Bytes(Values(256)));
    misdescribed.resize(1584, 0);
    Write(folder, "vcgt-1584.icc", ProfileBuilder().Tag(kVcgtTag, misdescribed).Build());
    Write(folder, "ramp.lut", U16Bytes(Values(256)));
    const std::string cal = "CAL\nDEVICE_CLASS \"DISPLAY\" # a comment\nCOLOR_REP RGB\nTV_OUTPUT_ENCODING NO\n"
                            "NUMBER_OF_FIELDS 4\nBEGIN_DATA_FORMAT\nRGB_R RGB_I RGB_B RGB_G\nEND_DATA_FORMAT\n"
                            "NUMBER_OF_SETS 3\nBEGIN_DATA\n0.125 0 1 0\n0.2 0.5 0.5 2.5e-1\n1 1 0 1\nEND_DATA\n";
    Write(folder, "table3.cal", Bytes(cal.begin(), cal.end()));
    return 0;
}
