#include "app/ConsoleWin32.h"

#include <windows.h>

#include "base/TextWin32.h"
#include "base/WinHandles.h"

namespace {

// A console takes the text as text in the program's code page; a file or a pipe takes
// it as it is.
void Write(HANDLE out, const std::string& text)
{
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) {
        const std::wstring wide = WideFromAnsi(text);
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

bool IsUsable(HANDLE handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

void PrintLines(const std::vector<std::string>& lines, ConsoleStream stream)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    const DWORD handed = stream == ConsoleStream::Error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    if (const HANDLE out = GetStdHandle(handed); IsUsable(out)) {
        Write(out, text);
        return;
    }
    // A program with a window has no console of its own. Attaching is refused with
    // "access denied" when the process has a console already.
    const bool attached = AttachConsole(ATTACH_PARENT_PROCESS);
    if (!attached && GetLastError() != ERROR_ACCESS_DENIED)
        return;
    const FileHandle console(CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
    if (console)
        Write(console.Get(), text);
    if (attached)
        FreeConsole();
}
