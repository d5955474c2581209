// The keeper run as a process, each scenario on a private X server of its own
// (started by the harness's own script), with the CRTC table read back through
// another connection.

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "support/CrtcGammaProbe.h"
#include "support/TempDir.h"
#include "support/TestRamps.h"

extern char** environ;

namespace {

bool Within(double seconds, const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(50)))
        if (std::chrono::steady_clock::now() > end)
            return done();
    return true;
}

// An Xorg with the dummy driver; it ends, if it has not already, with the holder.
class PrivateServer {
public:
    explicit PrivateServer(const std::string& folder)
    {
        const std::string command = "bash -c '. \"$0\" && start_private_x \"$1\" && echo \"$DISPLAY $XSERVER_PID\"' "
                                    RAMPWISE_XSERVER_SCRIPT " '" + folder + "'";
        std::FILE* out = popen(command.c_str(), "r");
        char display[32] = "";
        if (std::fscanf(out, "%31s %d", display, &m_pid) == 2)
            m_display = display;
        pclose(out);
    }
    ~PrivateServer() { Kill(); }
    void Kill()
    {
        // The server is not our child: it has gone when its lock file has.
        if (m_pid > 0 && kill(m_pid, SIGTERM) == 0)
            Within(10, [&] { return !std::filesystem::exists("/tmp/.X" + m_display.substr(1) + "-lock"); });
        m_pid = 0;
    }
    const std::string& Display() const { return m_display; }
    pid_t Pid() const { return m_pid; }

private:
    std::string m_display;
    pid_t m_pid = 0;
};

pid_t Start(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv{const_cast<char*>(RAMPWISE_PROGRAM)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    return posix_spawn(&pid, RAMPWISE_PROGRAM, nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

// The exit status once the process has ended within the time, else nothing.
std::optional<int> ExitStatus(pid_t pid, double seconds)
{
    int status = 0;
    if (!Within(seconds, [&] { return waitpid(pid, &status, WNOHANG) == pid; }))
        return std::nullopt;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

CrtcGammaTable TableOf(const GammaRamp& ramp)
{
    const auto& e = ramp.entries;
    return {{e.begin(), e.begin() + 256}, {e.begin() + 256, e.begin() + 512}, {e.begin() + 512, e.end()}};
}

} // namespace

TEST(LinuxKeeper, PutsTheRampBackUntilReleasedTakenOverEndedOrTheServerGoes)
{
    const TempDir files;
    // Far from each other and from the identity that a reset sets.
    GammaRamp first = DistinctRamp(0), second = DistinctRamp(1);
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        first.entries[i] /= 2, second.entries[i] = static_cast<std::uint16_t>(second.entries[i] / 4 * 3);
    const std::string firstLut = files.Write("first.lut", LutFileBytes(first));
    const std::string secondLut = files.Write("second.lut", LutFileBytes(second));
    const std::string reset = "xrandr --output DUMMY0 --gamma 1:1:1";
    const std::string program = RAMPWISE_PROGRAM;
    const struct {
        const char* name;
        std::string action;               // a shell command; {keeper} and {server} stand for their pids
        std::optional<int> status;        // of the first keeper, or nothing while it keeps
        const GammaRamp* held;            // what the display holds within 5 s, if anything is kept
        const char* logged = nullptr;     // the cause in the keeper's log
        double within = 5;                // seconds: an output that comes back is checked at once
    } cases[] = {
        {"another client resets the table", reset, std::nullopt, &first, "periodic check"},
        {"output switched off and on", "xrandr --output DUMMY0 --off && " + reset + " --auto", std::nullopt, &first,
         nullptr, 1.5},
        {"release of another display", program + " /release 1 && " + reset, std::nullopt, &first},
        {"second keeper takes over", program + " /pt " + secondLut + " 0 /keep & sleep 1 && " + reset, 0, &second},
        {"release of the display", program + " /release 0", 0, nullptr},
        {"release of every keeper", program + " /release", 0, nullptr},
        {"SIGTERM", "kill -TERM {keeper}", 0, nullptr},
        {"SIGINT", "kill -INT {keeper}", 0, nullptr},
        {"X server killed", "kill {server}", 1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir home;
        std::filesystem::create_directory(home.PathOf("run"));
        std::filesystem::permissions(home.PathOf("run"), std::filesystem::perms::owner_all);
        PrivateServer server(home.PathOf("x"));
        ASSERT_FALSE(server.Display().empty());
        setenv("DISPLAY", server.Display().c_str(), 1);
        setenv("XDG_RUNTIME_DIR", home.PathOf("run").c_str(), 1);
        setenv("XDG_STATE_HOME", home.PathOf("state").c_str(), 1);
        const pid_t keeper = Start({"/pt", firstLut, "0", "/keep"});
        EXPECT_TRUE(Within(5, [&] { return ReadCrtcGamma("DUMMY0") == TableOf(first); }));

        std::string action = c.action;
        for (const auto& [mark, pid] : {std::pair{std::string("{keeper}"), keeper}, {"{server}", server.Pid()}})
            if (const std::size_t at = action.find(mark); at != std::string::npos)
                action.replace(at, mark.size(), std::to_string(pid));
        EXPECT_EQ(std::system(action.c_str()), 0) << action;
        EXPECT_EQ(ExitStatus(keeper, c.status ? 6 : 0), c.status);
        if (c.held)
            EXPECT_TRUE(Within(c.within, [&] { return ReadCrtcGamma("DUMMY0") == TableOf(*c.held); }));
        if (c.logged) {
            std::ifstream log(home.PathOf("state/rampwise/keep.log"));
            std::string line;
            std::getline(log, line);
            EXPECT_NE(line.find(" display 0: re-applied after " + std::string(c.logged)), std::string::npos) << line;
        }
        if (!c.status) {
            kill(keeper, SIGTERM);
            EXPECT_EQ(ExitStatus(keeper, 5), 0);
        }
        server.Kill();  // and with it a keeper that took over
    }
}
