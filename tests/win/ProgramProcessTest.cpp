#include <windows.h>

#include <filesystem>
#include <string>

#include "DisplayTestSupport.h"
#include "TempDir.h"

namespace {

// The program next to the test program, started with these arguments; ended when the
// test leaves it running.
class ChildProcess {
public:
    explicit ChildProcess(const std::string& arguments)
    {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        const auto program = std::filesystem::path(path).parent_path() / "rampwise.exe";
        std::string commandLine = "\"";
        commandLine += program.string() + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        EXPECT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &m_info)) << GetLastError();
    }
    ~ChildProcess()
    {
        TerminateProcess(m_info.hProcess, 1);
        CloseHandle(m_info.hThread);
        CloseHandle(m_info.hProcess);
    }
    bool Ended(DWORD milliseconds) const { return WaitForSingleObject(m_info.hProcess, milliseconds) == WAIT_OBJECT_0; }
    DWORD ExitCode() const
    {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }
    // A window of the process: any, or a visible one with this title.
    HWND Window(const char* title = nullptr) const
    {
        struct Search {
            DWORD processId;
            const char* title;
            HWND found;
        } search{m_info.dwProcessId, title, nullptr};
        EnumWindows(
            [](HWND window, LPARAM parameter) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(parameter);
                DWORD processId = 0;
                char text[256] = {};
                GetWindowThreadProcessId(window, &processId);
                GetWindowTextA(window, text, sizeof(text));
                if (processId == s.processId && (!s.title || (IsWindowVisible(window) && std::string(text) == s.title)))
                    s.found = window;
                return !s.found;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    PROCESS_INFORMATION m_info{};
};

class ProgramProcessTest : public DisplayRampTest {};

TEST_F(ProgramProcessTest, SilentApplyEndsByItselfWithoutAWindow)
{
    TempDir folder;
    std::filesystem::create_directory(folder.PathOf("with blank"));
    const std::string lut = folder.Write("with blank\\curve.lut", LutFileBytes(CurveRamp(1.1, 1.5, 2.2)));
    for (const std::string& source : {lut, folder.PathOf("missing.lut"), std::string("@default")}) {
        SCOPED_TRACE(source);
        ChildProcess child("/pt \"" + source + "\" 0");
        for (int waited = 0; !child.Ended(10) && waited < 3000; ++waited)
            ASSERT_EQ(child.Window(), nullptr) << "the program showed a window";
        ASSERT_TRUE(child.Ended(0)) << "still running after 30 s";
        EXPECT_EQ(child.ExitCode(), 0u);
    }
}

TEST_F(ProgramProcessTest, WithoutArgumentsShowsTheMainWindowUntilEscape)
{
    ChildProcess child("");
    HWND window = nullptr;
    for (int waited = 0; !window && !child.Ended(20) && waited < 1500; ++waited)
        window = child.Window("Rampwise");
    ASSERT_NE(window, nullptr) << "no window captioned Rampwise";
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(child.Ended(30000)) << "still running after Escape";
    EXPECT_EQ(child.ExitCode(), 0u);
}

} // namespace
