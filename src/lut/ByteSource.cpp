#include "lut/ByteSource.h"

#include <cerrno>
#include <cstring>

namespace {

// The plain fseek/ftell take a long, which is 32 bits on Windows.
int SeekTo(std::FILE* file, std::uint64_t pos, int origin)
{
#ifdef _WIN32
    return _fseeki64(file, static_cast<__int64>(pos), origin);
#else
    return fseeko(file, static_cast<off_t>(pos), origin);
#endif
}

std::int64_t Tell(std::FILE* file)
{
#ifdef _WIN32
    return _ftelli64(file);
#else
    return ftello(file);
#endif
}

} // namespace

bool MemoryByteSource::ReadAt(std::uint64_t pos, void* buffer, std::size_t n)
{
    if (!Contains(pos, n))
        return false;
    if (n > 0)
        std::memcpy(buffer, m_data + pos, n);
    return true;
}

bool FileByteSource::Open(const char* path)
{
    m_file.reset(std::fopen(path, "rb"));
    m_size = kUnknown;
    m_position = 0;
    m_readError.reset();
    if (!m_file)
        return false;
    // A failed seek leaves the stream at its start, where forward reads still work.
    if (SeekTo(m_file.get(), 0, SEEK_END) == 0) {
        m_position = kUnknown;
        const std::int64_t end = Tell(m_file.get());
        if (end >= 0)
            m_size = static_cast<std::uint64_t>(end);
    }
    return true;
}

bool FileByteSource::ReadAt(std::uint64_t pos, void* buffer, std::size_t n)
{
    m_readError.reset();
    if (!m_file || !Contains(pos, n))
        return false;
    if (n == 0)
        return true;
    errno = 0;
    if (pos != m_position) {
        if (SeekTo(m_file.get(), pos, SEEK_SET) != 0) {
            m_position = kUnknown;
            m_readError = errno;
            return false;
        }
        m_position = pos;
    }
    const std::size_t got = std::fread(buffer, 1, n, m_file.get());
    if (got != n) {
        // The file shrank since it was opened, ends before the size it could not
        // report, or the read failed.
        m_position = kUnknown;
        if (std::ferror(m_file.get()))
            m_readError = errno;
        std::clearerr(m_file.get());
        return false;
    }
    m_position += got;
    return true;
}
