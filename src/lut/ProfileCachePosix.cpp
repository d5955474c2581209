#include "lut/ProfileCache.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Log.h"

namespace {

// A copy being written is named after its target, a dot and this many letters or digits.
constexpr std::size_t kTemporaryTailLength = 6;
constexpr std::string_view kTemporaryLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// A copy being written that is older than this was left by a run that ended early.
constexpr std::time_t kStaleSeconds = 60;

// An open file descriptor, closed when the holder goes away.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// A file with a name no one has used, made in the folder beside its target (mode
// 0600), removed unless it has been moved over the target.
class TemporaryCopy {
public:
    TemporaryCopy(int folder, std::string target) : m_folder(folder), m_target(std::move(target)) {}
    ~TemporaryCopy()
    {
        if (m_fd >= 0)
            close(m_fd);
        if (!m_name.empty())
            unlinkat(m_folder, m_name.c_str(), 0);
    }
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    // The folder is the user's alone, so the name need not be hard to guess; it only
    // has to differ from that of another run writing at the same time.
    bool Create()
    {
        std::minstd_rand random(static_cast<unsigned>(
            std::chrono::steady_clock::now().time_since_epoch().count() ^ (static_cast<long long>(getpid()) << 16)));
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = m_target + '.';
            for (std::size_t i = 0; i < kTemporaryTailLength; ++i)
                name += kTemporaryLetters[random() % kTemporaryLetters.size()];
            m_fd = openat(m_folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (m_fd >= 0) {
                m_name = std::move(name);
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }
    bool Write(std::span<const std::uint8_t> bytes)
    {
        while (!bytes.empty()) {
            const ssize_t written = write(m_fd, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                if (written == 0)
                    errno = EIO;
                return false;
            }
            bytes = bytes.subspan(static_cast<std::size_t>(written));
        }
        return true;
    }
    bool MoveOverTarget()
    {
        if (close(std::exchange(m_fd, -1)) != 0 || renameat(m_folder, m_name.c_str(), m_folder, m_target.c_str()) != 0)
            return false;
        m_name.clear();
        return true;
    }

private:
    int m_folder;
    std::string m_target;
    std::string m_name;
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

bool AllOf(std::string_view text, int (*test)(int))
{
    for (const char c : text) {
        if (!test(static_cast<unsigned char>(c)))
            return false;
    }
    return !text.empty();
}

// display-<digits>.icc.<letters>: a copy being written, of any display.
bool IsTemporaryCopyName(std::string_view name)
{
    constexpr std::string_view kStart = "display-", kEnd = ".icc.";
    if (name.size() <= kStart.size() + kEnd.size() + kTemporaryTailLength || !name.starts_with(kStart))
        return false;
    const std::string_view middle = name.substr(kStart.size(), name.size() - kStart.size() - kTemporaryTailLength);
    return middle.ends_with(kEnd) && AllOf(middle.substr(0, middle.size() - kEnd.size()), isdigit) &&
           AllOf(name.substr(name.size() - kTemporaryTailLength), isalnum);
}

// A run killed while it wrote its copy leaves the file behind; the next run clears
// such files away once they are old enough not to be another run's work in progress.
void RemoveStaleCopies(int folder)
{
    Descriptor copy(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR* listing = copy.Get() >= 0 ? fdopendir(copy.Get()) : nullptr;
    if (!listing)
        return;
    copy.Release();  // the listing closes it
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = readdir(listing)) {
        struct stat status {};
        if (IsTemporaryCopyName(entry->d_name) && fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            status.st_mtime < now - kStaleSeconds)
            unlinkat(folder, entry->d_name, 0);
    }
    closedir(listing);
}

// The folder, made when missing, opened when it is the user's alone: no one else can
// then plant, swap or read a file in it. -1 with the reason otherwise.
int OpenOwnFolder(const std::string& cacheHome, const std::string& path, std::string& why)
{
    if ((mkdir(cacheHome.c_str(), 0700) != 0 && errno != EEXIST) || (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)) {
        why = std::strerror(errno);
        return -1;
    }
    Descriptor folder(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (folder.Get() < 0 || fstat(folder.Get(), &status) != 0) {
        why = std::strerror(errno);
        return -1;
    }
    if (status.st_uid != geteuid() || (status.st_mode & 0777) != 0700) {
        why = "the folder must be yours alone (owned by you, mode 0700)";
        return -1;
    }
    return folder.Release();
}

bool WriteCopy(int folder, int displayIndex, std::span<const std::uint8_t> bytes, std::string& why)
{
    RemoveStaleCopies(folder);
    TemporaryCopy copy(folder, "display-" + std::to_string(displayIndex) + ".icc");
    if (copy.Create() && copy.Write(bytes) && copy.MoveOverTarget())
        return true;
    why = std::strerror(errno);
    return false;
}

} // namespace

bool StoreDisplayProfile(int displayIndex, std::span<const std::uint8_t> bytes)
{
    const std::optional<std::string> cacheHome = CacheHome();
    if (!cacheHome) {
        LogError("rampwise: the colour profile of display %d was not copied: neither XDG_CACHE_HOME nor HOME is "
                 "an absolute path",
                 displayIndex);
        return false;
    }
    const std::string path = *cacheHome + "/rampwise";
    std::string why;
    const Descriptor folder(OpenOwnFolder(*cacheHome, path, why));
    if (folder.Get() >= 0 && WriteCopy(folder.Get(), displayIndex, bytes, why))
        return true;
    LogError("rampwise: the colour profile of display %d was not copied to %s: %s", displayIndex, path.c_str(),
             why.c_str());
    return false;
}
