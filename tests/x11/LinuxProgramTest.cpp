// The Linux program run as a process on a private X server (Xorg with the dummy
// driver, whose first output DUMMY0 is the only one connected at start), with the
// gamma tables read back through another connection and through the back end itself.

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "lut/DisplayAccess.h"
#include "lut/LutFile.h"
#include "support/CrtcGammaProbe.h"
#include "support/RampTable.h"
#include "support/RecordingLog.h"
#include "support/TempDir.h"
#include "support/TestRamps.h"

namespace {

// Switches the dummy driver's second output DUMMY1 on right of DUMMY0, or off. Its mode
// may be there from an earlier run; it counts as connected from the next probe on, and
// stays connected, with no CRTC, once switched off.
void SwitchSecondOutput(bool on)
{
    const char* command = on ? "xrandr --addmode DUMMY1 1280x1024 2>/dev/null; xrandr --output DUMMY1 --mode "
                               "1280x1024 --right-of DUMMY0 && xrandr --query >/dev/null"
                             : "xrandr --output DUMMY1 --off";
    EXPECT_EQ(std::system(command), 0) << command;
}

// A colour profile of the ramp in a property of the root window, or of DUMMY0, the
// dummy driver's first output; a format of 16 bits is not one of a profile. A size
// pads the profile with zeros.
struct ProfileProperty {
    const char* name;
    GammaRamp ramp;
    bool onOutput = false;
    int format = 8;
    std::size_t size = 0;
};

void ChangeProperties(const std::vector<ProfileProperty>& properties, bool set)
{
    Display* x = XOpenDisplay(nullptr);
    const Window root = DefaultRootWindow(x);
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(x, root);
    const RROutput output = resources->outputs[0];
    XRRFreeScreenResources(resources);
    for (const ProfileProperty& p : properties) {
        const Atom atom = XInternAtom(x, p.name, False);
        Bytes bytes = CalibrationProfile(p.ramp);
        bytes.resize(std::max(bytes.size(), p.size));
        // In pieces that each fit in one request.
        constexpr std::size_t kPiece = 4u << 20;
        for (std::size_t at = 0; set && at < bytes.size(); at += kPiece) {
            const int mode = at == 0 ? PropModeReplace : PropModeAppend;
            const int count = static_cast<int>(std::min(kPiece, bytes.size() - at)) * 8 / p.format;
            if (p.onOutput)
                XRRChangeOutputProperty(x, output, atom, XA_CARDINAL, p.format, mode, &bytes[at], count);
            else
                XChangeProperty(x, root, atom, XA_CARDINAL, p.format, mode, &bytes[at], count);
        }
        if (set)
            continue;
        if (p.onOutput)
            XRRDeleteOutputProperty(x, output, atom);
        else
            XDeleteProperty(x, root, atom);
    }
    XCloseDisplay(x);  // after every request has been handled
}

// Stands for a server that accepts connections and never answers: a listening socket
// in the abstract namespace, where xcb looks for display :N first.
class SilentServer {
public:
    SilentServer() : m_socket(socket(AF_UNIX, SOCK_STREAM, 0))
    {
        for (m_number = 9900; m_number < 10000; ++m_number) {
            const std::string path = "/tmp/.X11-unix/X" + std::to_string(m_number);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::memcpy(address.sun_path + 1, path.data(), path.size());
            const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
            if (!std::filesystem::exists(path) && bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                listen(m_socket, 8) == 0)
                return;
        }
    }
    ~SilentServer() { close(m_socket); }

    std::string Display() const { return ":" + std::to_string(m_number); }

private:
    int m_socket;
    int m_number;
};

// Exit status, and what was written to standard output and standard error.
using Outcome = std::pair<int, std::string>;

// Runs the program as its own process through the shell, with its cache in `home`
// unless the variable assignments in `env` say otherwise.
Outcome RunProgram(const TempDir& home, const std::string& env, const std::vector<std::string>& arguments)
{
    std::string command = "HOME=" + home.PathOf("") + " XDG_CACHE_HOME=" + home.PathOf("cache") + " " + env +
                          " " RAMPWISE_PROGRAM;
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    std::string output;
    for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe))
        output += static_cast<char>(c);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

const std::string kNoDisplay = "ERROR: EnumDisplayDevices falied 0";
const std::string kNotLoaded = " could not be loaded: missing, too short, or without calibration curves\n";
const std::string kNoProfile = " has no colour profile with calibration curves\n";
const std::string kNotCopied = "rampwise: the colour profile of display 0 was not copied to ";
const Outcome kApplied = {0, ""}, kNoSuchDisplay = {1, kNoDisplay + "\n"};
// Stands for the program's cache folder in expected output.
const std::string kCacheMark = "{cache}";

} // namespace

TEST(LinuxProgram, AppliesEachSourceToTheChosenOutputOnlyAndReportsWhatItCannotApply)
{
    if (Display* x = XOpenDisplay(nullptr))
        XCloseDisplay(x);
    else if (std::getenv("RAMPWISE_REQUIRE_X11"))
        FAIL() << "no X server at DISPLAY; scripts/test starts one";
    else
        GTEST_SKIP() << "no X server at DISPLAY";
    const TempDir files;
    const GammaRamp known = DistinctRamp(0), lut = DistinctRamp(1), table = DistinctRamp(2), root = DistinctRamp(3),
                    output = DistinctRamp(4), second = DistinctRamp(5);
    const std::string dayLut = files.Write("day.lut", LutFileBytes(lut));
    const std::string shortLut = files.Write("short.lut", Bytes(1000, 0x80));
    const std::string dayCal = files.PathOf("day.cal"), badCal = files.Write("bad.cal", {'C', 'A', 'L', '\n'});
    EXPECT_TRUE(SaveLutFile(lut, dayCal));
    GammaRamp moved = known;  // one entry far from the table that each case starts from
    moved.Channel(1)[128] += 12345;
    const std::string tableProfile = files.Write("table.icc", CalibrationProfile(table));
    const std::string forged = files.Write("x\x1b[2J\nERROR: forged.icc", ProfileBuilder().Build());
    const std::string forgedShown = files.PathOf("x\\x1b[2J\\nERROR: forged.icc");
    const SilentServer silent;
    const std::vector<std::string> byDefault = {"/pt", "@default", "0"}, onSecond = {"/pt", "@default", "1"};
    const ProfileProperty onRoot = {"_ICC_PROFILE", root};
    const Outcome noProfile0 = {1, "rampwise: display 0" + kNoProfile}, noProfile1 = {1, "rampwise: display 1" + kNoProfile};
    const std::string cache0 = "cache/rampwise/display-0.icc";

    const struct {
        const char* name;
        bool secondOn;  // DUMMY1 switched on
        std::vector<ProfileProperty> properties;
        std::string env;  // variable assignments for the program, or a command to run it with
        std::vector<std::string> arguments;
        Outcome outcome;
        std::vector<GammaRamp> tables;          // of the outputs that show a picture, in order
        std::vector<std::string> cached = {};  // files below the program's home folder
        std::string setup = {};                 // shell commands run in the home folder first
    } cases[] = {
        {"refused calibration file", false, {}, "", {badCal},
         {1, "ERROR: calibration file " + badCal + ", line 1: the file has no BEGIN_DATA\n"},
         {known}},
        {"short LUT file", false, {}, "", {"/pt", shortLut, "0"}, {1, "rampwise: " + shortLut + kNotLoaded}, {known}},
        {"keyword in another case", false, {}, "", {"@Default"}, {1, "rampwise: @Default" + kNotLoaded}, {known}},
        {"no source", false, {}, "", {}, {2, "usage: rampwise [/pt] LUT-FILE|PROFILE|@default [DISPLAY-NUMBER]\n"},
         {known}},
        {"@default, no profile", false, {}, "", byDefault, noProfile0, {known}},
        {"@default from the root window", false, {onRoot}, "", byDefault, kApplied, {root}, {cache0}},
        {"@default from the output first", false, {onRoot, {"_ICC_PROFILE", output, true}}, "", byDefault, kApplied,
         {output}, {cache0}},
        {"16-bit property", false, {{"_ICC_PROFILE", root, false, 16}}, "", byDefault, noProfile0, {known}},
        // The copy in the cache is a convenience: without it the profile still applies.
        {"unusable cache home", false, {onRoot}, "XDG_CACHE_HOME=/dev/null", byDefault,
         {0, kNotCopied + "/dev/null/rampwise: Not a directory\n"}, {root}},
        {"cache folder open to others", false, {onRoot}, "", byDefault,
         {0, kNotCopied + kCacheMark + "/rampwise: the folder must be yours alone (owned by you, mode 0700)\n"}, {root},
         {}, "mkdir -p -m 0777 cache/rampwise"},
        {"cache folder of another user", false, {onRoot}, "", byDefault,
         {0, kNotCopied + kCacheMark + "/rampwise: the folder must be yours alone (owned by you, mode 0700)\n"}, {root},
         {}, "mkdir -p -m 0700 cache/rampwise && chown 65534 cache/rampwise"},
        {"copies left by killed runs", false, {onRoot}, "", byDefault, kApplied, {root},
         {"cache/rampwise/.~rw00c0ffee", "cache/rampwise/.~rw0a1b2c3", cache0, "cache/rampwise/notes.icc"},
         "mkdir -p -m 0700 cache/rampwise && cd cache/rampwise && touch -d '-2 min' .~rw0a1b2c3d .~rw0a1b2c3 "
         "notes.icc && touch .~rw00c0ffee"},
        {"profile over the size limit", false, {{"_ICC_PROFILE", root, false, 8, (64u << 20) + 1}}, "", byDefault,
         {1, "rampwise: the colour profile of display 0 is larger than 64 MiB and was not read\n"}, {known}},
        {"control characters in a name", false, {}, "", {"/pt", forged, "0"},
         {1, "No VCGT or mLUT tag foung in profile " + forgedShown + "\nrampwise: " + forgedShown + kNotLoaded},
         {known}},
        // The last case of each output configuration leaves a ramp that the back end reads.
        {"calibration file", false, {}, "", {"/pt", dayCal, "0"}, kApplied, {lut}},
        {"LUT file", false, {}, "", {"/pt", dayLut, "0"}, kApplied, {lut}},
        {"second display", true, {}, "", {"/pt", dayLut, "1"}, kApplied, {known, lut}},
        {"third display", true, {}, "", {"/pt", dayLut, "2"}, kNoSuchDisplay, {known, known}},
        {"@default 1: the root's plain name is display 0's", true, {onRoot}, "", onSecond, noProfile1, {known, known}},
        {"@default 1 from the root window", true, {{"_ICC_PROFILE_1", second}}, "", onSecond, kApplied, {known, second},
         {"cache/rampwise/display-1.icc"}},
        {"second display switched off", false, {}, "", {"/pt", dayLut, "1"}, kNoSuchDisplay, {known}},
        // Verify writes nothing; each entry of this table is less than 256 from day.lut.
        {"verify: holds", false, {}, "", {"/verify", dayLut}, {0, "display 0 holds " + dayLut + "\n"}, {known}},
        {"verify: differs", false, {}, "", {"/verify", files.Write("moved.lut", LutFileBytes(moved)), "0"},
         {1, "display 0 differs from " + files.PathOf("moved.lut") +
                 ": largest difference 12345 at green entry 128\n"},
         {known}},
        {"verify: no source", false, {}, "", {"/verify", shortLut}, {2, "rampwise: " + shortLut + kNotLoaded}, {known}},
        {"verify: no display", false, {}, "", {"/verify", dayLut, "1"}, {2, kNoDisplay + "\n"}, {known}},
        {"no X server", false, {}, "DISPLAY=:9999", {"/pt", dayLut, "0"},
         {1, "rampwise: cannot connect to the X server (DISPLAY=:9999)\n" + kNoDisplay + "\n"}, {known}},
        {"X server that never answers", false, {}, "DISPLAY=" + silent.Display() + " timeout 30", byDefault,
         {1, "rampwise: the X server (DISPLAY=" + silent.Display() + ") did not answer within 10 seconds\n" +
                 kNoDisplay + "\n"},
         {known}},
        {"table profile, no switch", false, {}, "", {tableProfile}, kApplied, {table}},
    };
    // The back end lists the outputs that show a picture and reads back their tables;
    // any other number is no display.
    const auto checkBackEnd = [&](const std::vector<GammaRamp>& tables) {
        std::vector<std::string> expected, listed;
        for (std::size_t i = 0; i < tables.size(); ++i)
            expected.push_back(std::to_string(i) + " DUMMY" + std::to_string(i) + " DUMMY" + std::to_string(i));
        for (const DisplayListing& d : ListDisplays())
            listed.push_back(std::to_string(d.index) + " " + d.adapter + " " + d.monitor);
        EXPECT_EQ(listed, expected);
        ClearLog();
        for (int i = -1; i < 2; ++i) {
            const bool shown = i >= 0 && i < static_cast<int>(tables.size());
            GammaRamp read = known;
            EXPECT_EQ(ReadDisplayRamp(i, read), shown) << i;
            EXPECT_EQ(read, shown ? tables[i] : known) << i;
        }
        EXPECT_EQ(LoggedTexts(), std::vector<std::string>(3 - tables.size(), "! " + kNoDisplay));
    };
    bool secondOn = false;
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const auto& c = cases[k];
        SCOPED_TRACE(c.name);
        if (c.secondOn != secondOn)
            SwitchSecondOutput(secondOn = c.secondOn);
        for (std::size_t i = 0; i < c.tables.size(); ++i)
            EXPECT_TRUE(WriteDisplayRamp(static_cast<int>(i), known));
        const TempDir home;
        if (!c.setup.empty())
            EXPECT_EQ(std::system(("cd " + home.PathOf("") + " && " + c.setup).c_str()), 0) << c.setup;
        ChangeProperties(c.properties, true);
        Outcome outcome = c.outcome;
        if (const std::size_t mark = outcome.second.find(kCacheMark); mark != std::string::npos)
            outcome.second.replace(mark, kCacheMark.size(), home.PathOf("cache"));
        EXPECT_EQ(RunProgram(home, c.env, c.arguments), outcome);
        ChangeProperties(c.properties, false);
        EXPECT_EQ(home.Files(), c.cached);
        // Another client sees the whole table.
        for (std::size_t i = 0; i < c.tables.size(); ++i)
            EXPECT_EQ(ReadCrtcGamma("DUMMY" + std::to_string(i)), TableOf(c.tables[i])) << i;
        if (k + 1 == std::size(cases) || cases[k + 1].secondOn != secondOn)
            checkBackEnd(c.tables);
    }
    const std::string display = std::getenv("DISPLAY");
    setenv("DISPLAY", ":9999", 1);  // no server: nothing to list
    EXPECT_TRUE(ListDisplays().empty());
    setenv("DISPLAY", display.c_str(), 1);
}
