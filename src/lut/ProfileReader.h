#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "lut/ProfileCurves.h"

// The bytes a profile is parsed from. Every read names its position and either
// delivers all n bytes or fails; a read that would reach past the end fails without
// touching the source, so the parser never has to trust an offset from the file.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    virtual std::uint64_t Size() const = 0;
    // Copies the n bytes from pos into buffer. False when [pos, pos + n) is not all
    // inside the source or the bytes cannot be read; buffer is then unspecified.
    virtual bool ReadAt(std::uint64_t pos, void* buffer, std::size_t n) = 0;

protected:
    // Written so that no sum can wrap: pos and n may be anything a file stores.
    bool Contains(std::uint64_t pos, std::size_t n) const
    {
        const std::uint64_t size = Size();
        return n <= size && pos <= size - n;
    }
};

// Bytes already in memory; the fuzzer parses through this.
class MemoryByteSource final : public ByteSource {
public:
    MemoryByteSource(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint64_t Size() const override { return m_size; }
    bool ReadAt(std::uint64_t pos, void* buffer, std::size_t n) override;

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

// A file read piece by piece with seek and read; it is never loaded whole, so a huge
// file costs no more than the bytes the parser asks for.
class FileByteSource final : public ByteSource {
public:
    // False when the file cannot be opened or its size cannot be found (a pipe, say).
    bool Open(const char* path);

    std::uint64_t Size() const override { return m_size; }
    bool ReadAt(std::uint64_t pos, void* buffer, std::size_t n) override;

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    static constexpr std::uint64_t kUnknownPosition = ~std::uint64_t{0};

    std::unique_ptr<std::FILE, Closer> m_file;
    std::uint64_t m_size = 0;
    // Where the stream stands, so that sequential reads need no seek.
    std::uint64_t m_position = kUnknownPosition;
};

struct ProfileCurveSet {
    CurveArray red;
    CurveArray green;
    CurveArray blue;
};

// The parser behind ReadProfileCurves. On true the set holds three curves of count
// entries (count > 0); on false it is left as it was. name appears in log lines.
bool ParseProfileCurves(ByteSource& source, const char* name, std::uint32_t count, ProfileCurveSet& curves);
