#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/CommandLineSplit.h"
#include "base/WinHandles.h"

// Every line of up to seven characters made of blanks, quotes, backslashes and a
// letter: the rules of the program's name and those of the arguments after it.
TEST(CommandLineWin32, SplitsEveryShortLineAsThePlatformDoes)
{
    std::vector<std::wstring> lines{L""};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].size() < 7)
            for (wchar_t c : std::wstring(L"a \t\"\\"))
                lines.push_back(lines[i] + c);
        if (lines[i].empty())
            continue;  // the platform answers the program's path
        int count = 0;
        const LocalMemory<LPWSTR*> argv(CommandLineToArgvW(lines[i].c_str(), &count));
        ASSERT_TRUE(argv);
        ASSERT_EQ(SplitCommandLine(lines[i]), std::vector<std::wstring>(argv.Get(), argv.Get() + count)) << lines[i];
    }
}
