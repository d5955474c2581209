#include "base/UserFolders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A relative setting is not one a session made, and counts as unset, as the XDG
// convention says. "/home/ann/" and "/home/ann" name the same folder, and the paths
// built on it should not differ.
std::optional<fs::path> AbsoluteFolder(const char* path)
{
    if (!path || path[0] != '/')
        return std::nullopt;
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return fs::path(folder);
}

std::optional<fs::path> HomeFolder()
{
    if (std::optional<fs::path> home = AbsoluteFolder(std::getenv("HOME")))
        return home;
    const passwd* entry = getpwuid(getuid());
    return AbsoluteFolder(entry ? entry->pw_dir : nullptr);
}

} // namespace

std::optional<fs::path> ProgramFolder(UserFolder kind)
{
    struct Convention {
        const char* variable;
        const char* belowHome;  // nullptr: no stand-in
    };
    static constexpr Convention kConventions[] = {
        {"XDG_RUNTIME_DIR", nullptr},
        {"XDG_STATE_HOME", ".local/state"},
        {"XDG_CACHE_HOME", ".cache"},
        {"XDG_CONFIG_HOME", ".config"},
    };
    const Convention& convention = kConventions[static_cast<int>(kind)];
    std::optional<fs::path> base = AbsoluteFolder(std::getenv(convention.variable));
    if (!base && convention.belowHome) {
        if (const std::optional<fs::path> home = HomeFolder())
            base = *home / convention.belowHome;
    }
    if (!base)
        return std::nullopt;
    return *base / "rampwise";
}

FileDescriptor OpenPrivateFolder(const fs::path& folder, std::string& why)
{
    for (const fs::path& path : {folder.parent_path(), folder}) {
        if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
            why = std::strerror(errno);
            return {};
        }
    }
    FileDescriptor opened(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (!opened || fstat(opened.Get(), &status) != 0) {
        why = std::strerror(errno);
        return {};
    }
    if (status.st_uid != geteuid() || (status.st_mode & 0777) != 0700) {
        why = "the folder must be yours alone (owned by you, mode 0700)";
        return {};
    }
    return opened;
}
