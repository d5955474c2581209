#include "base/File.h"

#include <cerrno>
#include <utility>

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

bool CFile::Open(const std::string& path)
{
    if (m_file)
        return false;
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file)
        return false;
    m_fileName = path;
    return true;
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
    int flushed = std::fflush(m_file);
    int flushError = errno;
    int closed = std::fclose(m_file);
    m_file = nullptr;
    if (flushed != 0 || closed != 0)
        throw CFileException(flushed != 0 ? flushError : errno, m_fileName);
}
