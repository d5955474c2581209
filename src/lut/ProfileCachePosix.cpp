#include "lut/ProfileCache.h"

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <utility>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A file made with a unique name beside its target (mode 0600), removed unless it
// has been moved over the target.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string pattern) : m_path(std::move(pattern)) { m_fd = mkstemp(m_path.data()); }
    ~TemporaryFile()
    {
        if (m_fd >= 0) {
            close(m_fd);
            unlink(m_path.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    bool WriteAll(std::span<const std::uint8_t> bytes)
    {
        while (!bytes.empty()) {
            const ssize_t written = write(m_fd, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            bytes = bytes.subspan(static_cast<std::size_t>(written));
        }
        return true;
    }
    bool MoveTo(const std::string& target)
    {
        const bool closed = close(std::exchange(m_fd, -1)) == 0;
        if (closed && rename(m_path.c_str(), target.c_str()) == 0)
            return true;
        unlink(m_path.c_str());
        return false;
    }

private:
    std::string m_path;
    int m_fd = -1;
};

bool IsAbsolute(const char* path)
{
    return path && path[0] == '/';
}

// "/home/ann/" and "/home/ann" name the same folder; the paths built on it should not differ.
std::string WithoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The user's cache folder; a relative setting is ignored, as the convention says.
std::optional<std::string> CacheHome()
{
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); IsAbsolute(cache))
        return WithoutTrailingSlashes(cache);
    const char* home = std::getenv("HOME");
    if (!IsAbsolute(home)) {
        const passwd* entry = getpwuid(getuid());
        home = entry ? entry->pw_dir : nullptr;
    }
    if (!IsAbsolute(home))
        return std::nullopt;
    return WithoutTrailingSlashes(home) + "/.cache";
}

bool MakeFolder(const std::string& path)
{
    return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

} // namespace

std::string StoreDisplayProfile(int displayIndex, std::span<const std::uint8_t> bytes)
{
    const std::optional<std::string> cacheHome = CacheHome();
    if (!cacheHome)
        return {};
    const std::string folder = *cacheHome + "/rampwise";
    if (!MakeFolder(*cacheHome) || !MakeFolder(folder))
        return {};
    const std::string target = folder + "/display-" + std::to_string(displayIndex) + ".icc";
    TemporaryFile file(target + ".XXXXXX");
    if (!file.IsOpen() || !file.WriteAll(bytes) || !file.MoveTo(target))
        return {};
    return target;
}
