#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One word of a command line: the text the program receives, and the characters of
// the command line it was read from (its quotes and backslashes included).
template <class Char>
struct CommandLineWord {
    std::basic_string<Char> text;
    std::size_t start = 0;
    std::size_t length = 0;
};

// Splits a command line the way Windows programs split theirs (as CommandLineToArgvW
// does): the program's name first, then each argument. Kept in our own code so that
// starting the program does not load the shell's library, and so that a command
// stored for later (a log-on entry) is read as the program will read it.
std::vector<CommandLineWord<char>> SplitCommandLineWords(std::string_view commandLine);
std::vector<CommandLineWord<wchar_t>> SplitCommandLineWords(std::wstring_view commandLine);

// The words' texts alone.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);
