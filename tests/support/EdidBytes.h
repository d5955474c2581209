#pragma once

// EDIDs for tests: a valid base block with a maker, a product, a serial number and
// optional serial and name texts; and the same in hex, as output_edid takes it.

#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::uint8_t> EdidBytes(const char* maker, std::uint16_t product, std::uint32_t serial,
                                           const std::string& serialText = "", const std::string& name = "")
{
    const unsigned id = (maker[0] - '@') << 10 | (maker[1] - '@') << 5 | (maker[2] - '@');
    std::vector<std::uint8_t> edid = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, std::uint8_t(id >> 8), std::uint8_t(id),
                                      std::uint8_t(product), std::uint8_t(product >> 8), std::uint8_t(serial),
                                      std::uint8_t(serial >> 8), std::uint8_t(serial >> 16), std::uint8_t(serial >> 24)};
    edid.resize(128);
    // Two display descriptors (tag 0 where the text is empty), each text ended by a line feed.
    const std::pair<std::uint8_t, std::string> texts[] = {{0xFF, serialText}, {0xFC, name}};
    for (std::size_t d = 0; d < 2; ++d) {
        edid[57 + 18 * d] = texts[d].second.empty() ? 0 : texts[d].first;
        const std::string text = (texts[d].second + "\n            ").substr(0, 13);
        std::copy(text.begin(), text.end(), edid.begin() + 59 + 18 * d);
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < 127; ++i)
        sum += edid[i];
    edid[127] = static_cast<std::uint8_t>(256 - sum % 256);
    return edid;
}

inline std::string EdidHex(const std::vector<std::uint8_t>& edid)
{
    std::string hex = edid.empty() ? "-" : "";
    for (const std::uint8_t byte : edid)
        hex += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 0xF]};
    return hex;
}
