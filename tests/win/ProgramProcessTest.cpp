#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

#include "DisplayTestSupport.h"
#include "TempDir.h"
#include "app/SilentApply.h"
#include "base/LaunchArguments.h"

namespace {

// Runs the program next to the test program with these arguments, calling `whileRunning`
// with its process id every 10 ms for up to 30 s; gives its exit code, or STILL_ACTIVE
// when it had to be ended.
DWORD RunProgram(const std::string& arguments, const std::function<void(DWORD)>& whileRunning)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string commandLine = "\"";
    commandLine += (std::filesystem::path(path).parent_path() / "rampwise.exe").string() + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(
        CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    for (int waited = 0; waited < 3000 && WaitForSingleObject(process.hProcess, 10) == WAIT_TIMEOUT; ++waited)
        whileRunning(process.dwProcessId);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

class ProgramProcess : public DisplayRampTest {};

} // namespace

// Each source is applied in this process, where the display's ramp can be read back, and
// by the program itself, which must end by itself whatever the outcome: the main dialog
// or a message box would keep it running.
TEST_F(ProgramProcess, SilentApplyWritesOnlyALoadableSourceAndEndsWithoutAWindow)
{
    TempDir folder;
    std::filesystem::create_directory(folder.PathOf("with blank"));
    const GammaRamp known = CurveRamp(0.8, 0.8, 0.8), shown = CurveRamp(1.1, 1.5, 2.2);
    const std::string lut = folder.Write("with blank\\curve.lut", LutFileBytes(shown));
    const CalibratedDisplayProfile calibrated(shown);
    const struct { std::string source; const char* display; SilentApplyResult result; } cases[] = {
        {lut, "0", SilentApplyResult::Applied},
        {"@default", "0", SilentApplyResult::Applied},
        {lut, "1", SilentApplyResult::NotApplied},
        {folder.PathOf("missing.lut"), "0", SilentApplyResult::NotLoaded},
        {folder.Write("short.lut", std::vector<std::uint8_t>(1000)), "0", SilentApplyResult::NotLoaded},
        {"@Default", "0", SilentApplyResult::NotLoaded},  // not the keyword: a missing file
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source + " " + c.display);
        ASSERT_TRUE(WriteDisplayRamp(0, known));
        EXPECT_EQ(RunSilentApply(ParseLaunchArguments({"/pt", c.source, c.display})), c.result);
        EXPECT_EQ(CurrentRamp(), c.result == SilentApplyResult::Applied ? shown : known);
        EXPECT_EQ(RunProgram("/pt \"" + c.source + "\" " + c.display, [](DWORD) {}), 0u);
    }
}

TEST_F(ProgramProcess, WithoutArgumentsShowsTheMainWindowUntilEscape)
{
    bool shown = false;
    EXPECT_EQ(RunProgram("", [&](DWORD) {
                  const HWND window = FindWindowA(nullptr, "Rampwise");
                  if (!shown && (shown = IsWindowVisible(window)))
                      PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
              }),
              0u);
    EXPECT_TRUE(shown) << "no window captioned Rampwise";
}
