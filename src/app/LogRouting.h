#pragma once

#include <cstdarg>

// Adds a line to the main dialog's message log when the program's main window is the
// main dialog; false otherwise (no dialog yet, or the silent apply).
bool AddLogLineToMainDialog(const char* format, std::va_list args);
