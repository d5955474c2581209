// The keeper run as a process, each scenario on a private X server of its own
// (started by the harness's own script), with the CRTC table read back through
// another connection.

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/CrtcGammaProbe.h"
#include "support/EdidBytes.h"
#include "support/Eventually.h"
#include "support/RampTable.h"
#include "support/TempDir.h"
#include "support/TestRamps.h"

extern char** environ;

namespace {

// Gives the keepers a home of their own (runtime, state and rule folders), starts an Xorg
// with the dummy driver through the harness's script, and sets DISPLAY and SERVER (its
// pid) for this process and the commands it runs.
std::string StartServer(const TempDir& home)
{
    mkdir(home.PathOf("run").c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", home.PathOf("run").c_str(), 1);
    setenv("XDG_STATE_HOME", home.PathOf("state").c_str(), 1);
    setenv("XDG_CONFIG_HOME", home.PathOf("config").c_str(), 1);
    std::filesystem::create_directories(home.PathOf("config/rampwise"));
    const std::string folder = home.PathOf("x");
    std::FILE* out = popen(("bash -c '. \"$0\" && start_private_x \"$1\" && echo \"$DISPLAY $XSERVER_PID\"' " +
                            std::string(RAMPWISE_XSERVER_SCRIPT) + " '" + folder + "'").c_str(), "r");
    char display[32] = "", pid[16] = "";
    const bool started = std::fscanf(out, "%31s %15s", display, pid) == 2;
    pclose(out);
    setenv("DISPLAY", display, 1);
    setenv("SERVER", pid, 1);
    return started ? display : "";
}

// The exit status once the process has ended within the time, else nothing.
std::optional<int> ExitStatus(pid_t pid, double seconds)
{
    int status = 0;
    if (!Eventually([&] { return waitpid(pid, &status, WNOHANG) == pid; }, static_cast<long>(seconds * 1000)))
        return std::nullopt;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// Two monitors on DUMMY0 and DUMMY1. The program finds a monitor by its identity or its
// connector wherever it is, refuses what names none or two; a keeper keeps its monitor
// when the EDIDs swap, when its output goes off and on, and when the numbers change.
TEST(LinuxMonitors, CommandsAndKeepersFollowTheMonitorNotItsPlace)
{
    const TempDir files;
    // Far from each other and from the table a reset leaves.
    GammaRamp a = DistinctRamp(2), b = DistinctRamp(3);
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        a.entries[i] /= 2, b.entries[i] = static_cast<std::uint16_t>(b.entries[i] / 4 * 3);
    std::vector<std::uint8_t> malformed = EdidBytes("DEL", 0x40F3, 1001, "", "Left");
    malformed[127] ^= 1;
    // In the shell: $RW the program, $A and $B its LUT files, $EDID the tool that puts
    // the EDIDs $L, $R and $M on the outputs.
    for (const auto& [name, value] : {std::pair("A", files.Write("a.lut", LutFileBytes(a))),
                                      {"B", files.Write("b.lut", LutFileBytes(b))}, {"RW", RAMPWISE_PROGRAM},
                                      {"EDID", RAMPWISE_OUTPUT_EDID}, {"L", EdidHex(EdidBytes("DEL", 0x40F3, 1001, "", "Left"))},
                                      {"R", EdidHex(EdidBytes("ABC", 0x1234, 5, "XK2", "Right"))}, {"M", EdidHex(malformed)}})
        setenv(name, value.c_str(), 1);
    const std::string lr = "$EDID DUMMY0 $L && $EDID DUMMY1 $R && ", reset = " --gamma 1:1:1",
                      keep = lr + "($RW /pt $A ABC1234:XK2 /keep >/dev/null 2>&1 &) && sleep 1 && ";
    // {the shell's commands, which all succeed (! marks a refusal), what they print, what DUMMY0 and DUMMY1
    //  then hold: A, B, - as at the start, x no CRTC}
    const struct { const char* name; std::string command, said; const char* held; } cases[] = {
        {"list; by identity, by identity without serial, by connector",
         lr + "$RW /list && $RW /pt $A abc1234:xk2 && $RW /pt $B DEL40F3 && $RW /verify $B dummy0",
         "0 DEL40F3:1001 DUMMY0 \"Left\" 256\n1 ABC1234:XK2 DUMMY1 \"Right\" 256\ndisplay dummy0 holds " +
         files.PathOf("b.lut") + "\n", "BA"},
        {"the EDIDs swapped", "$EDID DUMMY0 $R && $EDID DUMMY1 $L && $RW /pt $A ABC1234:XK2", "", "A-"},
        {"an absent monitor, one EDID on both", "$EDID DUMMY0 $L && $EDID DUMMY1 $L && ! $RW /pt $A XYZ0001:5 && "
                                                "! $RW /pt $A DEL40F3:1001 && $RW /pt $B DUMMY1",
         "rampwise: no monitor XYZ0001:5 is connected\nrampwise: DEL40F3:1001 names more than one monitor (DUMMY0, "
         "DUMMY1): name one by its connector\n", "-B"},
        {"no EDID and a malformed one", "$EDID DUMMY1 $M && $RW /list && $RW /pt $A 1 && $RW /pt $B DUMMY0",
         "0 - DUMMY0 \"DUMMY0\" 256\n1 - DUMMY1 \"DUMMY1\" 256\n", "BA"},
        {"a keeper follows its monitor to the other output",
         keep + "$EDID DUMMY0 $R && $EDID DUMMY1 $L && sleep 1 && xrandr --output DUMMY1" + reset + " && sleep 4", "", "A-"},
        {"a keeper's output off and on", keep + "xrandr --output DUMMY1 --off && sleep 1 && xrandr --output DUMMY1 "
                                                "--mode 1280x1024 --right-of DUMMY0 && xrandr --output DUMMY1" + reset, "", "-A"},
        {"a keeper started with a number keeps its monitor as the numbers change",
         lr + "($RW /pt $A 1 /keep >/dev/null 2>&1 &) && sleep 1 && xrandr --output DUMMY0 --off && sleep 1 && "
              "xrandr --output DUMMY1" + reset, "", "xA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir home;
        ASSERT_NE(StartServer(home), "");
        // The last xrandr asks the driver to probe: only then is DUMMY1 reported as
        // connected. Both tables start as a reset leaves them.
        ASSERT_EQ(std::system(("xrandr --addmode DUMMY1 1280x1024 && xrandr --output DUMMY1 --mode 1280x1024 "
                               "--right-of DUMMY0 && xrandr >/dev/null && xrandr --output DUMMY0" + reset +
                               " --output DUMMY1" + reset).c_str()), 0);
        const std::optional<CrtcGammaTable> untouched = ReadCrtcGamma("DUMMY0");
        EXPECT_EQ(std::system(("bash -c '" + c.command + "' >" + home.PathOf("said") + " 2>&1").c_str()), 0);
        const std::vector<std::uint8_t> said = home.Read("said");
        EXPECT_EQ(std::string(said.begin(), said.end()), c.said);
        const std::optional<CrtcGammaTable> tables[] = {TableOf(a), TableOf(b), untouched, std::nullopt};
        for (const char* output : {"DUMMY0", "DUMMY1"}) {
            const auto& expected = tables[std::string_view("AB-x").find(c.held[output[5] - '0'])];
            EXPECT_TRUE(Eventually([&] { return ReadCrtcGamma(output) == expected; }, 6000)) << output;
        }
        kill(std::atoi(std::getenv("SERVER")), SIGTERM);
    }
}

// A keeper of DUMMY0 on a server of its own, then one action. A /keep or a /release
// that cannot use its lock folder safely, or has no server to name, is refused at once,
// saying why, and the keeper keeps.
TEST(LinuxKeeper, PutsTheRampBackUntilReleasedTakenOverEndedOrTheServerGoesAndRefusesWhatIsUnsafe)
{
    const TempDir files;
    // Far from each other and from the identity that a reset sets.
    GammaRamp first = DistinctRamp(0), second = DistinctRamp(1);
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        first.entries[i] /= 2, second.entries[i] = static_cast<std::uint16_t>(second.entries[i] / 4 * 3);
    std::string firstLut = files.Write("first.lut", LutFileBytes(first)), program = RAMPWISE_PROGRAM;
    const std::string secondLut = files.Write("second.lut", LutFileBytes(second)), folder = "$XDG_RUNTIME_DIR/rampwise";
    const std::string reset = "xrandr --output DUMMY0 --gamma 1:1:1";
    const char* periodic = "display 0 (DUMMY0): re-applied after periodic check";
    GammaRamp linear;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        linear.entries[i] = static_cast<std::uint16_t>((i % 256) << 8);
    // Programs under the names that a keeper stands down for: sleep, renamed.
    const std::string bin = files.PathOf("bin"), rules = "$XDG_CONFIG_HOME/rampwise/rules";
    std::filesystem::create_directory(bin);
    for (const char* name : {"dispcal", "myplayer"})
        std::filesystem::copy_file("/bin/sleep", bin + "/" + name);
    const auto holds = [&](const std::string& lut) {
        return program + " /verify " + files.Write(lut + ".lut", lut == "linear" ? LutFileBytes(linear) : LutFileBytes(lut == "first" ? first : second)) +
               " 0 >/dev/null";
    };
    // Succeeds when the command ends within 2 seconds with status 1 and says the words.
    const auto refused = [](const std::string& words, const std::string& command) {
        return "said=$(timeout 2 " + command + " 2>&1); [ $? = 1 ] && echo \"$said\" | grep -qF -- '" + words + "'";
    };
    const struct {
        const char* name;
        std::string action;            // a shell command; $KEEPER and $SERVER are the pids
        std::optional<int> status;     // of the keeper, or nothing while it keeps
        const GammaRamp* held;         // what the display holds within 8 s (the 3-second check, on a slow machine)
        const char* logged = nullptr;  // in the keeper's log then; null: the log is left as it was
    } cases[] = {
        {"another client resets the table", reset, std::nullopt, &first, periodic},
        {"release of another display, a /keep whose source does not load",
         program + " /release 1 && ! " + program + " /pt " + files.PathOf("typo.lut") + " 0 /keep && " + reset,
         std::nullopt, &first, periodic},
        // Long enough for the keeper's check to have undone a write.
        {"a /keep in a lock folder open to others", "chmod 0777 " + folder + " && " +
             refused("the folder must be yours alone", program + " /pt " + secondLut + " 0 /keep") + " && sleep 4",
         std::nullopt, &first},
        {"a /release where a link stands for the lock folder",
         "mv " + folder + " " + folder + ".0 && ln -s rampwise.0 " + folder + " && " +
             refused("cannot be used", program + " /release"), std::nullopt, &first},
        {"a /release of a display without DISPLAY",
         "unset DISPLAY && " + refused("(DISPLAY is not set)", program + " /release 0"), std::nullopt, &first},
        {"second keeper takes over", program + " /pt " + secondLut + " 0 /keep & sleep 2 && " + reset, 0, &second,
         periodic},
        {"the last of three /keep wins, three times over",
         "for i in 1 2 3; do for lut in " + firstLut + " " + firstLut + " " + secondLut + "; do " + program +
             " /pt $lut 0 /keep & sleep 0.2; done; sleep 1; done", 0, &second},
        // A measuring program runs: the ramp that dispwin clears stays clear until 2 s after it ends.
        {"a measuring program", bin + "/dispcal 4 & sleep 1.5 && dispwin -d 1 -c && sleep 1.5 && " + holds("linear") +
                                    " && wait && sleep 2 && " + holds("first"),
         std::nullopt, &first, "display 0 (DUMMY0): stands down while dispcal runs"},
        {"rules: a bad line, dispcal keep", "printf 'bogus\\ndispcal keep\\n' >" + rules +
                                                " && { " + bin + "/dispcal 4 & sleep 2 && " + reset + " && sleep 2 && " +
                                                holds("first") + " && wait; }",
         std::nullopt, &first, "rules line 1 ignored: \"bogus\" has no action"},
        // The rule file is read again when it changes.
        {"rules: myplayer linear, then myplayer SECOND",
         "echo myplayer linear >" + rules + " && { " + bin + "/myplayer 5 & sleep 2 && " + holds("linear") +
             " && echo myplayer " + secondLut + " >" + rules + " && sleep 2 && " + holds("second") +
             " && wait && sleep 2 && " + holds("first") + "; }",
         std::nullopt, &first, "display 0 (DUMMY0): re-applied after stand-down"},
        {"another program resets the ramp twice a second for a minute",
         "for i in $(seq 120); do " + reset + "; sleep 0.5; done; log=$XDG_STATE_HOME/rampwise/keep.log; "
         "[ $(grep -c re-applied $log) -le 10 ] && [ $(grep -c 'keeps changing' $log) = 1 ]",
         std::nullopt, nullptr, "another program keeps changing the ramp: re-applying less often"},
        {"/clear on the kept display",
         "[ \"$(" + program + " /clear 0)\" = 'display 0 is kept on the identity ramp' ]", std::nullopt, &linear},
        {"/pt on the kept display", "[ \"$(" + program + " /pt " + secondLut + " 0)\" = 'display 0 is kept on " + secondLut +
                                        "' ] && sleep 2 && " + reset, std::nullopt, &second, periodic},
        {"/status", program + " /status | grep -qx '0 (display 0 now, DUMMY0): " + firstLut +
                        " since [-0-9]* [:0-9]*; no re-apply yet; keeps its calibration'", std::nullopt, &first},
        {"release of the display", program + " /release 0", 0, nullptr},
        {"release under another spelling of the server", "DISPLAY=unix$DISPLAY.0 " + program + " /release 0", 0, nullptr},
        // Writing its log must never hold the keeper: the line is dropped.
        {"a FIFO where the log goes", "log=$XDG_STATE_HOME/rampwise/keep.log; mkdir -p ${log%/*} && mkfifo $log && " +
                                          reset + " && sleep 6 && rm $log", std::nullopt, &first},
        {"release of every keeper", program + " /release", 0, nullptr},
        {"SIGTERM", "kill -TERM $KEEPER", 0, nullptr},
        // Within a second, while its check waits for the stalled server.
        {"SIGTERM while the X server is stopped", "kill -STOP $SERVER && sleep 4 && kill -TERM $KEEPER && sleep 1; "
                                                  "state=$(cut -d' ' -f3 /proc/$KEEPER/stat); kill -CONT $SERVER; [ $state = Z ]",
         0, nullptr},
        {"SIGINT", "kill -INT $KEEPER", 0, nullptr},
        {"X server killed", "kill $SERVER", 1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir home;
        const std::string display = StartServer(home);
        ASSERT_NE(display, "");
        char* argv[] = {program.data(), const_cast<char*>("/pt"), firstLut.data(), const_cast<char*>("0"),
                        const_cast<char*>("/keep"), nullptr};
        pid_t keeper = 0;
        ASSERT_EQ(posix_spawn(&keeper, argv[0], nullptr, nullptr, argv, environ), 0);
        setenv("KEEPER", std::to_string(keeper).c_str(), 1);
        EXPECT_TRUE(Eventually([&] { return ReadCrtcGamma("DUMMY0") == TableOf(first); }));
        const auto log = [&] {
            const std::vector<std::uint8_t> bytes = home.Read("state/rampwise/keep.log");
            return std::string(bytes.begin(), bytes.end());
        };
        const std::string before = log();

        EXPECT_EQ(std::system(c.action.c_str()), 0) << c.action;
        EXPECT_EQ(ExitStatus(keeper, c.status ? 6 : 0), c.status);
        if (c.held)
            EXPECT_TRUE(Eventually([&] { return ReadCrtcGamma("DUMMY0") == TableOf(*c.held); }, 8000));
        // The line follows the write.
        EXPECT_TRUE(c.logged ? Eventually([&] { return log().find(c.logged) != std::string::npos; }, 2000)
                             : log() == before) << log();
        if (!c.status)
            EXPECT_EQ(kill(keeper, SIGTERM) == 0 ? ExitStatus(keeper, 5) : std::nullopt, 0);
        // A keeper that ended, with none in its place, leaves only its claim behind.
        if (c.status == 0 && !c.held) {
            for (const auto& file : std::filesystem::directory_iterator(home.PathOf("run/rampwise")))
                EXPECT_EQ(file.path().extension(), ".claim") << file.path();
        }
        // And with it a keeper that took over. The server is not this process's child:
        // it has gone once its lock file has.
        if (kill(std::atoi(std::getenv("SERVER")), SIGTERM) == 0)
            Eventually([&] { return !std::filesystem::exists("/tmp/.X" + display.substr(1) + "-lock"); }, 10000);
    }
}
