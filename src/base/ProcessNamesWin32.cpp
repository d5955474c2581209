#include "base/ProcessNames.h"

#include <windows.h>
#include <psapi.h>

#include <string_view>

#include "base/TextWin32.h"
#include "base/WinHandles.h"

std::vector<unsigned long> ProcessNames::ProcessIds()
{
    std::vector<DWORD> pids(512);
    DWORD bytes = 0;
    // A full list may have been cut short: asked again with room for twice as many.
    while (EnumProcesses(pids.data(), static_cast<DWORD>(pids.size() * sizeof(DWORD)), &bytes) &&
           bytes == pids.size() * sizeof(DWORD))
        pids.resize(pids.size() * 2);
    pids.resize(bytes / sizeof(DWORD));
    return {pids.begin(), pids.end()};
}

// The file name of the process's executable, in UTF-8.
std::string ProcessNames::ReadName(unsigned long pid)
{
    const KernelObject process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid)));
    wchar_t path[MAX_PATH] = L"";
    DWORD size = MAX_PATH;
    if (!process || !QueryFullProcessImageNameW(process.Get(), 0, path, &size))
        return {};
    const std::wstring_view full(path, size);
    const std::size_t slash = full.find_last_of(L"\\/");
    return AnsiFromWide(full.substr(slash == std::wstring_view::npos ? 0 : slash + 1), CP_UTF8);
}

// Not told on Windows: every call lists the processes.
unsigned long ProcessNames::LastProcessId()
{
    return 0;
}
