#include <gtest/gtest.h>

#include <cerrno>

#include "TempDir.h"
#include "framework/File.h"
#include "lut/LutFile.h"
#include "support/RecordingLog.h"

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

// Entry i holds 0x0100 * (i % 256) + i / 256 + 1, so every entry and both bytes of
// it are told apart by position.
GammaRamp DistinctRamp()
{
    GammaRamp ramp;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ramp.entries[i] = static_cast<std::uint16_t>(((i % 256) << 8) | (i / 256 + 1));
    return ramp;
}

std::vector<std::uint8_t> LittleEndianBytes(const GammaRamp& ramp)
{
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t entry : ramp.entries) {
        bytes.push_back(static_cast<std::uint8_t>(entry & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(entry >> 8));
    }
    return bytes;
}

GammaRamp Filled(std::uint16_t value)
{
    GammaRamp ramp;
    ramp.entries.fill(value);
    return ramp;
}

} // namespace

TEST(LoadLutSource, FileSizeDecidesAndShortFilesLeaveTheRampAlone)
{
    TempDir dir;
    const std::vector<std::uint8_t> full = LittleEndianBytes(DistinctRamp());
    const struct {
        std::size_t size;
        bool loads;
    } cases[] = {{0, false}, {1000, false}, {1535, false}, {1536, true}, {2000, true}};
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes(c.size, 0xEE);
        std::copy_n(full.begin(), std::min(c.size, full.size()), bytes.begin());
        const std::string path = dir.Write("size" + std::to_string(c.size) + ".lut", bytes);

        GammaRamp ramp = Filled(7);
        EXPECT_EQ(LoadLutSource(ramp, path), c.loads) << c.size;
        EXPECT_EQ(ramp, c.loads ? DistinctRamp() : Filled(7)) << c.size;
    }
}

TEST(LoadLutSource, OnlyTheLastFourCharactersChooseTheRawFormat)
{
    TempDir dir;
    const std::vector<std::uint8_t> bytes = LittleEndianBytes(DistinctRamp());
    // The same 1536 bytes load only under a LUT name; as a profile they hold no tag.
    const struct {
        const char* name;
        bool readAsLut;
    } cases[] = {{"day.lut", true},   {"day.LUT", true},   {"day.Lut", true},  {".lut", true},
                 {"day.lut.icc", false}, {"day.icm", false}, {"lut", false},   {"daylut", false}};
    for (const auto& c : cases) {
        GammaRamp ramp = Filled(7);
        EXPECT_EQ(LoadLutSource(ramp, dir.Write(c.name, bytes)), c.readAsLut) << c.name;
        EXPECT_EQ(IsLutFileName(c.name), c.readAsLut) << c.name;
    }
}

TEST(LoadLutSource, EmptyOrMissingPathFailsQuietly)
{
    TempDir dir;
    ClearLog();
    GammaRamp ramp = Filled(7);
    EXPECT_FALSE(LoadLutSource(ramp, ""));
    EXPECT_FALSE(LoadLutSource(ramp, dir.PathOf("missing.lut")));
    EXPECT_EQ(ramp, Filled(7));
    EXPECT_TRUE(LoggedLines().empty());
}

TEST(SaveLutFile, RoundTripsAsExactlyOneLittleEndianRamp)
{
    TempDir dir;
    const std::string path = dir.PathOf("saved.lut");
    ASSERT_TRUE(SaveLutFile(DistinctRamp(), path));
    EXPECT_EQ(dir.Read("saved.lut"), LittleEndianBytes(DistinctRamp()));

    GammaRamp loaded;
    ASSERT_TRUE(LoadLutSource(loaded, path));
    EXPECT_EQ(loaded, DistinctRamp());
}

TEST(SaveLutFile, ReplacesALongerFileAndLeavesNothingElse)
{
    TempDir dir;
    const std::string path = dir.Write("old.lut", std::vector<std::uint8_t>(5000, 0xAB));
    ASSERT_TRUE(SaveLutFile(Filled(0x1234), path));
    EXPECT_EQ(dir.Read("old.lut").size(), 1536u);
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"old.lut"});
}

TEST(SaveLutFile, FolderThatDoesNotExistFailsWithoutCreatingAnything)
{
    TempDir dir;
    EXPECT_FALSE(SaveLutFile(Filled(1), dir.PathOf("no-such-folder/x.lut")));
    EXPECT_TRUE(dir.Files().empty());
}

#ifndef _WIN32
// A process file-size limit below 1536 bytes makes the write itself fail, the way a
// full disk does.
TEST(SaveLutFile, FailedWriteRaisesAndKeepsTheOldFile)
{
    TempDir dir;
    const std::vector<std::uint8_t> old(3000, 0x5A);
    const std::string path = dir.Write("keep.lut", old);

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int errorCode = 0;
    std::string fileName;
    try {
        SaveLutFile(Filled(0x1234), path);
    } catch (const CFileException& error) {
        errorCode = error.ErrorCode();
        fileName = error.FileName();
    }
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(errorCode, EFBIG);
    EXPECT_EQ(fileName, path);
    EXPECT_EQ(dir.Read("keep.lut"), old);
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"keep.lut"});
}

TEST(LoadLutSource, ReadErrorOfAnOpenFileRaisesWithItsName)
{
    // A folder opens for reading here, and reading it fails.
    TempDir dir;
    std::filesystem::create_directory(dir.PathOf("folder.lut"));
    GammaRamp ramp = Filled(7);
    try {
        LoadLutSource(ramp, dir.PathOf("folder.lut"));
        FAIL() << "no exception";
    } catch (const CFileException& error) {
        EXPECT_EQ(error.ErrorCode(), EISDIR);
        EXPECT_EQ(error.FileName(), dir.PathOf("folder.lut"));
    }
    EXPECT_EQ(ramp, Filled(7));
}
#endif
