#include "base/FileReplace.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/TemporaryFilePosix.h"

namespace {

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
        TemporaryFile temporary(AT_FDCWD, target, exists ? S_IRUSR | S_IWUSR : 0666);
        if (temporary) {
            if (exists) {
                // Keep the owner where allowed (root saving a user's file), then the mode.
                (void)!fchown(temporary.Descriptor(), old.st_uid, old.st_gid);
                (void)fchmod(temporary.Descriptor(), old.st_mode & 07777);
            }
            if (!temporary.Write(data, size, path))
                return false;
            if (temporary.MoveOverTarget())
                return true;
        }
        if (!exists)
            return false;
    }
    // The folder takes no new file, or does not let this user replace the file (a
    // sticky folder), but the file itself may be written: write it in place, as a
    // plain save would. A failed write then leaves it damaged.
    FileDescriptor file(open(target.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    return file && WriteWholeFile(std::move(file), path, data, size);
}
