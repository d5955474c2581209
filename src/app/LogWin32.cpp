// The message log of the Windows program. Lines reach the main dialog's log once the
// program has one; until then, as in the silent apply, every line is dropped.

#include "app/Log.h"

void LogMessage(const char*, ...)
{
}

void LogError(const char*, ...)
{
}
