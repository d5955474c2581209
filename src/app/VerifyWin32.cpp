#include "app/VerifyWin32.h"

#include <windows.h>

#include <string>

#include "app/Verify.h"
#include "base/File.h"
#include "base/TextWin32.h"
#include "base/WinHandles.h"

namespace {

// A program with a window has no console of its own: the line goes to the one of the
// program that started it (a command prompt, a script), or nowhere. Output that the
// starter redirected to a file or pipe takes the line as it is; a console takes it as
// text in the program's code page.
void PrintToParentConsole(const std::string& text)
{
    // Refused with "access denied" when the process has a console already (Wine gives
    // one to a program that a console program starts).
    const bool attached = AttachConsole(ATTACH_PARENT_PROCESS);
    if (!attached && GetLastError() != ERROR_ACCESS_DENIED)
        return;
    const std::string line = text + "\r\n";
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    FileHandle opened;
    if (out == nullptr || out == INVALID_HANDLE_VALUE) {
        opened.Reset(CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
        out = opened.Get();
    }
    if (out != INVALID_HANDLE_VALUE) {
        DWORD mode = 0, written = 0;
        if (GetConsoleMode(out, &mode)) {
            const std::wstring wide = WideFromAnsi(line);
            WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        } else {
            WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        }
    }
    if (attached)
        FreeConsole();
}

} // namespace

int RunVerifyToConsole(const LaunchArguments& arguments)
{
    const VerifyOutcome unreadable{VerifyOutcome::Result::NotLoaded, {}};
    try {
        const VerifyOutcome outcome = RunVerify(arguments);
        PrintToParentConsole(FormatVerifyLine(arguments, outcome));
        return outcome.ExitStatus();
    } catch (const CFileException& error) {
        PrintToParentConsole(error.FileName() + " could not be read (error " + std::to_string(error.ErrorCode()) + ")");
    }
    return unreadable.ExitStatus();
}
