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

// A binary file written from its start, closed when the object goes away. The file
// is opened by the caller, who knows how it must be created; once attached, write
// errors raise CFileException.
class CFile {
public:
    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Takes over a stream open for writing. Errors name the file fileName, which is
    // the name the user knows, not necessarily the one the stream was opened by.
    void Attach(std::FILE* file, std::string fileName);
    // Writes all bytes or raises.
    void Write(const void* buffer, std::size_t size);
    // Stores the data on the disk and closes; raises when that failed.
    void Close();

    bool IsOpen() const { return m_file != nullptr; }
    const std::string& FileName() const { return m_fileName; }

private:
    std::FILE* m_file = nullptr;
    std::string m_fileName;
};
