// The log calls of the command-line program: errors go to standard error, one per
// line; informational lines are dropped, so that a successful run prints nothing.

#include "base/Log.h"

#include <cstdarg>
#include <cstdio>

void LogMessage(const char*, ...) {}

void LogError(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
}
