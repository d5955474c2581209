#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "base/File.h"
#include "lut/LutFile.h"
#include "support/TempDir.h"
#include "support/TestRamps.h"

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using Names = std::vector<std::string>;

#ifndef _WIN32
// Names that the next save finds taken and must pass over, tried before any other.
static std::vector<std::string> g_takenNames;

// The host tests link with --wrap for the core's TemporaryFileName: every temporary
// name a save tries comes through here, the taken ones first, then the core's own.
std::string RealTemporaryFileName() asm("__real__Z17TemporaryFileNameB5cxx11v");
std::string TakenOrTemporaryFileName() asm("__wrap__Z17TemporaryFileNameB5cxx11v");
std::string TakenOrTemporaryFileName()
{
    if (g_takenNames.empty())
        return RealTemporaryFileName();
    std::string name = g_takenNames.front();
    g_takenNames.erase(g_takenNames.begin());
    return name;
}
#endif

TEST(LoadLutSource, ANameEndingInDotLutInAnyCaseIsARawLutFileOfAtLeast1536BytesElseAProfile)
{
    const TempDir dir;
    const struct {
        const char* name;
        std::size_t size;
        bool loads;
    } cases[] = {
        {"day.LuT", 1536, true}, {".lut", 1536, true}, {"long.lut", 2000, true}, {"1535.lut", 1535, false},
        {"daylut", 1536, false}, {"day.lut.icc", 1536, false},  // as a profile these bytes hold no tag
    };
    for (const auto& c : cases) {
        Bytes file = LutFileBytes(DistinctRamp());
        file.resize(c.size, 0xEE);
        GammaRamp ramp;
        EXPECT_EQ(LoadLutSource(ramp, dir.Write(c.name, file)), c.loads) << c.name;
        EXPECT_EQ(ramp, c.loads ? DistinctRamp() : GammaRamp{}) << c.name;  // nothing of a short file
    }
}

// A read-only file is refused and stays as it was; a new name as long as the system
// allows still saves (the temporary name must not be longer); no other file is left.
TEST(SaveLutFile, RefusesAReadOnlyFileAndSavesUnderTheLongestNameLeavingNoOtherFile)
{
    namespace fs = std::filesystem;
    const TempDir dir;
#ifdef _WIN32
    const std::size_t longest = 255 - dir.PathOf("").size();  // a path of 255 characters
#else
    const std::size_t longest = 255;
#endif
    const std::string locked = dir.Write("locked.lut", Bytes(5000, 0xAB)), longName(longest - 4, 'n');
    fs::permissions(locked, fs::perms::owner_read);
    EXPECT_FALSE(SaveLutFile(DistinctRamp(), locked));
    EXPECT_TRUE(SaveLutFile(DistinctRamp(), dir.PathOf(longName + ".lut")));
    fs::permissions(locked, fs::perms::owner_all);  // lets the folder go
    EXPECT_EQ(dir.Read("locked.lut"), Bytes(5000, 0xAB));
    EXPECT_EQ(dir.Read(longName + ".lut"), LutFileBytes(DistinctRamp()));
    EXPECT_EQ(dir.Files(), (Names{"locked.lut", longName + ".lut"}));
}

#ifndef _WIN32
// What a link leads to gets the content and keeps its mode, and the link stays; a link
// that leads nowhere is refused; a new file gets 0666 less the umask. The names the
// save tries first for its temporary file are taken by a file, a link to another file
// and a link that leads nowhere: each is passed over, none is written, followed or
// removed.
TEST(SaveLutFile, WritesWhereALinkLeadsNeverThroughOneAtItsTemporaryNameAndKeepsTheMode)
{
    namespace fs = std::filesystem;
    const TempDir dir;
    const Bytes old(1536, 0x11);
    for (const char* name : {"real.lut", "victim", ".~taken"})
        dir.Write(name, old);
    fs::create_symlink("real.lut", dir.PathOf("link.lut"));
    fs::create_symlink("missing.lut", dir.PathOf("nowhere.lut"));
    fs::create_symlink("victim", dir.PathOf(".~to-victim"));
    fs::create_symlink("absent", dir.PathOf(".~to-absent"));
    fs::permissions(dir.PathOf("real.lut"), fs::perms(0751));  // not the mode a temporary file is made with
    umask(022);
    const struct {
        const char* name;
        const char* file;
        fs::perms mode;  // unknown: refused, and no file
    } cases[] = {{"link.lut", "real.lut", fs::perms(0751)}, {"new.lut", "new.lut", fs::perms(0644)},
                 {"nowhere.lut", "missing.lut", fs::perms::unknown}};
    for (const auto& c : cases) {
        g_takenNames = {".~taken", ".~to-victim", ".~to-absent"};
        const bool saves = c.mode != fs::perms::unknown;
        EXPECT_EQ(SaveLutFile(DistinctRamp(), dir.PathOf(c.name)), saves) << c.name;
        EXPECT_EQ(dir.Read(c.file), saves ? LutFileBytes(DistinctRamp()) : Bytes()) << c.name;
        EXPECT_EQ(fs::status(dir.PathOf(c.file)).permissions(), c.mode) << c.name;
        EXPECT_EQ(g_takenNames.empty(), saves) << c.name << ": every taken name tried first";
    }
    EXPECT_EQ(dir.Read("victim"), old);
    EXPECT_EQ(dir.Files(), (Names{".~taken", ".~to-absent", ".~to-victim", "link.lut", "new.lut", "nowhere.lut",
                                  "real.lut", "victim"}));
}

// A save in a child process, as another user where the folder's permissions must
// count (root is not bound by them). A file that may be written in a folder that takes
// no new file (a folder without write permission, or a sticky folder where the file is
// someone else's) is written in place. A write error (a file-size limit below 1536
// bytes fails the write as a full disk does) raises with the name the user gave and
// leaves the old file as it was and no other file.
TEST(SaveLutFile, WritesInPlaceWhereTheFolderRefusesANewFileAndKeepsTheOldFileOnAWriteError)
{
    const TempDir dir;
    const bool root = geteuid() == 0;
    std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead
    const struct {
        mode_t folderMode;
        rlim_t sizeLimit;
        int raised;  // the error code of a raise that names the file; 0: saved
    } cases[] = {{0555, RLIM_INFINITY, 0}, {01777, RLIM_INFINITY, 0}, {0777, 1000, EFBIG}};
    for (const auto& c : cases) {
        if (c.folderMode == 01777 && !root)
            continue;  // the file must belong to someone else
        const std::string folder = std::to_string(c.folderMode), name = folder + "/shared.lut";
        std::filesystem::create_directory(dir.PathOf(folder));
        const std::string path = dir.Write(name, Bytes(1536, 0x22));
        chmod(path.c_str(), 0666);
        chmod(dir.PathOf(folder).c_str(), c.folderMode);
        const rlimit limit{c.sizeLimit, c.sizeLimit};
        if (fork() == 0) {
            if ((c.sizeLimit != RLIM_INFINITY && setrlimit(RLIMIT_FSIZE, &limit) != 0) || (root && setuid(65534) != 0))
                _exit(3);
            try {
                _exit(SaveLutFile(DistinctRamp(), path) ? 0 : 1);
            } catch (const CFileException& error) {
                _exit(error.FileName() == path ? error.ErrorCode() : 2);
            }
        }
        int status = -1;
        wait(&status);
        chmod(dir.PathOf(folder).c_str(), 0755);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, c.raised) << name;
        EXPECT_EQ(dir.Read(name), c.raised ? Bytes(1536, 0x22) : LutFileBytes(DistinctRamp())) << name;
    }
    EXPECT_EQ(dir.Files(), root ? (Names{"1023/shared.lut", "365/shared.lut", "511/shared.lut"})
                                : (Names{"365/shared.lut", "511/shared.lut"}));
}
#endif
