#pragma once

#include <cstddef>
#include <cstdio>
#include <stdexcept>
#include <string>

// Raised when the platform reports an error while an open file is read or written.
class CFileException : public std::runtime_error {
public:
    CFileException(int errorCode, std::string fileName);

    int ErrorCode() const { return m_errorCode; }
    const std::string& FileName() const { return m_fileName; }

private:
    int m_errorCode;
    std::string m_fileName;
};

// A binary file that is closed when the object goes away. Opening reports failure
// as false; once open, read and write errors raise CFileException.
class CFile {
public:
    enum class Mode { Read, Write };

    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    bool Open(const std::string& path, Mode mode);
    // Returns the number of bytes read, fewer only at the end of the file.
    std::size_t Read(void* buffer, std::size_t size);
    // Writes all bytes or raises.
    void Write(const void* buffer, std::size_t size);
    // Flushes and closes; raises when buffered data could not be stored.
    void Close();

    bool IsOpen() const { return m_file != nullptr; }
    const std::string& FileName() const { return m_fileName; }

private:
    std::FILE* m_file = nullptr;
    std::string m_fileName;
};
