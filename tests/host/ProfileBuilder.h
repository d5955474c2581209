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
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

inline void AppendU32(Bytes& out, std::uint32_t v)
{
    AppendU16(out, static_cast<std::uint16_t>(v >> 16));
    AppendU16(out, static_cast<std::uint16_t>(v));
}

class ProfileBuilder {
public:
    // A tag whose data follows the table; its entry gives that data's offset and
    // its size, or `size` when given.
    ProfileBuilder& Tag(std::uint32_t signature, Bytes data, std::optional<std::uint32_t> size = {})
    {
        const auto stated = size.value_or(static_cast<std::uint32_t>(data.size()));
        m_entries.push_back({signature, 0, stated, std::move(data), true});
        return *this;
    }
    // An entry whose offset and size are written as they are, with no data.
    ProfileBuilder& RawTag(std::uint32_t signature, std::uint32_t offset, std::uint32_t size)
    {
        m_entries.push_back({signature, offset, size, {}, false});
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
        Bytes out(128, 0);
        AppendU32(out, m_tagCount.value_or(static_cast<std::uint32_t>(m_entries.size())));
        auto dataOffset = static_cast<std::uint32_t>(out.size() + 12 * m_entries.size());
        for (const auto& e : m_entries) {
            AppendU32(out, e.signature);
            AppendU32(out, e.hasData ? dataOffset : e.offset);
            AppendU32(out, e.size);
            if (e.hasData)
                dataOffset += static_cast<std::uint32_t>(e.data.size());
        }
        for (const auto& e : m_entries)
            out.insert(out.end(), e.data.begin(), e.data.end());
        return out;
    }

private:
    struct Entry {
        std::uint32_t signature;
        std::uint32_t offset;
        std::uint32_t size;
        Bytes data;
        bool hasData;
    };
    std::vector<Entry> m_entries;
    std::optional<std::uint32_t> m_tagCount;
};

// vcgt table data; `entries` are the raw entry bytes that follow the header.
inline Bytes VcgtTable(std::uint16_t channels, std::uint16_t count, std::uint16_t entrySize, const Bytes& entries,
                       std::uint32_t typeSignature = kVcgtTag)
{
    Bytes out;
    AppendU32(out, typeSignature);
    AppendU32(out, 0);
    AppendU32(out, 0);  // table
    AppendU16(out, channels);
    AppendU16(out, count);
    AppendU16(out, entrySize);
    out.insert(out.end(), entries.begin(), entries.end());
    return out;
}

// vcgt formula data: R gamma, min, max, then G, then B, as stored 16.16 values.
inline Bytes VcgtFormula(const std::array<std::uint32_t, 9>& values)
{
    Bytes out;
    AppendU32(out, kVcgtTag);
    AppendU32(out, 0);
    AppendU32(out, 1);  // formula
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
