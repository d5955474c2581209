#pragma once

// Builds colour profiles byte by byte for tests, the fuzz corpus and the benchmark:
// a 128-byte header of zeros, the tag count, the tag table and the tag data, all
// big-endian. Header-only so that tools outside the test programs can use it.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kMlutTag = 0x6D4C5554;  // 'mLUT'
constexpr std::uint32_t kVcgtTag = 0x76636774;  // 'vcgt'
constexpr std::uint32_t kDescTag = 0x64657363;  // 'desc', stands for any other tag

// Appends each value big-endian in `width` bytes.
inline void AppendBigEndian(Bytes& out, int width, std::initializer_list<std::uint32_t> values)
{
    for (const std::uint32_t v : values)
        for (int shift = 8 * (width - 1); shift >= 0; shift -= 8)
            out.push_back(static_cast<std::uint8_t>(v >> shift));
}

class ProfileBuilder {
public:
    // A tag whose data follows the table, after the data of the tags before it.
    ProfileBuilder& Tag(std::uint32_t signature, Bytes data)
    {
        m_tags.emplace_back(signature, std::move(data));
        return *this;
    }

    Bytes Build() const
    {
        Bytes out(128, 0), data;
        AppendBigEndian(out, 4, {static_cast<std::uint32_t>(m_tags.size())});
        for (const auto& [signature, bytes] : m_tags) {
            const auto offset = static_cast<std::uint32_t>(132 + 12 * m_tags.size() + data.size());
            AppendBigEndian(out, 4, {signature, offset, static_cast<std::uint32_t>(bytes.size())});
            data.insert(data.end(), bytes.begin(), bytes.end());
        }
        out.insert(out.end(), data.begin(), data.end());
        return out;
    }

private:
    std::vector<std::pair<std::uint32_t, Bytes>> m_tags;
};

// vcgt table data; `entries` are the raw entry bytes that follow the header.
inline Bytes VcgtTable(std::uint16_t channels, std::uint16_t count, std::uint16_t entrySize, const Bytes& entries,
                       std::uint32_t typeSignature = kVcgtTag)
{
    Bytes out;
    AppendBigEndian(out, 4, {typeSignature, 0, 0});  // signature, reserved, gamma type 0: table
    AppendBigEndian(out, 2, {channels, count, entrySize});
    out.insert(out.end(), entries.begin(), entries.end());
    return out;
}

// vcgt formula data: R gamma, min, max, then G, then B, as stored 16.16 values.
inline Bytes VcgtFormula(const std::array<std::uint32_t, 9>& values)
{
    Bytes out;
    AppendBigEndian(out, 4, {kVcgtTag, 0, 1});  // signature, reserved, gamma type 1: formula
    for (const std::uint32_t v : values)
        AppendBigEndian(out, 4, {v});
    return out;
}

// 16-bit values as stored: mLUT data, or the entries of a 2-byte vcgt table.
inline Bytes U16Bytes(const std::vector<std::uint16_t>& values)
{
    Bytes out;
    for (const std::uint16_t v : values)
        AppendBigEndian(out, 2, {v});
    return out;
}
