#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "base/File.h"
#include "base/FileReplace.h"
#include "lut/LutFile.h"
#include "support/RecordingLog.h"
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
namespace {

// Names that the next save finds taken and must pass over, tried before any other.
std::vector<std::string> g_takenNames;

} // namespace

// This program's own temporary names: its definition comes before the core's (a static
// library adds only what is still missing), so that a test knows the names a save
// tries. Past the taken ones, names that no test uses.
std::string TemporaryFileName()
{
    static unsigned serial = 0;
    const std::string name = g_takenNames.empty() ? ".~test" + std::to_string(serial++) : g_takenNames.front();
    std::erase(g_takenNames, name);
    return name;
}
#endif

TEST(LoadLutSource, ANameEndingInDotLutInAnyCaseIsARawLutFileOfAtLeast1536BytesElseAProfile)
{
    const TempDir dir;
    const Bytes bytes = LutFileBytes(DistinctRamp());
    const struct {
        const char* name;
        std::size_t size;
        bool isLut;
    } cases[] = {
        {"day.lut", 1536, true},  {"day.LuT", 1536, true},      {".lut", 1536, true},    {"long.lut", 2000, true},
        {"1535.lut", 1535, true}, {"1000.lut", 1000, true},     {"day.icm", 1536, false}, {"lut", 1536, false},
        {"daylut", 1536, false},  {"day.lut.icc", 1536, false},  // as a profile these bytes hold no tag
    };
    for (const auto& c : cases) {
        Bytes file = bytes;
        file.resize(c.size, 0xEE);
        GammaRamp ramp;
        const bool loads = c.isLut && c.size >= 1536;
        EXPECT_EQ(IsLutFileName(c.name), c.isLut) << c.name;
        EXPECT_EQ(LoadLutSource(ramp, dir.Write(c.name, file)), loads) << c.name;
        EXPECT_EQ(ramp, loads ? DistinctRamp() : GammaRamp{}) << c.name;  // nothing of a short file
    }
    ClearLog();
    GammaRamp ramp;
    EXPECT_FALSE(LoadLutSource(ramp, "") || LoadLutSource(ramp, dir.PathOf("missing.lut")));
    EXPECT_EQ(ramp, GammaRamp{});
    EXPECT_TRUE(LoggedTexts().empty());
}

// A save replaces the file whole, or refuses and keeps it: a read-only file stays as it
// was and read-only, a name as long as the system allows still saves (the temporary
// name must not be longer), and no other file is ever left beside it.
TEST(SaveLutFile, ReplacesTheFileWholeOrRefusesAndKeepsItLeavingNoOtherFile)
{
    namespace fs = std::filesystem;
    const TempDir dir;
#ifdef _WIN32
    const std::size_t longest = 255 - dir.PathOf("").size();  // a path of 255 characters
#else
    const std::size_t longest = 255;
#endif
    const Bytes old(5000, 0xAB);
    const struct {
        std::string name;
        bool exists, readOnly, saves;
    } cases[] = {
        {"saved.lut", true, false, true},   {"new.lut", false, false, true},
        {"locked.lut", true, true, false},  {std::string(longest - 4, 'n') + ".lut", true, false, true},
        {std::string(longest - 4, 'm') + ".lut", false, false, true}, {"no-such-folder/x.lut", false, false, false},
    };
    for (const auto& c : cases) {
        const std::string path = c.exists ? dir.Write(c.name, old) : dir.PathOf(c.name);
        if (c.readOnly)
            fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        EXPECT_EQ(SaveLutFile(DistinctRamp(), path), c.saves) << c.name;
        EXPECT_EQ(dir.Read(c.name), c.saves ? LutFileBytes(DistinctRamp()) : c.exists ? old : Bytes()) << c.name;
        EXPECT_EQ(c.readOnly, (fs::status(path).permissions() & fs::perms::owner_write) == fs::perms::none) << c.name;
    }
    fs::permissions(dir.PathOf("locked.lut"), fs::perms::owner_write, fs::perm_options::add);  // lets the folder go
    EXPECT_EQ(dir.Files().size(), std::size(cases) - 1);  // each case's own file, none in the missing folder
}

#ifndef _WIN32
// A read error of an open file, and a write error (a process file-size limit below 1536
// bytes fails the write as a full disk does), raise with the name the user gave; the
// failed save leaves the old file as it was and no other file.
TEST(LutFile, ReadAndWriteErrorsRaiseWithTheFileNameAndKeepTheOldFile)
{
    const TempDir dir;
    const auto raisedBy = [](auto action) {
        try {
            action();
        } catch (const CFileException& error) {
            return std::make_pair(error.ErrorCode(), error.FileName());
        }
        return std::make_pair(0, std::string());
    };
    const std::string folder = dir.PathOf("folder.lut");  // opens for reading here, and reading it fails
    std::filesystem::create_directory(folder);
    GammaRamp ramp;
    EXPECT_EQ(raisedBy([&] { LoadLutSource(ramp, folder); }), std::make_pair(EISDIR, folder));
    EXPECT_EQ(ramp, GammaRamp{});

    const std::string path = dir.Write("keep.lut", Bytes(3000, 0x5A));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{1000, saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto raised = raisedBy([&] { SaveLutFile(GammaRamp{}, path); });
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(raised, std::make_pair(EFBIG, path));
    EXPECT_EQ(dir.Read("keep.lut"), Bytes(3000, 0x5A));
    EXPECT_EQ(dir.Files(), Names{"keep.lut"});
}

// What a link leads to gets the content and the link stays; a link that leads nowhere
// is refused; an old file keeps its mode and a new one gets 0666 less the umask. The
// names the save tries first for its temporary file are taken by a file, a link to
// another file and a link that leads nowhere: each is passed over, none is written,
// followed or removed.
TEST(SaveLutFile, WritesWhereALinkLeadsNeverThroughOneAtItsTemporaryNameAndKeepsTheMode)
{
    namespace fs = std::filesystem;
    const TempDir dir;
    const Bytes old(1536, 0x11), saved = LutFileBytes(DistinctRamp());
    for (const char* name : {"real.lut", "plain.lut", "victim", ".~taken"})
        dir.Write(name, old);
    fs::create_symlink("real.lut", dir.PathOf("link.lut"));
    fs::create_symlink("missing.lut", dir.PathOf("nowhere.lut"));
    fs::create_symlink("victim", dir.PathOf(".~to-victim"));
    fs::create_symlink("absent", dir.PathOf(".~to-absent"));
    chmod(dir.PathOf("real.lut").c_str(), 0600);
    chmod(dir.PathOf("plain.lut").c_str(), 0751);
    const mode_t mask = umask(022);
    umask(mask);
    const struct {
        const char* name;
        bool saves;
        const char* file;
        mode_t mode;
    } cases[] = {{"link.lut", true, "real.lut", 0600}, {"plain.lut", true, "plain.lut", 0751},
                 {"new.lut", true, "new.lut", 0666 & ~mask}, {"nowhere.lut", false, "missing.lut", 0}};
    for (const auto& c : cases) {
        g_takenNames = {".~taken", ".~to-victim", ".~to-absent"};
        EXPECT_EQ(SaveLutFile(DistinctRamp(), dir.PathOf(c.name)), c.saves) << c.name;
        EXPECT_EQ(dir.Read(c.file), c.saves ? saved : Bytes()) << c.name;
        struct stat status {};
        EXPECT_EQ(stat(dir.PathOf(c.file).c_str(), &status) == 0 ? status.st_mode & 07777 : 0, c.mode) << c.name;
        EXPECT_TRUE(c.saves == g_takenNames.empty()) << c.name << ": every taken name tried first";
    }
    EXPECT_TRUE(fs::is_symlink(dir.PathOf("link.lut")));
    EXPECT_EQ(dir.Read("victim"), old);
    EXPECT_EQ(dir.Read(".~taken"), old);
    EXPECT_EQ(dir.Files(), (Names{".~taken", ".~to-absent", ".~to-victim", "link.lut", "new.lut", "nowhere.lut",
                                  "plain.lut", "real.lut", "victim"}));
}

// A file that may be written in a folder that takes no new file (a folder without
// write permission, or a sticky folder where the file is someone else's) is written in
// place. Root is not bound by permissions: the save runs as another user then.
TEST(SaveLutFile, WritesInPlaceWhereTheFolderRefusesANewFile)
{
    const TempDir dir;
    const bool root = geteuid() == 0;
    for (const mode_t folderMode : {0555, 01777}) {
        if (folderMode == 01777 && !root)
            continue;  // the file must belong to someone else
        const std::string name = std::to_string(folderMode), folder = dir.PathOf(name);
        std::filesystem::create_directory(folder);
        const std::string path = dir.Write(name + "/shared.lut", Bytes(1536, 0x22));
        chmod(path.c_str(), 0666);
        chmod(folder.c_str(), folderMode);
        const auto save = [&]() noexcept { return SaveLutFile(DistinctRamp(), path); };  // a raise ends the child
        if (fork() == 0)
            _exit(root && setuid(65534) != 0 ? 2 : save() ? 0 : 1);
        int status = -1;
        wait(&status);
        chmod(folder.c_str(), 0755);
        EXPECT_EQ(status, 0) << name;
        EXPECT_EQ(dir.Read(name + "/shared.lut"), LutFileBytes(DistinctRamp())) << name;
    }
    EXPECT_EQ(dir.Files(), root ? (Names{"1023/shared.lut", "365/shared.lut"}) : Names{"365/shared.lut"});
}
#endif
