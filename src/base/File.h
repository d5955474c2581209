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

// A binary file written from its start, closed when the object goes away. Opening
// reports failure as false; once open, write errors raise CFileException.
class CFile {
public:
    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Creates the file, or empties an existing one.
    bool Open(const std::string& path);
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
