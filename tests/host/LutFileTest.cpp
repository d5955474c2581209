#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "base/File.h"
#include "lut/LutFile.h"
#include "support/RecordingLog.h"
#include "support/TempDir.h"
#include "support/TestRamps.h"

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

using Names = std::vector<std::string>;

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

TEST(SaveLutFile, ReplacesTheFileWholeWithTheLittleEndianRampThatLoadsBack)
{
    const TempDir dir;
    const std::string path = dir.Write("saved.lut", Bytes(5000, 0xAB));
    ASSERT_TRUE(SaveLutFile(DistinctRamp(), path));
    EXPECT_EQ(dir.Read("saved.lut"), LutFileBytes(DistinctRamp()));
    GammaRamp loaded;
    EXPECT_TRUE(LoadLutSource(loaded, path) && loaded == DistinctRamp());
    EXPECT_FALSE(SaveLutFile(GammaRamp{}, dir.PathOf("no-such-folder/x.lut")));
    EXPECT_EQ(dir.Files(), Names{"saved.lut"});
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
#endif
