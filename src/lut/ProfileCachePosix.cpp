#include "lut/ProfileCache.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/File.h"
#include "base/FileReplace.h"
#include "base/Log.h"
#include "base/TemporaryFilePosix.h"
#include "base/UserFolders.h"

namespace {

// A copy being written that is older than this was left by a run that ended early.
constexpr std::time_t kStaleSeconds = 60;

// A run killed while it wrote its copy leaves the temporary file behind; the next run
// clears such files away once they are old enough not to be another run's work in
// progress. The folder is the program's alone, so every temporary file in it is ours.
void RemoveStaleCopies(int folder)
{
    FileDescriptor copy(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR* listing = copy ? fdopendir(copy.Get()) : nullptr;
    if (!listing)
        return;
    copy.Release();  // the listing closes it
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = readdir(listing)) {
        struct stat status {};
        if (IsTemporaryFileName(entry->d_name) && fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            status.st_mtime < now - kStaleSeconds)
            unlinkat(folder, entry->d_name, 0);
    }
    closedir(listing);
}

bool WriteCopy(int folder, int displayIndex, std::span<const std::uint8_t> bytes, std::string& why)
{
    RemoveStaleCopies(folder);
    const std::string name = "display-" + std::to_string(displayIndex) + ".icc";
    TemporaryFile copy(folder, name, 0600);
    try {
        if (copy && copy.Write(bytes.data(), bytes.size(), name) && copy.MoveOverTarget())
            return true;
        why = std::strerror(errno);
    } catch (const CFileException& error) {
        why = std::strerror(error.ErrorCode());
    }
    return false;
}

} // namespace

bool StoreDisplayProfile(int displayIndex, std::span<const std::uint8_t> bytes)
{
    const std::optional<std::filesystem::path> folder = ProgramFolder(UserFolder::Cache);
    if (!folder) {
        LogError("rampwise: the colour profile of display %d was not copied: neither XDG_CACHE_HOME nor HOME is "
                 "an absolute path",
                 displayIndex);
        return false;
    }
    std::string why;
    const FileDescriptor opened = OpenPrivateFolder(*folder, why);
    if (opened && WriteCopy(opened.Get(), displayIndex, bytes, why))
        return true;
    LogError("rampwise: the colour profile of display %d was not copied to %s: %s", displayIndex, folder->c_str(),
             why.c_str());
    return false;
}
