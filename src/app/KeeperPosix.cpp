// The keeper on Linux: one process per display of an X server, found through a lock
// file, that puts the ramp back when the display no longer holds it.

#include "app/KeeperPosix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <thread>
#include <vector>

#include "app/KeepLog.h"
#include "app/KeepSchedule.h"
#include "base/Log.h"
#include "base/UserFolders.h"
#include "lut/DisplayAccess.h"
#include "lut/X11Events.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// How long the keeper that is asked to end has to do so.
constexpr int kEndSeconds = 5;
constexpr std::string_view kLockPrefix = "keep-";
constexpr std::string_view kLockSuffix = ".lock";

sigset_t EndingSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    return signals;
}

// $XDG_RUNTIME_DIR/rampwise: without the runtime folder there is no keeper.
std::optional<fs::path> LockFolder()
{
    std::optional<fs::path> folder = ProgramFolder(UserFolder::Runtime);
    if (!folder)
        LogError("rampwise: XDG_RUNTIME_DIR is not set: keepers need it for their lock files");
    return folder;
}

// The lock file of a display of the server that DISPLAY names. ":0" and ":0.1" name
// one server, whose displays are counted across its screens.
fs::path LockPath(const fs::path& folder, int displayIndex)
{
    std::string server = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    if (const std::size_t colon = server.rfind(':'); colon != std::string::npos)
        server.erase(std::min(server.size(), server.find('.', colon)));
    for (char& c : server)
        c = c == '/' ? '_' : c;
    return folder / (std::string(kLockPrefix) + server + "-" + std::to_string(displayIndex) + std::string(kLockSuffix));
}

// The pid that the holder of the lock wrote into the file, or 0.
pid_t WrittenPid(int fd)
{
    char text[24] = {};
    return pread(fd, text, sizeof(text) - 1, 0) > 0 ? static_cast<pid_t>(std::atol(text)) : 0;
}

// Whether the kernel lists the process as the holder of a flock lock on the file. The
// pid in the file alone may be stale: its writer killed, the pid given to another.
bool HoldsLock(pid_t pid, int fd)
{
    struct stat file {};
    std::FILE* locks = fstat(fd, &file) == 0 ? std::fopen("/proc/locks", "r") : nullptr;
    if (!locks)
        return false;
    char line[256];
    bool held = false;
    while (!held && std::fgets(line, sizeof(line), locks)) {
        // "1: FLOCK  ADVISORY  WRITE 1234 00:1a:5678 0 EOF"; a waiter's line has "->"
        // before FLOCK and does not match.
        int holder = 0;
        unsigned devMajor = 0, devMinor = 0;
        unsigned long inode = 0;
        held = std::sscanf(line, "%*d: FLOCK %*s %*s %d %x:%x:%lu", &holder, &devMajor, &devMinor, &inode) == 4 &&
               holder == pid && devMajor == major(file.st_dev) && devMinor == minor(file.st_dev) &&
               inode == file.st_ino;
    }
    std::fclose(locks);
    return held;
}

// Takes the lock of the open file, asking its holder to end first. The signal goes
// through a pidfd, and only while the kernel lists that process as the holder: a
// process that merely got a keeper's old pid is never signalled. False when the lock
// is still held after kEndSeconds.
bool TakeLock(int fd, const fs::path& path)
{
    const auto deadline = Clock::now() + std::chrono::seconds(kEndSeconds);
    pid_t signalled = 0;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || Clock::now() >= deadline) {
            LogError("rampwise: the keeper that holds %s did not end within %d seconds", path.c_str(), kEndSeconds);
            return false;
        }
        // A holder that has not written its pid yet is asked on the next round.
        if (const pid_t holder = WrittenPid(fd); holder > 0 && holder != signalled) {
            // Called directly: the C library's declarations of these are not usable from C++ everywhere.
            const FileDescriptor process(static_cast<int>(syscall(SYS_pidfd_open, holder, 0)));
            if (process.Get() >= 0 && HoldsLock(holder, fd) &&
                syscall(SYS_pidfd_send_signal, process.Get(), SIGTERM, nullptr, 0) == 0)
                signalled = holder;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// $XDG_STATE_HOME/rampwise/keep.log, else ~/.local/state/rampwise/keep.log. A line
// that cannot be written is dropped: the keeper goes on keeping.
void AppendToKeepLog(const std::string& line)
{
    const std::optional<fs::path> folder = ProgramFolder(UserFolder::State);
    if (!folder)
        return;
    std::error_code error;
    fs::create_directories(*folder, error);
    AppendKeepLogLine((*folder / "keep.log").string(), line);
}

// The output is the one the keeper started with: when it goes, another output may
// take its display number, and that one is left alone.
void CheckDisplay(X11ChangeWatch& watch, int displayIndex, std::optional<std::string>& output, const GammaRamp& ramp,
                  const char* cause)
{
    // A display that has gone is waited for, without a line each time: its coming
    // back is an output change, and the check after it writes the ramp again.
    const std::optional<std::string> now = watch.OutputName(displayIndex);
    if (!now || (output && now != output))
        return;
    output = now;
    const std::optional<RampDifference> difference = CompareDisplayRamp(displayIndex, ramp);
    if (!difference || difference->Holds() || !WriteDisplayRamp(displayIndex, ramp))
        return;
    AppendToKeepLog(FormatKeepLogLine(std::time(nullptr), displayIndex, cause, difference->largest));
}

} // namespace

std::optional<KeeperLock> TakeOverDisplay(int displayIndex)
{
    // Blocked before any thread starts, so that every thread inherits the mask and
    // the signals wait for the keeper's loop.
    const sigset_t ending = EndingSignals();
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    const std::optional<fs::path> folder = LockFolder();
    if (!folder)
        return std::nullopt;
    mkdir(folder->c_str(), 0700);
    const fs::path path = LockPath(*folder, displayIndex);
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        LogError("rampwise: %s cannot be opened (error %d)", path.c_str(), errno);
        return std::nullopt;
    }
    KeeperLock lock(fd);
    if (!TakeLock(fd, path))
        return std::nullopt;
    const std::string pid = std::to_string(getpid()) + "\n";
    if (ftruncate(fd, 0) != 0 || pwrite(fd, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
        LogError("rampwise: %s cannot be written (error %d)", path.c_str(), errno);
        return std::nullopt;
    }
    return lock;
}

int KeepDisplay(const KeeperLock&, int displayIndex, const GammaRamp& ramp)
{
    const sigset_t ending = EndingSignals();
    const FileDescriptor signals(signalfd(-1, &ending, SFD_CLOEXEC));
    if (signals.Get() < 0) {
        LogError("rampwise: the ending signals cannot be waited for (error %d): display %d is not kept", errno,
                 displayIndex);
        return 1;
    }
    X11ChangeWatch watch;
    KeepSchedule schedule(Clock::now());
    std::optional<std::string> output = watch.OutputName(displayIndex);
    for (;;) {
        if (const char* cause = schedule.TakeDue(Clock::now()))
            CheckDisplay(watch, displayIndex, output, ramp, cause);
        // Events that came in while the check waited for replies are queued already.
        while (const char* change = watch.TakeChange())
            schedule.EventAt(Clock::now(), change);
        if (watch.Broken()) {
            LogError("rampwise: the X server (%s) has gone: display %d is no longer kept", X11ServerName().c_str(),
                     displayIndex);
            return 1;
        }
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(schedule.NextCheck() - Clock::now());
        pollfd waitFor[] = {{watch.FileDescriptor(), POLLIN, 0}, {signals.Get(), POLLIN, 0}};
        if (poll(waitFor, 2, static_cast<int>(std::max<long long>(0, wait.count()))) > 0 && waitFor[1].revents != 0)
            return 0;
    }
}

int ReleaseKeepers(const LaunchArguments& arguments)
{
    const std::optional<fs::path> folder = LockFolder();
    if (!folder)
        return 1;
    std::vector<fs::path> files;
    if (!arguments.ReleasesAll()) {
        files.push_back(LockPath(*folder, arguments.DisplayIndex()));
    } else {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(*folder, error)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(kLockPrefix) && name.ends_with(kLockSuffix))
                files.push_back(entry.path());
        }
    }
    int status = 0;
    for (const fs::path& path : files) {
        // No file: that display never had a keeper.
        const FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
        if (file.Get() < 0)
            continue;
        status = TakeLock(file.Get(), path) ? status : 1;
    }
    return status;
}
