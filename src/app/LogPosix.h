#pragma once

#include <string>

// The text with its control characters written as escapes (\n, \t, \r, \x1b, ...), as
// the command-line program prints every name.
std::string EscapeControlCharacters(const std::string& text);
