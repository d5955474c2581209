#pragma once

#include "base/LaunchArguments.h"

// "/verify" in the Windows program: compares, prints the answer (see PrintLines) and
// gives the exit status.
int RunVerifyToConsole(const LaunchArguments& arguments);
