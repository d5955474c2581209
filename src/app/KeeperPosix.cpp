// The keeper on Linux: one process per display of an X server, found through a lock
// file, that puts the ramp back when the display no longer holds it.

#include "app/Keeper.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>
#include <algorithm>

#include "app/DisplayKeepPort.h"
#include "base/FileDescriptor.h"
#include "base/Log.h"
#include "base/UserFolders.h"
#include "lut/DisplayAccessX11.h"
#include "lut/X11Display.h"
#include "lut/X11Events.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::string_view kLockPrefix = "keep-";
constexpr std::string_view kLockSuffix = ".lock";
// Beside each lock: the keeper's socket, where "/pt" hands it a ramp, and its status.
constexpr std::string_view kSocketSuffix = ".sock";
constexpr std::string_view kStatusSuffix = ".status";
// A handed ramp: this tag, the ramp's entries, then the source's name.
constexpr char kRampTag[4] = {'R', 'W', 'K', '1'};
constexpr std::size_t kLongestSource = 4096;
// How often a new keeper opens the lock file anew because the keeper before removed it.
constexpr int kLockRounds = 100;

sigset_t EndingSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    return signals;
}

// $XDG_RUNTIME_DIR/rampwise, opened when it is the user's alone: another user who
// could make files in it could hold this user's locks, or make them follow a link.
// Nothing, after a line that says why, otherwise; without the runtime folder there is
// no keeper.
FileDescriptor OpenLockFolder(fs::path& folder)
{
    const std::optional<fs::path> found = ProgramFolder(UserFolder::Runtime);
    if (!found) {
        LogError("rampwise: XDG_RUNTIME_DIR is not set: keepers need it for their lock files");
        return {};
    }
    folder = *found;
    std::string why;
    FileDescriptor opened = OpenPrivateFolder(folder, why);
    if (!opened)
        LogError("rampwise: the lock folder %s cannot be used: %s", folder.c_str(), why.c_str());
    return opened;
}

// The server that DISPLAY names, however it is spelt: ":0", ":0.1", "unix:0" and
// "localhost:0" all name the server ":0"; with no slash.
std::string ServerName()
{
    std::string server = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    if (const std::size_t colon = server.rfind(':'); colon != std::string::npos) {
        server.erase(std::min(server.size(), server.find('.', colon)));
        if (const std::string_view host(server.data(), colon); host == "unix" || host == "localhost")
            server.erase(0, colon);
    }
    for (char& c : server)
        c = c == '/' ? '_' : c;
    return server;
}

// The name of the lock file of a monitor of the server, and its other files' with another suffix.
std::string LockName(const std::string& monitor, std::string_view suffix = kLockSuffix)
{
    return std::string(kLockPrefix) + ServerName() + "-" + EscapedForName(monitor) + std::string(suffix);
}

std::string WithSuffix(std::string lockName, std::string_view suffix)
{
    return lockName.replace(lockName.size() - kLockSuffix.size(), kLockSuffix.size(), suffix);
}

// A keeper's files, removed as it ends.
void RemoveFiles(const std::vector<std::string>& files)
{
    for (const std::string& file : files)
        unlink(file.c_str());
}

// A datagram socket's address for the path; false when the path is too long for one.
bool SocketAddress(const fs::path& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.native().size());
    return true;
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

// A /keep claims its display before it waits for the lock: the claim file beside the
// lock holds the pid of the last one that did, written in one write of one width.
// The last /keep wins: a waiter that finds a later claim gives up.
class DisplayClaim {
public:
    DisplayClaim() = default;
    DisplayClaim(int folder, const std::string& lockName)
        : m_file(openat(folder, (lockName.substr(0, lockName.size() - kLockSuffix.size()) + ".claim").c_str(),
                        O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600))
    {
        char text[kWidth + 1];
        std::snprintf(text, sizeof(text), "%*d", static_cast<int>(kWidth), static_cast<int>(getpid()));
        if (m_file && pwrite(m_file.Get(), text, kWidth, 0) != static_cast<ssize_t>(kWidth))
            m_file.Reset();
    }
    // Whether a later /keep has claimed the display since.
    bool Superseded() const
    {
        char text[kWidth + 1] = {};
        return m_file && pread(m_file.Get(), text, kWidth, 0) == static_cast<ssize_t>(kWidth) &&
               std::atol(text) != getpid();
    }

private:
    static constexpr std::size_t kWidth = 15;
    FileDescriptor m_file;
};

// Takes the lock of the open file, asking its holder to end first. The signal goes
// through a pidfd, and only while the kernel lists that process as the holder: a
// process that merely got a keeper's old pid is never signalled. Failed when the lock
// is still held after kKeeperEndSeconds; Superseded, without a signal sent or the lock
// kept, when a later claim of the display came meanwhile.
KeepPort::TakeOverResult TakeLock(int fd, const fs::path& path, const DisplayClaim& claim = {})
{
    using Result = KeepPort::TakeOverResult;
    const auto deadline = Clock::now() + std::chrono::seconds(kKeeperEndSeconds);
    pid_t signalled = 0;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int why = errno;
        if (claim.Superseded())
            return Result::Superseded;
        if ((why != EWOULDBLOCK && why != EINTR) || Clock::now() >= deadline) {
            LogError("rampwise: the keeper that holds %s did not end within %d seconds", path.c_str(),
                     kKeeperEndSeconds);
            return Result::Failed;
        }
        // A holder that has not written its pid yet is asked on the next round.
        if (const pid_t holder = WrittenPid(fd); holder > 0 && holder != signalled) {
            // Called directly: the C library's declarations of these are not usable from C++ everywhere.
            const FileDescriptor process(static_cast<int>(syscall(SYS_pidfd_open, holder, 0)));
            if (process && HoldsLock(holder, fd) &&
                syscall(SYS_pidfd_send_signal, process.Get(), SIGTERM, nullptr, 0) == 0)
                signalled = holder;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return claim.Superseded() ? Result::Superseded : Result::Taken;
}

// The lock file, the ending signals and the X server's change events.
class PosixKeepPort final : public DisplayKeepPort {
public:
    // Blocked before any thread starts, so that every thread inherits the mask and the
    // signals wait for the thread that takes them.
    PosixKeepPort()
    {
        const sigset_t ending = EndingSignals();
        pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    }

    TakeOverResult TakeOver(const std::string& monitor) override;
    // Over the connection that hears the changes once there is one.
    std::vector<DisplayListing> Displays() override
    {
        return m_watch ? m_watch->AskOver([](X11Connection& c) { return ListDisplays(c); }) : ListDisplays();
    }
    // Over the connection that hears the changes: a check costs no connection of its own,
    // and, while nothing changes, one question about the CRTC found before.
    std::optional<RampDifference> Compare(int displayIndex, const GammaRamp& ramp) override
    {
        return m_watch->AskOver([&](X11Connection& c) {
            if (!m_crtc || m_crtc->first != displayIndex)
                m_crtc.reset();
            if (const std::optional<X11DisplayCrtc> crtc = m_crtc ? m_crtc->second : FindDisplayCrtc(c, displayIndex))
                m_crtc.emplace(displayIndex, *crtc);
            std::optional<RampDifference> difference = m_crtc ? CompareCrtcRamp(c, m_crtc->second, ramp) : std::nullopt;
            if (!difference)
                m_crtc.reset();
            return difference;
        });
    }
    bool Write(int displayIndex, const GammaRamp& ramp) override
    {
        return m_watch->AskOver([&](X11Connection& c) { return WriteDisplayRamp(c, displayIndex, ramp); });
    }
    KeepWake Wait(Clock::time_point until) override;
    // The lock goes last, while it is still held.
    ~PosixKeepPort() override { RemoveFiles(m_ownFiles); }
    void Publish(const KeepStatus& status) override
    {
        const std::lock_guard publishing(*m_publishing);
        DisplayKeepPort::Publish(status);
    }

private:
    // The socket where "/pt" hands over a ramp; none when its path is too long.
    void OpenSocket(const fs::path& path);
    std::optional<KeepWake> TakeHandedRamp();

    std::string m_monitor;
    FileDescriptor m_lock;
    FileDescriptor m_socket;
    std::vector<std::string> m_ownFiles;  // status, socket and lock, once the monitor is this keeper's
    // Held while the status file is replaced; the ending signals' thread takes it for good.
    std::shared_ptr<std::mutex> m_publishing = std::make_shared<std::mutex>();
    std::optional<X11ChangeWatch> m_watch;
    std::optional<std::pair<int, X11DisplayCrtc>> m_crtc;  // display number and its CRTC, until a change
};

KeepPort::TakeOverResult PosixKeepPort::TakeOver(const std::string& monitor)
{
    m_monitor = monitor;
    fs::path folder;
    const FileDescriptor lockFolder = OpenLockFolder(folder);
    if (!lockFolder)
        return TakeOverResult::Failed;
    const std::string name = LockName(monitor);
    const fs::path path = folder / name;
    const DisplayClaim claim(lockFolder.Get(), name);
    // A keeper removes its lock file as it ends: a lock on a file that is no longer
    // there holds nothing, and the file is opened anew.
    for (int round = 0;; ++round) {
        m_lock = FileDescriptor(openat(lockFolder.Get(), name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!m_lock || round == kLockRounds) {
            LogError("rampwise: %s cannot be opened (error %d)", path.c_str(), m_lock ? EAGAIN : errno);
            return TakeOverResult::Failed;
        }
        if (const TakeOverResult taken = TakeLock(m_lock.Get(), path, claim); taken != TakeOverResult::Taken)
            return taken;
        struct stat held {}, named {};
        if (fstat(m_lock.Get(), &held) == 0 && fstatat(lockFolder.Get(), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino)
            break;
    }
    const std::string pid = std::to_string(getpid()) + "\n";
    if (ftruncate(m_lock.Get(), 0) != 0 ||
        pwrite(m_lock.Get(), pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
        LogError("rampwise: %s cannot be written (error %d)", path.c_str(), errno);
        return TakeOverResult::Failed;
    }
    m_statusFile = folder / WithSuffix(name, kStatusSuffix);
    m_ownFiles = {m_statusFile->string(), (folder / WithSuffix(name, kSocketSuffix)).string(), path.string()};
    // The ending signals have a thread of their own, so that they end the keeper at
    // once, whatever it waits for (a stalled X server among them).
    try {
        std::thread([files = m_ownFiles, publishing = m_publishing] {
            const sigset_t ending = EndingSignals();
            int signal = 0;
            sigwait(&ending, &signal);
            // Not in the middle of replacing the status file: its temporary would stay.
            publishing->lock();
            RemoveFiles(files);
            _exit(0);
        }).detach();
    } catch (const std::system_error& error) {
        m_ownFiles.clear();
        LogError("rampwise: the ending signals cannot be waited for (error %d): %s is not kept",
                 error.code().value(), monitor.c_str());
        return TakeOverResult::Failed;
    }
    OpenSocket(folder / WithSuffix(name, kSocketSuffix));
    m_watch.emplace();
    return TakeOverResult::Taken;
}

void PosixKeepPort::OpenSocket(const fs::path& path)
{
    sockaddr_un address;
    if (!SocketAddress(path, address))
        return;
    // A socket left by a keeper before that was killed is in the way.
    unlink(path.c_str());
    m_socket = FileDescriptor(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (m_socket && bind(m_socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        m_socket.Reset();
}

// A datagram of the right shape is a ramp to keep; anything else is dropped.
std::optional<KeepWake> PosixKeepPort::TakeHandedRamp()
{
    KeepWake wake = KeepWake::Of(KeepWake::Kind::NewRamp);
    std::vector<char> datagram(sizeof(kRampTag) + sizeof(wake.ramp.entries) + kLongestSource);
    const ssize_t size = recv(m_socket.Get(), datagram.data(), datagram.size(), MSG_TRUNC);
    const std::size_t head = sizeof(kRampTag) + sizeof(wake.ramp.entries);
    if (size < static_cast<ssize_t>(head) || static_cast<std::size_t>(size) > datagram.size() ||
        std::memcmp(datagram.data(), kRampTag, sizeof(kRampTag)) != 0)
        return std::nullopt;
    std::memcpy(wake.ramp.entries.data(), datagram.data() + sizeof(kRampTag), sizeof(wake.ramp.entries));
    wake.source.assign(datagram.data() + head, static_cast<std::size_t>(size) - head);
    return wake;
}

KeepWake PosixKeepPort::Wait(Clock::time_point until)
{
    for (;;) {
        // Events that came in while a check waited for replies are queued already.
        if (const char* change = m_watch->TakeChange()) {
            m_crtc.reset();
            return KeepWake::Of(KeepWake::Kind::Event, change);
        }
        if (m_watch->Broken()) {
            LogError("rampwise: the X server (%s) has gone: %s is no longer kept", X11ServerName().c_str(),
                     m_monitor.c_str());
            return KeepWake::Of(KeepWake::Kind::Gone);
        }
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
        if (wait.count() <= 0)
            return KeepWake::Of(KeepWake::Kind::Due);
        pollfd waitFor[2] = {{m_watch->FileDescriptor(), POLLIN, 0}, {m_socket.Get(), POLLIN, 0}};
        if (poll(waitFor, m_socket ? 2 : 1, static_cast<int>(wait.count())) == 0)
            return KeepWake::Of(KeepWake::Kind::Due);
        if (waitFor[1].revents & POLLIN) {
            if (std::optional<KeepWake> handed = TakeHandedRamp())
                return *handed;
        }
    }
}

// The files of the keepers that run now, by their lock files' names.
std::vector<std::string> RunningKeepers(int lockFolder, const fs::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const FileDescriptor file(name.starts_with(kLockPrefix) && name.ends_with(kLockSuffix)
                                      ? openat(lockFolder, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW)
                                      : -1);
        if (file && HoldsLock(WrittenPid(file.Get()), file.Get()))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

int RunKeeper(const LaunchArguments& arguments)
{
    PosixKeepPort port;
    SystemKeepClock clock;
    return RunKeep(arguments, port, clock);
}

std::vector<std::string> KeeperStatusLines()
{
    std::vector<std::string> lines;
    fs::path folder;
    const std::optional<fs::path> found = ProgramFolder(UserFolder::Runtime);
    std::error_code error;
    if (!found || !fs::exists(*found, error))
        return lines;
    const FileDescriptor lockFolder = OpenLockFolder(folder);
    for (const std::string& name : lockFolder ? RunningKeepers(lockFolder.Get(), folder) : std::vector<std::string>{}) {
        std::ifstream status(folder / WithSuffix(name, kStatusSuffix));
        std::string line;
        if (std::getline(status, line) && !line.empty())
            lines.push_back(line);
    }
    return lines;
}

bool HandRampToKeeper(int displayIndex, const GammaRamp& ramp, const std::string& source)
{
    // Only where a keeper of this server runs are the displays listed to name the monitor.
    const std::optional<fs::path> found = ProgramFolder(UserFolder::Runtime);
    std::error_code error;
    const std::string server = std::string(kLockPrefix) + ServerName() + "-";
    bool anyKeeper = false;
    for (const fs::directory_entry& entry : fs::directory_iterator(found.value_or(fs::path()), error)) {
        const std::string name = entry.path().filename().string();
        anyKeeper = anyKeeper || (name.starts_with(server) && name.ends_with(kSocketSuffix));
    }
    fs::path folder;
    const FileDescriptor lockFolder = anyKeeper ? OpenLockFolder(folder) : FileDescriptor();
    sockaddr_un address;
    if (!lockFolder ||
        !SocketAddress(folder / LockName(KeptMonitorName(std::to_string(displayIndex), ListDisplays()), kSocketSuffix),
                       address))
        return false;
    std::string datagram(kRampTag, sizeof(kRampTag));
    datagram.append(reinterpret_cast<const char*>(ramp.entries.data()), sizeof(ramp.entries));
    datagram.append(source, 0, kLongestSource);
    const FileDescriptor sender(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    return sender && sendto(sender.Get(), datagram.data(), datagram.size(), 0,
                            reinterpret_cast<const sockaddr*>(&address), sizeof(address)) ==
                         static_cast<ssize_t>(datagram.size());
}

int ReleaseKeepers(const LaunchArguments& arguments)
{
    // A display number names a display of the server that DISPLAY names.
    if (const char* server = std::getenv("DISPLAY"); !arguments.ReleasesAll() && (!server || !*server)) {
        LogError("rampwise: cannot connect to the X server (%s)", X11ServerName().c_str());
        return 1;
    }
    fs::path folder;
    const FileDescriptor lockFolder = OpenLockFolder(folder);
    if (!lockFolder)
        return 1;
    std::vector<std::string> names;
    if (!arguments.ReleasesAll()) {
        names.push_back(LockName(KeptMonitorName(arguments.displayParameter, ListDisplays())));
    } else {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(kLockPrefix) && name.ends_with(kLockSuffix))
                names.push_back(name);
        }
    }
    int status = 0;
    for (const std::string& name : names) {
        // No file: that display never had a keeper.
        const FileDescriptor file(openat(lockFolder.Get(), name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
        if (!file)
            continue;
        status = TakeLock(file.Get(), folder / name) == KeepPort::TakeOverResult::Taken ? status : 1;
    }
    return status;
}
