// The log calls of the Windows program.

#include "base/Log.h"

#include "app/LogRouting.h"

void LogMessage(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    AddLogLineToMainDialog(format, args);
    va_end(args);
}

void LogError(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    AddLogLineToMainDialog(format, args);
    va_end(args);
}
