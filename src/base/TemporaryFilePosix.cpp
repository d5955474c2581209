#include "base/TemporaryFilePosix.h"

#include <cerrno>
#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include "base/File.h"
#include "base/FileReplace.h"

namespace {

constexpr int kNameAttempts = 100;

} // namespace

TemporaryFile::TemporaryFile(int folder, std::string target, mode_t mode)
    : m_folder(folder), m_target(std::move(target))
{
    const std::string prefix = m_target.substr(0, m_target.rfind('/') + 1);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = prefix + TemporaryFileName();
        m_file.Reset(openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (m_file) {
            m_name = std::move(name);
            return;
        }
        if (errno != EEXIST)
            return;
    }
}

TemporaryFile::~TemporaryFile()
{
    if (!m_name.empty())
        unlinkat(m_folder, m_name.c_str(), 0);
}

bool TemporaryFile::Write(const void* data, std::size_t size, const std::string& userName)
{
    return WriteWholeFile(std::move(m_file), userName, data, size);
}

bool TemporaryFile::MoveOverTarget()
{
    m_file.Reset();
    if (m_name.empty() || renameat(m_folder, m_name.c_str(), m_folder, m_target.c_str()) != 0)
        return false;
    m_name.clear();
    return true;
}

bool WriteWholeFile(FileDescriptor file, const std::string& userName, const void* data, std::size_t size)
{
    std::FILE* stream = fdopen(file.Get(), "wb");
    if (!stream)
        return false;
    file.Release();  // the stream closes it
    CFile out;
    out.Attach(stream, userName);
    out.Write(data, size);
    out.Close();
    return true;
}
