#include "base/File.h"

#include <cerrno>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

CFileException::CFileException(int errorCode, std::string fileName)
    : std::runtime_error("file error " + std::to_string(errorCode) + " on " + fileName),
      m_errorCode(errorCode),
      m_fileName(std::move(fileName))
{
}

CFile::~CFile()
{
    if (m_file)
        std::fclose(m_file);
}

void CFile::Attach(std::FILE* file, std::string fileName)
{
    if (m_file)
        std::fclose(m_file);
    m_file = file;
    m_fileName = std::move(fileName);
}

void CFile::Write(const void* buffer, std::size_t size)
{
    errno = 0;
    if (std::fwrite(buffer, 1, size, m_file) != size)
        throw CFileException(errno, m_fileName);
}

void CFile::Close()
{
    if (!m_file)
        return;
    errno = 0;
    // A file that replaces another must be on the disk before it takes the other's
    // name, or a crash could leave an empty file under that name.
    int flushed = std::fflush(m_file);
    if (flushed == 0) {
#ifdef _WIN32
        flushed = _commit(_fileno(m_file));
#else
        flushed = fsync(fileno(m_file));
        if (flushed != 0 && errno == EINVAL)
            flushed = 0;  // a file system that cannot sync stores the data anyway
#endif
    }
    int flushError = errno;
    int closed = std::fclose(m_file);
    m_file = nullptr;
    if (flushed != 0 || closed != 0)
        throw CFileException(flushed != 0 ? flushError : errno, m_fileName);
}
