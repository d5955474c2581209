#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

// The bytes a file format is parsed from. Every read names its position and either
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
// file costs no more than the bytes the parser asks for. A file whose size cannot be
// found reports the largest size and is read forward from its start; the read itself
// then tells how far the bytes go.
class FileByteSource final : public ByteSource {
public:
    // False when the file cannot be opened, or is a named pipe, a socket or a device:
    // those are refused without waiting, never read.
    bool Open(const char* path);

    std::uint64_t Size() const override { return m_size; }
    bool ReadAt(std::uint64_t pos, void* buffer, std::size_t n) override;
    // The platform's error code when the last failed read failed on the open file
    // itself, rather than by reaching past its end.
    std::optional<int> ReadError() const { return m_readError; }

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    static constexpr std::uint64_t kUnknown = ~std::uint64_t{0};

    std::unique_ptr<std::FILE, Closer> m_file;
    std::uint64_t m_size = kUnknown;
    // Where the stream stands, so that sequential reads need no seek.
    std::uint64_t m_position = kUnknown;
    std::optional<int> m_readError;
};
