// A definition of the log calls that records every line, for programs that link the
// core without the Windows program's own definition.

#include "support/RecordingLog.h"

#include <cstdio>

#include "base/Log.h"

namespace {

// Constant-initialised, so that lines logged while other globals are made are kept.
constinit std::vector<std::string> g_lines;

void Record(bool isError, const char* format, std::va_list args)
{
    std::va_list copy;
    va_copy(copy, args);
    if (g_logForwarder)
        g_logForwarder(format, copy);
    va_end(copy);
    char text[4096];  // longer than any line the program logs
    std::vsnprintf(text, sizeof(text), format, args);
    g_lines.push_back((isError ? "! " : "") + std::string(text));
}

} // namespace

const std::vector<std::string>& LoggedTexts()
{
    return g_lines;
}

void ClearLog()
{
    g_lines.clear();
}

void LogMessage(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    Record(false, format, args);
    va_end(args);
}

void LogError(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    Record(true, format, args);
    va_end(args);
}
