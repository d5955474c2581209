#pragma once

// Builds colour profiles byte by byte for tests, the fuzz corpus and the benchmark:
// a 128-byte header of zeros, the tag count, the tag table and the tag data, all
// big-endian. Header-only so that tools outside the test program can use it.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kMlutTag = 0x6D4C5554;  // 'mLUT'
constexpr std::uint32_t kVcgtTag = 0x76636774;  // 'vcgt'
constexpr std::uint32_t kDescTag = 0x64657363;  // 'desc', stands for any other tag

inline void AppendU16(Bytes& out, std::uint16_t v)
{
    out.insert(out.end(), {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
}

inline void AppendU32(Bytes& out, std::uint32_t v)
{
    AppendU16(out, static_cast<std::uint16_t>(v >> 16));
    AppendU16(out, static_cast<std::uint16_t>(v));
}

class ProfileBuilder {
public:
    // A tag whose data follows the table.
    ProfileBuilder& Tag(std::uint32_t signature, Bytes data)
    {
        const auto size = static_cast<std::uint32_t>(data.size());
        m_entries.push_back({signature, std::nullopt, size, std::move(data)});
        return *this;
    }
    // An entry whose offset and size are written as they are, with no data.
    ProfileBuilder& RawTag(std::uint32_t signature, std::uint32_t offset, std::uint32_t size)
    {
        m_entries.push_back({signature, offset, size, {}});
        return *this;
    }
    // Writes this tag count instead of the number of entries.
    ProfileBuilder& TagCount(std::uint32_t count)
    {
        m_tagCount = count;
        return *this;
    }

    Bytes Build() const
    {
        Bytes out(128, 0), data;
        AppendU32(out, m_tagCount.value_or(static_cast<std::uint32_t>(m_entries.size())));
        const auto dataStart = static_cast<std::uint32_t>(132 + 12 * m_entries.size());
        for (const auto& e : m_entries) {
            AppendU32(out, e.signature);
            AppendU32(out, e.offset.value_or(dataStart + static_cast<std::uint32_t>(data.size())));
            AppendU32(out, e.size);
            data.insert(data.end(), e.data.begin(), e.data.end());
        }
        out.insert(out.end(), data.begin(), data.end());
        return out;
    }

private:
    struct Entry {
        std::uint32_t signature;
        std::optional<std::uint32_t> offset;  // none: the tag's data follows the table
        std::uint32_t size;
        Bytes data;
    };
    std::vector<Entry> m_entries;
    std::optional<std::uint32_t> m_tagCount;
};

// vcgt table data; `entries` are the raw entry bytes that follow the header.
inline Bytes VcgtTable(std::uint16_t channels, std::uint16_t count, std::uint16_t entrySize, const Bytes& entries,
                       std::uint32_t typeSignature = kVcgtTag)
{
    Bytes out;
    for (std::uint32_t v : {typeSignature, 0u, 0u})  // signature, reserved, gamma type 0: table
        AppendU32(out, v);
    for (std::uint16_t v : {channels, count, entrySize})
        AppendU16(out, v);
    out.insert(out.end(), entries.begin(), entries.end());
    return out;
}

// vcgt formula data: R gamma, min, max, then G, then B, as stored 16.16 values.
inline Bytes VcgtFormula(const std::array<std::uint32_t, 9>& values)
{
    Bytes out;
    for (std::uint32_t v : {kVcgtTag, 0u, 1u})  // signature, reserved, gamma type 1: formula
        AppendU32(out, v);
    for (auto v : values)
        AppendU32(out, v);
    return out;
}

// 16-bit values as stored: mLUT data, or the entries of a 2-byte vcgt table.
inline Bytes U16Bytes(const std::vector<std::uint16_t>& values)
{
    Bytes out;
    for (auto v : values)
        AppendU16(out, v);
    return out;
}
