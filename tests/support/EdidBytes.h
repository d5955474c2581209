#pragma once

// EDIDs for tests: a base block with a maker, a product, a serial number, optional
// serial and name texts, and the checksum that makes it valid.

#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::uint8_t> EdidBytes(const char* maker, std::uint16_t product, std::uint32_t serial,
                                           const std::string& serialText = "", const std::string& name = "")
{
    std::vector<std::uint8_t> edid(128);
    const std::uint8_t header[] = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0};
    std::copy(std::begin(header), std::end(header), edid.begin());
    const unsigned id = (maker[0] - '@') << 10 | (maker[1] - '@') << 5 | (maker[2] - '@');
    edid[8] = static_cast<std::uint8_t>(id >> 8), edid[9] = static_cast<std::uint8_t>(id);
    edid[10] = static_cast<std::uint8_t>(product), edid[11] = static_cast<std::uint8_t>(product >> 8);
    for (int i = 0; i < 4; ++i)
        edid[12 + i] = static_cast<std::uint8_t>(serial >> (8 * i));
    edid[18] = 1, edid[19] = 4;
    // Display descriptors: serial text, name, then two unused ones (tag 0x10).
    const std::pair<std::uint8_t, std::string> texts[] = {{0xFF, serialText}, {0xFC, name}, {0x10, ""}, {0x10, ""}};
    for (std::size_t d = 0; d < 4; ++d) {
        std::uint8_t* descriptor = &edid[54 + 18 * d];
        descriptor[3] = texts[d].second.empty() ? 0x10 : texts[d].first;
        for (std::size_t i = 0; i < 13; ++i)
            descriptor[5 + i] = i < texts[d].second.size() ? static_cast<std::uint8_t>(texts[d].second[i])
                                : i == texts[d].second.size() ? 0x0A : 0x20;
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < 127; ++i)
        sum += edid[i];
    edid[127] = static_cast<std::uint8_t>(256 - sum % 256);
    return edid;
}

// The bytes as output_edid takes them: in hex, or "-" for none.
inline std::string EdidHex(const std::vector<std::uint8_t>& edid)
{
    std::string hex = edid.empty() ? "-" : "";
    for (const std::uint8_t byte : edid)
        hex += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 0xF]};
    return hex;
}
