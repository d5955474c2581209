#include "lut/Edid.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::size_t kBlockSize = 128;
constexpr std::uint8_t kHeader[] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
// The four 18-byte descriptors of the base block, and the tags of the two texts read.
constexpr std::size_t kDescriptors[] = {54, 72, 90, 108};
constexpr std::uint8_t kSerialTextTag = 0xFF;
constexpr std::uint8_t kNameTag = 0xFC;

// A descriptor's text: up to 13 bytes, ended by a line feed and padded with blanks.
// Bytes that are no printable ASCII become '?', so that the text is safe to print
// and to name a monitor by.
std::string DescriptorText(const std::uint8_t* descriptor)
{
    std::string text;
    for (std::size_t i = 5; i < 18 && descriptor[i] != 0x0A; ++i)
        text += descriptor[i] >= 0x20 && descriptor[i] < 0x7F ? static_cast<char>(descriptor[i]) : '?';
    const std::size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The text of the first display descriptor with the tag, or "".
std::string FindText(std::span<const std::uint8_t> edid, std::uint8_t tag)
{
    for (const std::size_t offset : kDescriptors) {
        const std::uint8_t* descriptor = &edid[offset];
        // A display descriptor starts with three zero bytes where a timing has its clock.
        if (descriptor[0] == 0 && descriptor[1] == 0 && descriptor[2] == 0 && descriptor[3] == tag)
            return DescriptorText(descriptor);
    }
    return {};
}

} // namespace

std::optional<EdidFacts> ParseEdid(std::span<const std::uint8_t> edid)
{
    if (edid.size() < kBlockSize || !std::equal(std::begin(kHeader), std::end(kHeader), edid.begin()))
        return std::nullopt;
    unsigned sum = 0;
    for (std::size_t i = 0; i < kBlockSize; ++i)
        sum += edid[i];
    if (sum % 256 != 0)
        return std::nullopt;
    // Three letters of five bits each, 1 for 'A', big-endian; the product code is
    // little-endian and written in hex, as hardware ids have it.
    const unsigned maker = (unsigned{edid[8]} << 8) | edid[9];
    char model[8];
    for (int letter = 0; letter < 3; ++letter) {
        const unsigned code = (maker >> (10 - 5 * letter)) & 0x1F;
        if (code < 1 || code > 26)
            return std::nullopt;
        model[letter] = static_cast<char>('A' + code - 1);
    }
    std::snprintf(model + 3, sizeof(model) - 3, "%04X", (unsigned{edid[11]} << 8) | edid[10]);
    EdidFacts facts;
    facts.identity.model = model;
    facts.identity.serial = FindText(edid, kSerialTextTag);
    const std::uint32_t number = std::uint32_t{edid[12]} | std::uint32_t{edid[13]} << 8 |
                                 std::uint32_t{edid[14]} << 16 | std::uint32_t{edid[15]} << 24;
    if (facts.identity.serial.empty() && number != 0)
        facts.identity.serial = std::to_string(number);
    facts.name = FindText(edid, kNameTag);
    return facts;
}
