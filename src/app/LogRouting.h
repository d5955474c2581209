#pragma once

#include <cstdarg>

// Adds a line to the main dialog's message log when the program's main window is the
// main dialog; otherwise (no dialog yet, or the silent apply) the line is dropped.
void AddLogLineToMainDialog(const char* format, std::va_list args);
// Whether the program's main window is the main dialog, which takes the log's lines.
bool MainDialogTakesLog();
