#include "base/FileReplace.h"

#include <cerrno>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/File.h"

namespace {

constexpr int kNameAttempts = 100;

// The temporary file beside the target, removed when the object goes away unless it
// has taken the target's place.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile()
    {
        if (!m_path.empty())
            unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates a new file beside target with the mode (less the umask); -1 when no
    // name could be created. A name that exists in any form, a symbolic link planted
    // by someone else included, is never opened.
    int Create(const std::string& target, mode_t mode)
    {
        const std::string folder = target.substr(0, target.rfind('/') + 1);
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            const std::string path = folder + TemporaryFileName();
            const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            if (fd >= 0) {
                m_path = path;
                return fd;
            }
            if (errno != EEXIST)
                break;
        }
        return -1;
    }
    const std::string& Path() const { return m_path; }
    void Keep() { m_path.clear(); }

private:
    std::string m_path;
};

// Writes the bytes through a descriptor that the file takes over; raises with the
// name the user knows. False when no stream could be made.
bool WriteThrough(int fd, const std::string& userPath, const void* data, std::size_t size)
{
    std::FILE* stream = fdopen(fd, "wb");
    if (!stream) {
        close(fd);
        return false;
    }
    CFile file;
    file.Attach(stream, userPath);
    file.Write(data, size);
    file.Close();
    return true;
}

// A file that nobody may write is read-only to root as well, as the read-only
// attribute is on Windows: a save must not slip past it.
bool IsWritable(const std::string& path, const struct stat& status)
{
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// The file a symbolic link leads to, or the path itself; empty when it cannot be found.
std::string ResolvedPath(const std::string& path)
{
    const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

} // namespace

bool ReplaceFileContent(const std::string& path, const void* data, std::size_t size)
{
    struct stat old {};
    const bool exists = stat(path.c_str(), &old) == 0;
    std::string target = path;
    if (exists) {
        if (!S_ISREG(old.st_mode) || !IsWritable(path, old))
            return false;
        target = ResolvedPath(path);
        if (target.empty())
            return false;
    } else {
        // A link that leads nowhere is refused rather than followed to create a file.
        struct stat link {};
        if (errno != ENOENT || lstat(path.c_str(), &link) == 0)
            return false;
    }

    {
        TemporaryFile temporary;
        const int fd = temporary.Create(target, exists ? S_IRUSR | S_IWUSR : 0666);
        if (fd >= 0) {
            if (exists) {
                // Keep the owner where allowed (root saving a user's file), then the mode.
                (void)!fchown(fd, old.st_uid, old.st_gid);
                (void)fchmod(fd, old.st_mode & 07777);
            }
            if (!WriteThrough(fd, path, data, size))
                return false;
            if (rename(temporary.Path().c_str(), target.c_str()) == 0) {
                temporary.Keep();
                return true;
            }
        }
        if (!exists)
            return false;
    }
    // The folder takes no new file, or does not let this user replace the file (a
    // sticky folder), but the file itself may be written: write it in place, as a
    // plain save would. A failed write then leaves it damaged.
    const int fd = open(target.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    return fd >= 0 && WriteThrough(fd, path, data, size);
}
