// The Linux program run as a process on a private X server (Xorg with the dummy
// driver, whose first output DUMMY0 is the only one connected at start), with the
// gamma tables read back through another connection.

#include <gtest/gtest.h>

#include "app/Launch.h"            // before Xlib, whose None and Status are macros
#include "base/FileDescriptor.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "lut/DisplayAccess.h"
#include "lut/RampOperations.h"
#include "res/Version.h"
#include "support/CrtcGammaProbe.h"
#include "support/RampTable.h"
#include "support/TempDir.h"
#include "support/TestRamps.h"

namespace {

// A colour profile of the ramp in a property of the root window, or of DUMMY0, the
// dummy driver's first output. A size pads the profile with zeros.
struct ProfileProperty {
    const char* name;
    GammaRamp ramp;
    bool onOutput = false;
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
        if (!set && p.onOutput)
            XRRDeleteOutputProperty(x, output, atom);
        else if (!set)
            XDeleteProperty(x, root, atom);
        Bytes bytes = CalibrationProfile(p.ramp);
        bytes.resize(std::max(bytes.size(), p.size));
        // In pieces that each fit in one request.
        constexpr std::size_t kPiece = 4u << 20;
        for (std::size_t at = 0; set && at < bytes.size(); at += kPiece) {
            const int mode = at == 0 ? PropModeReplace : PropModeAppend;
            const int count = static_cast<int>(std::min(kPiece, bytes.size() - at));
            if (p.onOutput)
                XRRChangeOutputProperty(x, output, atom, XA_CARDINAL, 8, mode, &bytes[at], count);
            else
                XChangeProperty(x, root, atom, XA_CARDINAL, 8, mode, &bytes[at], count);
        }
    }
    XCloseDisplay(x);  // after every request has been handled
}

// Makes the socket stand for a server that accepts connections and never answers, at
// display :N in the abstract namespace, where xcb looks first; gives ":N".
std::string ListenSilently(const FileDescriptor& listener)
{
    for (int number = 9900; number < 10000; ++number) {
        const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
        sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
        std::memcpy(address.sun_path + 1, path.data(), path.size());
        const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
        if (!std::filesystem::exists(path) &&
            bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(listener.Get(), 8) == 0)
            return ":" + std::to_string(number);
    }
    return "";
}

// Exit status, and what was written to standard output and standard error.
using Outcome = std::pair<int, std::string>;

// Runs the program as its own process through the shell, in `home` and with its cache
// there, behind `shell`: commands that end in "&&", or variable assignments and a
// command to run it with. What it writes goes through `files`.
Outcome RunProgram(const TempDir& home, const TempDir& files, const std::string& shell,
                   const std::vector<std::string>& arguments)
{
    std::string command = "cd " + home.PathOf("") + " && export HOME=" + home.PathOf("") +
                          " XDG_CACHE_HOME=" + home.PathOf("cache") + " && " + shell + " " RAMPWISE_PROGRAM;
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    const int status = std::system((command + " >" + files.PathOf("output") + " 2>&1").c_str());
    const Bytes output = files.Read("output");
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(output.begin(), output.end())};
}

const std::string kNoDisplay = "ERROR: EnumDisplayDevices falied 0";
const std::string kNotLoaded = " could not be loaded: missing, too short, or without calibration curves\n";
const std::string kNotCopied = "rampwise: the colour profile of display 0 was not copied to ";
const Outcome kApplied = {0, ""}, kNoSuchDisplay = {1, "rampwise: no display 1 (displays 0 to 0)\n"};

// The usage as the program prints it, after the line that says what it did not understand.
std::string Usage(const std::string& mistake = "")
{
    std::string text = mistake.empty() ? "" : mistake + "\n";
    for (const std::string& line : UsageLines())
        text += line + "\n";
    return text;
}

} // namespace

TEST(LinuxProgram, AppliesEachSourceToTheChosenOutputOnlyAndReportsWhatItCannotApply)
{
    if (!ReadCrtcGamma("DUMMY0")) {
        ASSERT_FALSE(std::getenv("RAMPWISE_REQUIRE_X11")) << "no X server at DISPLAY; scripts/test starts one";
        GTEST_SKIP() << "no X server at DISPLAY";
    }
    const TempDir files, home;
    const GammaRamp known = DistinctRamp(0), lut = DistinctRamp(1), root = DistinctRamp(3), output = DistinctRamp(4),
                    second = DistinctRamp(5);
    const std::string dayLut = files.Write("day.lut", LutFileBytes(lut)), missing = files.PathOf("missing.lut");
    const std::string badCal = files.Write("bad.cal", {'C', 'A', 'L', '\n'}), folder = files.PathOf("folder.lut");
    std::filesystem::create_directory(folder);  // opens, and reading it fails
    const std::string zeroLut = files.Write("zero.lut", LutFileBytes(GammaRamp{}));
    const std::string program = RAMPWISE_PROGRAM, savedLut = files.PathOf("saved.lut"),
                      savedCal = files.PathOf("Saved.CAL");
    GammaRamp identity;
    SetLinearRamp(identity);
    const std::string forged = files.Write("x\x1b[2J\nERROR: forged.icc", ProfileBuilder().Build());
    const std::string forgedShown = files.PathOf("x\\x1b[2J\\nERROR: forged.icc");
    const FileDescriptor listener(socket(AF_UNIX, SOCK_STREAM, 0));
    const std::string silent = ListenSilently(listener);
    const std::vector<std::string> byDefault = {"/pt", "@default", "0"};
    const ProfileProperty onRoot = {"_ICC_PROFILE", root};
    // The dummy driver's second output DUMMY1, right of DUMMY0, and off again. Its mode
    // may be there from an earlier run; it counts as connected from the next probe on,
    // and stays connected, with no CRTC, once switched off.
    const std::string secondOn = "xrandr --addmode DUMMY1 1280x1024 2>/dev/null; xrandr --output DUMMY1 --mode "
                                 "1280x1024 --right-of DUMMY0 && xrandr --query >/dev/null &&";

    const struct {
        const char* name;
        std::vector<ProfileProperty> properties;
        std::string shell;  // see RunProgram
        std::vector<std::string> arguments;
        Outcome outcome;
        std::vector<GammaRamp> tables;          // of the outputs that show a picture, in order
        std::vector<std::string> cached = {};  // files below the program's home folder
    } cases[] = {
        {"refused calibration file", {}, "", {badCal},
         {1, "ERROR: calibration file " + badCal + ", line 1: the file has no BEGIN_DATA\n"}, {known}},
        {"read error", {}, "", {"/pt", folder, "0"}, {1, "rampwise: " + folder + " could not be read (error 21)\n"},
         {known}},
        {"no source", {}, "", {}, {2, Usage()}, {known}},
        {"help", {}, "", {"/help"}, {0, Usage()}, {known}},
        {"version", {}, "", {"-version"}, {0, "rampwise " RAMPWISE_VERSION_TEXT "\n"}, {known}},
        {"unknown switch", {}, "", {"/pt", dayLut, "--keep"}, {2, Usage("rampwise: unknown switch --keep")}, {known}},
        {"switch without its argument", {}, "", {"/save"}, {2, Usage("rampwise: /save needs a FILE")}, {known}},
        {"no such display", {}, "", {"/pt", dayLut, "5"}, {1, "rampwise: no display 5 (displays 0 to 0)\n"}, {known}},
        {"clear", {}, "", {"/clear"}, kApplied, {identity}},
        {"clear: no such display", {}, "", {"/clear", "1"}, kNoSuchDisplay, {known}},
        // Saved, cleared, and loaded back exactly.
        {"save a LUT file", {}, program + " /save " + savedLut + " 0 && " + program + " /clear &&", {"/pt", savedLut},
         kApplied, {known}},
        {"save a calibration file", {}, program + " /save " + savedCal + " && " + program + " /clear &&",
         {"/pt", savedCal, "0"}, kApplied, {known}},
        {"save into a missing folder", {}, "", {"/save", files.PathOf("none/x.lut")},
         {1, "rampwise: " + files.PathOf("none/x.lut") +
                 " could not be saved: it is read-only, not a plain file, or its folder is missing\n"}, {known}},
        {"verify @default names its profile", {onRoot}, program + " /pt @default &&", {"/verify", "@default"},
         {0, "display 0 holds @default (_ICC_PROFILE of the root window)\n"}, {root}, {"cache/rampwise/display-0.icc"}},
        {"@default from the output first", {onRoot, {"_ICC_PROFILE", output, true}}, "", byDefault, kApplied, {output},
         {"cache/rampwise/display-0.icc"}},
        // The copy in the cache is a convenience: without it the profile still applies.
        {"unusable cache home", {onRoot}, "XDG_CACHE_HOME=/dev/null", byDefault,
         {0, kNotCopied + "/dev/null/rampwise: Not a directory\n"}, {root}},
        {"cache folder of another user", {onRoot}, "mkdir -p -m 0700 cache/rampwise && chown 65534 cache/rampwise &&",
         byDefault, {0, kNotCopied + home.PathOf("cache") + "/rampwise: the folder must be yours alone (owned by you, "
                        "mode 0700)\n"}, {root}},
        {"copies left by killed runs", {onRoot},
         "mkdir -p -m 0700 cache/rampwise && cd cache/rampwise && touch -d '-2 min' .~rw0a1b2c3d .~rw0a1b2c3 && "
         "touch .~rw00c0ffee && cd ../.. &&",
         byDefault, kApplied, {root},
         {"cache/rampwise/.~rw00c0ffee", "cache/rampwise/.~rw0a1b2c3", "cache/rampwise/display-0.icc"}},
        {"profile over the size limit", {{"_ICC_PROFILE", root, false, (64u << 20) + 1}}, "", byDefault,
         {1, "rampwise: the colour profile of display 0 is larger than 64 MiB and was not read\n"}, {known}},
        {"control characters in a name", {}, "", {"/pt", forged, "0"},
         {1, "No VCGT or mLUT tag foung in profile " + forgedShown + "\nrampwise: " + forgedShown + kNotLoaded},
         {known}},
        // Verify writes nothing.
        {"verify: differs", {}, "", {"/verify", zeroLut, "0"},
         {1, "display 0 differs from " + zeroLut + ": largest difference 65328 at blue entry 255\n"}, {known}},
        {"verify: no source", {}, "", {"/verify", missing}, {2, "rampwise: " + missing + kNotLoaded}, {known}},
        {"verify: no display", {}, "", {"/verify", dayLut, "1"}, {2, kNoSuchDisplay.second}, {known}},
        {"no X server", {}, "DISPLAY=:9999", {"/pt", dayLut, "0"},
         {1, "rampwise: cannot connect to the X server (DISPLAY=:9999)\n" + kNoDisplay + "\n"}, {known}},
        {"X server that never answers", {}, "DISPLAY=" + silent + " timeout 30", byDefault,
         {1, "rampwise: the X server (DISPLAY=" + silent + ") did not answer within 10 seconds\n" + kNoDisplay + "\n"},
         {known}},
        {"second display", {}, secondOn, {"/pt", dayLut, "1"}, kApplied, {known, lut}},
        {"@default 1: the root's plain name is display 0's", {onRoot}, "", {"/pt", "@default", "1"},
         {1, "rampwise: display 1 has no colour profile with calibration curves\n"}, {known, known}},
        {"@default 1 from the root window", {{"_ICC_PROFILE_1", second}}, "", {"/pt", "@default", "1"}, kApplied,
         {known, second}, {"cache/rampwise/display-1.icc"}},
        {"second display switched off", {}, "xrandr --output DUMMY1 --off &&", {"/pt", dayLut, "1"}, kNoSuchDisplay,
         {known}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The table each case starts from, where the output already shows a picture.
        for (std::size_t i = 0; i < c.tables.size(); ++i)
            WriteDisplayRamp(static_cast<int>(i), known);
        std::filesystem::remove_all(home.PathOf("cache"));
        ChangeProperties(c.properties, true);
        EXPECT_EQ(RunProgram(home, files, c.shell, c.arguments), c.outcome);
        ChangeProperties(c.properties, false);
        EXPECT_EQ(home.Files(), c.cached);
        // Another client sees the whole table.
        for (std::size_t i = 0; i < c.tables.size(); ++i)
            EXPECT_EQ(ReadCrtcGamma("DUMMY" + std::to_string(i)), TableOf(c.tables[i])) << i;
    }
}
