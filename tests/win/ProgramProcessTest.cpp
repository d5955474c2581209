#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "DisplayTestSupport.h"
#include "TempDir.h"

namespace {

// The handles of a started process; a process still running when the holder goes away
// (a failed test) is ended first.
class ChildProcess {
public:
    explicit ChildProcess(std::string commandLine)
    {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &m_info))
            m_info = {};
    }
    ~ChildProcess()
    {
        if (!m_info.hProcess)
            return;
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_info.hProcess, 1);
        CloseHandle(m_info.hThread);
        CloseHandle(m_info.hProcess);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    HANDLE Handle() const { return m_info.hProcess; }
    DWORD Id() const { return m_info.dwProcessId; }

private:
    PROCESS_INFORMATION m_info{};
};

struct WindowSearch {
    DWORD processId;
    std::string found;  // class and title of the first window of the process
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId)
        return TRUE;
    char className[256] = {}, title[256] = {};
    GetClassNameA(window, className, sizeof(className));
    GetWindowTextA(window, title, sizeof(title));
    search->found = std::string("class \"") + className + "\", title \"" + title + "\"";
    return FALSE;
}

std::string ProgramPath()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return (std::filesystem::path(path).parent_path() / "rampwise.exe").string();
}

std::string Quoted(const std::string& text)
{
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

class ProgramProcessTest : public DisplayRampTest {};

TEST_F(ProgramProcessTest, EndsByItselfWithoutAWindow)
{
    TempDir folder;
    std::filesystem::create_directory(folder.PathOf("with blank"));
    const std::string lutPath = folder.Write("with blank\\curve.lut", LutFileBytes(CurveRamp(1.1, 1.5, 2.2)));
    const std::string arguments[] = {
        "/pt " + Quoted(lutPath) + " 0",
        "/pt " + Quoted(folder.PathOf("missing.lut")) + " 0",
        "/pt \"@default\" 0",
    };
    constexpr auto kTimeout = std::chrono::seconds(30);
    for (const std::string& argument : arguments) {
        SCOPED_TRACE(argument);
        const auto start = std::chrono::steady_clock::now();
        ChildProcess child(Quoted(ProgramPath()) + " " + argument);
        ASSERT_TRUE(child.Started()) << "CreateProcess failed " << GetLastError();
        WindowSearch search{child.Id(), {}};
        while (WaitForSingleObject(child.Handle(), 10) == WAIT_TIMEOUT &&
               std::chrono::steady_clock::now() - start < kTimeout) {
            EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
            ASSERT_EQ(search.found, "") << "the program showed a window";
        }
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        ASSERT_EQ(WaitForSingleObject(child.Handle(), 0), WAIT_OBJECT_0) << "still running after 30 s";
        DWORD exitCode = 0;
        GetExitCodeProcess(child.Handle(), &exitCode);
        EXPECT_EQ(exitCode, 0u);
        std::printf("[   TIME   ] rampwise.exe %s: %lld ms\n", argument.c_str(),
                    static_cast<long long>(elapsed.count()));
    }
}

struct TitledWindowSearch {
    DWORD processId;
    const char* title;
    HWND found;
};

BOOL CALLBACK FindTitledWindowOfProcess(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<TitledWindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char title[256] = {};
    GetWindowTextA(window, title, sizeof(title));
    if (processId != search->processId || !IsWindowVisible(window) || std::string(title) != search->title)
        return TRUE;
    search->found = window;
    return FALSE;
}

TEST_F(ProgramProcessTest, WithoutASourceShowsTheMainWindowUntilEscape)
{
    constexpr auto kTimeout = std::chrono::seconds(30);
    const auto start = std::chrono::steady_clock::now();
    ChildProcess child(Quoted(ProgramPath()));
    ASSERT_TRUE(child.Started()) << "CreateProcess failed " << GetLastError();
    TitledWindowSearch search{child.Id(), "Rampwise", nullptr};
    while (!search.found && WaitForSingleObject(child.Handle(), 20) == WAIT_TIMEOUT &&
           std::chrono::steady_clock::now() - start < kTimeout)
        EnumWindows(FindTitledWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    ASSERT_NE(search.found, nullptr) << "no window captioned Rampwise";

    PostMessageA(search.found, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_EQ(WaitForSingleObject(child.Handle(), 30000), WAIT_OBJECT_0) << "still running after Escape";
    DWORD exitCode = 1;
    GetExitCodeProcess(child.Handle(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
}

} // namespace
