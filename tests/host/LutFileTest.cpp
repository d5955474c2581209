#include <gtest/gtest.h>

#include <cerrno>

#include "TempDir.h"
#include "base/File.h"
#include "lut/LutFile.h"
#include "support/RecordingLog.h"

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

// Entry i holds 0x0100 * (i % 256) + i / 256 + 1: every entry and both its bytes differ,
// and none is 0 like the entries of an untouched GammaRamp{}.
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
    for (std::uint16_t entry : ramp.entries)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(entry & 0xFF), static_cast<std::uint8_t>(entry >> 8)});
    return bytes;
}

} // namespace

TEST(LoadLutSource, FileSizeDecidesAndAnyFailureLeavesTheRampAlone)
{
    TempDir dir;
    const std::vector<std::uint8_t> full = LittleEndianBytes(DistinctRamp());
    for (const std::size_t size : {1000, 1535, 1536, 2000}) {
        std::vector<std::uint8_t> bytes = full;
        bytes.resize(size, 0xEE);
        GammaRamp ramp;
        EXPECT_EQ(LoadLutSource(ramp, dir.Write(std::to_string(size) + ".lut", bytes)), size >= 1536) << size;
        EXPECT_EQ(ramp, size >= 1536 ? DistinctRamp() : GammaRamp{}) << size;
    }
    ClearLog();
    GammaRamp ramp;
    EXPECT_FALSE(LoadLutSource(ramp, ""));
    EXPECT_FALSE(LoadLutSource(ramp, dir.PathOf("missing.lut")));
    EXPECT_EQ(ramp, GammaRamp{});
    EXPECT_TRUE(LoggedLines().empty());
}

TEST(LoadLutSource, OnlyANameEndingInDotLutInAnyCaseIsARawLutFile)
{
    TempDir dir;
    const std::vector<std::uint8_t> bytes = LittleEndianBytes(DistinctRamp());
    // The same 1536 bytes load only under a LUT name; as a profile they hold no tag.
    const std::pair<std::string, bool> cases[] = {{"day.lut", true},      {"day.LuT", true}, {".lut", true},
                                                  {"day.lut.icc", false}, {"day.icm", false}, {"lut", false},
                                                  {"daylut", false}};
    for (const auto& [name, isLut] : cases) {
        GammaRamp ramp;
        EXPECT_EQ(IsLutFileName(name), isLut) << name;
        EXPECT_EQ(LoadLutSource(ramp, dir.Write(name, bytes)), isLut) << name;
        EXPECT_EQ(ramp, isLut ? DistinctRamp() : GammaRamp{}) << name;
    }
}

TEST(SaveLutFile, ReplacesTheFileWithExactlyOneLittleEndianRampThatLoadsBack)
{
    TempDir dir;
    const std::string path = dir.Write("saved.lut", std::vector<std::uint8_t>(5000, 0xAB));
    ASSERT_TRUE(SaveLutFile(DistinctRamp(), path));
    EXPECT_EQ(dir.Read("saved.lut"), LittleEndianBytes(DistinctRamp()));
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"saved.lut"});
    GammaRamp loaded;
    EXPECT_TRUE(LoadLutSource(loaded, path) && loaded == DistinctRamp());

    EXPECT_FALSE(SaveLutFile(GammaRamp{}, dir.PathOf("no-such-folder/x.lut")));
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"saved.lut"});
}

#ifndef _WIN32
namespace {

// The error code and file name of the CFileException that action raises; {0, ""} for none.
template <typename Action>
std::pair<int, std::string> RaisedBy(Action action)
{
    try {
        action();
    } catch (const CFileException& error) {
        return {error.ErrorCode(), error.FileName()};
    }
    return {0, ""};
}

} // namespace

// A process file-size limit below 1536 bytes makes the write itself fail, as a full disk does.
TEST(SaveLutFile, FailedWriteRaisesWithTheNameAndKeepsTheOldFile)
{
    TempDir dir;
    const std::vector<std::uint8_t> old(3000, 0x5A);
    const std::string path = dir.Write("keep.lut", old);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{1000, saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto raised = RaisedBy([&] { SaveLutFile(GammaRamp{}, path); });
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(raised, std::make_pair(EFBIG, path));
    EXPECT_EQ(dir.Read("keep.lut"), old);
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"keep.lut"});
}

TEST(LoadLutSource, ReadErrorOfAnOpenFileRaisesWithItsName)
{
    TempDir dir;
    const std::string folder = dir.PathOf("folder.lut");  // opens for reading here, and reading it fails
    std::filesystem::create_directory(folder);
    GammaRamp ramp;
    EXPECT_EQ(RaisedBy([&] { LoadLutSource(ramp, folder); }), std::make_pair(EISDIR, folder));
    EXPECT_EQ(ramp, GammaRamp{});
}
#endif
