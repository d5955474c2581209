#pragma once

#include <string>
#include <vector>

// This process's arguments after the program's own name, split by the platform's
// rules and converted to the ANSI code page that the program's file calls use.
std::vector<std::string> GetProcessArguments();

// Splits a command line the way the platform's shell does (CommandLineToArgvW): the
// program's name first, then each argument. Kept here so that starting the program
// does not load the shell's library.
std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine);

// Converts UTF-16 text to the ANSI code page.
std::string NarrowFromWide(const wchar_t* text);
