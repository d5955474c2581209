#pragma once

#include <string>
#include <vector>

// Prints the lines where the one who started the program reads them: to its standard
// output when that was handed over (a file, a pipe, a console), else to the console
// of the program that started it, when there is one; else nowhere. Errors go the same
// way through standard error.
enum class ConsoleStream { Output, Error };
void PrintLines(const std::vector<std::string>& lines, ConsoleStream stream = ConsoleStream::Output);
