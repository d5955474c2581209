#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ProfileBuilder.h"
#include "TempDir.h"
#include "X11TestSupport.h"
#include "lut/LutFile.h"

extern char** environ;

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

std::string Slurp(const std::string& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs the Linux program as its own process; its output is collected in files.
Outcome RunProgram(const TempDir& folder, std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), RAMPWISE_PROGRAM);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string out = folder.PathOf("stdout"), err = folder.PathOf("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return {-1, "", "the program did not run to its end"};
    return {WEXITSTATUS(status), Slurp(out), Slurp(err)};
}

class LinuxProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RAMPWISE_REQUIRE_X_SERVER();
        setenv("XDG_CACHE_HOME", m_cache.PathOf("").c_str(), 1);
        ASSERT_TRUE(WriteCrtcGamma("DUMMY0", TableOf(m_known)));
    }
    Outcome Run(std::vector<std::string> arguments) { return RunProgram(m_output, std::move(arguments)); }

    static GammaRamp Loaded(const std::string& path)
    {
        GammaRamp ramp;
        EXPECT_TRUE(LoadLutSource(ramp, path)) << path;
        return ramp;
    }

    const GammaRamp m_known = DistinctRamp(9);
    SavedGammaTables m_savedTables;
    TempDir m_files, m_output, m_cache;
};

const Outcome kSilentSuccess = {0, "", ""};

bool operator==(const Outcome& a, const Outcome& b)
{
    return a.status == b.status && a.out == b.out && a.err == b.err;
}

void PrintTo(const Outcome& o, std::ostream* os)
{
    *os << "status " << o.status << ", stdout \"" << o.out << "\", stderr \"" << o.err << "\"";
}

Bytes VcgtTableProfile(const GammaRamp& ramp)
{
    return ProfileBuilder().Tag(kDescTag, Bytes(40)).Tag(kVcgtTag, VcgtTable(3, 256, 2, U16Bytes({ramp.entries.begin(), ramp.entries.end()}))).Build();
}

} // namespace

TEST_F(LinuxProgramTest, EverySourceKindLandsInTheCrtcTableOfAnotherProcess)
{
    const GammaRamp lut = DistinctRamp(5), table = DistinctRamp(6);
    ASSERT_TRUE(SaveLutFile(lut, m_files.PathOf("day.lut")));
    const std::string tableProfile = m_files.Write("table.icc", VcgtTableProfile(table));
    // Gamma 2.0 from 0.1 to 0.9 on red, 1.5 from 0 to 1 on green, 0.8 from 0.2 to 1 on blue (16.16 values).
    const std::string formulaProfile = m_files.Write(
        "formula.icc", ProfileBuilder().Tag(kVcgtTag, VcgtFormula({131072, 6554, 58982, 98304, 0, 65536, 52429, 13107, 65536})).Build());

    const struct {
        std::vector<std::string> arguments;
        GammaRamp expected;
    } cases[] = {
        {{"/pt", m_files.PathOf("day.lut"), "0"}, lut},
        {{tableProfile}, table},
        {{"-pt", formulaProfile, "0"}, Loaded(formulaProfile)},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteCrtcGamma("DUMMY0", TableOf(m_known)));
        EXPECT_EQ(Run(c.arguments), kSilentSuccess) << c.arguments[0];
        EXPECT_EQ(ReadCrtcGamma("DUMMY0"), TableOf(c.expected)) << c.arguments[0];
    }
    EXPECT_NE(Loaded(formulaProfile), m_known);
}

TEST_F(LinuxProgramTest, DisplayNumberSelectsTheOutputAndAMissingOneChangesNothing)
{
    SecondDisplay on;
    ASSERT_TRUE(WriteCrtcGamma("DUMMY1", TableOf(m_known)));
    const GammaRamp ramp = DistinctRamp(7);
    ASSERT_TRUE(SaveLutFile(ramp, m_files.PathOf("day.lut")));

    EXPECT_EQ(Run({"/pt", m_files.PathOf("day.lut"), "1"}), kSilentSuccess);
    EXPECT_EQ(ReadCrtcGamma("DUMMY1"), TableOf(ramp));
    EXPECT_EQ(ReadCrtcGamma("DUMMY0"), TableOf(m_known));

    EXPECT_EQ(Run({"/pt", m_files.PathOf("day.lut"), "2"}), (Outcome{1, "", "ERROR: EnumDisplayDevices falied 0\n"}));
    EXPECT_EQ(ReadCrtcGamma("DUMMY0"), TableOf(m_known));
    EXPECT_EQ(ReadCrtcGamma("DUMMY1"), TableOf(ramp));
}

TEST_F(LinuxProgramTest, DefaultUsesTheProfileThatTheServerHolds)
{
    const GammaRamp table = DistinctRamp(8);
    EXPECT_EQ(Run({"/pt", "@default", "0"}),
              (Outcome{1, "", "rampwise: display 0 has no colour profile with calibration curves\n"}));
    EXPECT_EQ(ReadCrtcGamma("DUMMY0"), TableOf(m_known));

    ProfileProperty profile("_ICC_PROFILE", VcgtTableProfile(table));
    EXPECT_EQ(Run({"/pt", "@default", "0"}), kSilentSuccess);
    EXPECT_EQ(ReadCrtcGamma("DUMMY0"), TableOf(table));
}

TEST_F(LinuxProgramTest, UnloadableSourceOrNoSourceChangesNothing)
{
    const std::string shortLut = m_files.Write("short.lut", Bytes(1000, 0x80));
    const struct {
        std::vector<std::string> arguments;
        Outcome outcome;
    } cases[] = {
        {{"/pt", shortLut, "0"},
         {1, "", "rampwise: " + shortLut + " could not be loaded: missing, too short, or without calibration curves\n"}},
        {{"@Default"}, {1, "", "rampwise: @Default could not be loaded: missing, too short, or without calibration curves\n"}},
        {{}, {2, "", "usage: rampwise [/pt] LUT-FILE|PROFILE|@default [DISPLAY-NUMBER]\n"}},
        {{"/pt"}, {2, "", "usage: rampwise [/pt] LUT-FILE|PROFILE|@default [DISPLAY-NUMBER]\n"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.arguments), c.outcome);
        EXPECT_EQ(ReadCrtcGamma("DUMMY0"), TableOf(m_known));
    }
}
