#include "framework/CommandLineWin32.h"

#include <windows.h>

#include "base/CommandLineSplit.h"
#include "base/TextWin32.h"

std::vector<std::string> GetProcessArguments()
{
    const std::vector<std::wstring> words = SplitCommandLine(GetCommandLineW());
    std::vector<std::string> arguments;
    for (std::size_t i = 1; i < words.size(); ++i)
        arguments.push_back(AnsiFromWide(words[i]));
    return arguments;
}
