#include "framework/CommandLineWin32.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/Handles.h"

std::string NarrowFromWide(const wchar_t* text)
{
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(size - 1));
    return narrow;
}

std::vector<std::string> GetProcessArguments()
{
    int count = 0;
    const LocalMemory<LPWSTR*> argv(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> arguments;
    if (!argv.Get())
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(NarrowFromWide(argv.Get()[i]));
    return arguments;
}
