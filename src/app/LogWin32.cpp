// The log calls of the Windows program: into the main dialog's log while it runs;
// without it (a command-line run), errors go where the one who started the program
// reads them (see PrintLines) and informational lines are dropped.

#include "base/Log.h"

#include <cstdio>
#include <string>

#include "app/ConsoleWin32.h"
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
    if (MainDialogTakesLog()) {
        AddLogLineToMainDialog(format, args);
    } else {
        char text[4096];  // longer than any line the program logs
        std::vsnprintf(text, sizeof(text), format, args);
        if (!LogHold::Take(text))
            PrintLines({text}, ConsoleStream::Error);
    }
    va_end(args);
}
