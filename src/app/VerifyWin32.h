#pragma once

#include "base/LaunchArguments.h"

// "/verify" in the Windows program: compares, prints the answer to the console the
// program was started from (when there is one) and gives the exit status.
int RunVerifyToConsole(const LaunchArguments& arguments);
