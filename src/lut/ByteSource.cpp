#include "lut/ByteSource.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <sys/types.h>
#ifndef _WIN32
#include <fcntl.h>

#include "base/FileDescriptor.h"
#endif

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

// Opens the file for reading only when it is one whose reads end: a regular file, or
// a folder (whose read then fails, as a read error of the open file). A named pipe, a
// socket or a device is refused at once; reading one could wait for ever, and a log-on
// script that names one must not hang.
std::FILE* OpenForReading(const char* path)
{
#ifdef _WIN32
    // The run-time library types the handle by GetFileType: a disk file is _S_IFREG, a
    // pipe _S_IFIFO, a console or other device _S_IFCHR. Opening a pipe or a device
    // does not wait; only reading it could.
    std::FILE* file = std::fopen(path, "rb");
    struct _stat64 status {};
    if (file && (_fstat64(_fileno(file), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
#else
    // Without O_NONBLOCK the open itself waits for a writer when the path is a FIFO.
    FileDescriptor fd(open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!fd || fstat(fd.Get(), &status) != 0 || !(S_ISREG(status.st_mode) || S_ISDIR(status.st_mode)))
        return nullptr;
    // The reads themselves are ordinary ones: where a file can carry a mandatory lock,
    // O_NONBLOCK would make its read fail rather than wait for the lock.
    fcntl(fd.Get(), F_SETFL, fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = fdopen(fd.Get(), "rb");
    if (file)
        fd.Release();  // the stream closes it
    return file;
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
    m_file.reset(OpenForReading(path));
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
