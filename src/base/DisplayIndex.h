#pragma once

#include <string_view>

// Reads a display index the way atoi reads a number (leading white space, an optional
// sign, digits up to the first non-digit; anything else gives 0), except that a value
// outside the 32-bit range saturates instead of overflowing.
int ParseDisplayIndex(std::string_view text);
