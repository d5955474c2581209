#pragma once

#include <string>
#include <vector>

// This process's arguments after the program's own name, split by the platform's
// rules and converted to the ANSI code page that the program's file calls use.
std::vector<std::string> GetProcessArguments();
