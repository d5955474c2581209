#pragma once

#include <cstdarg>
#include <string>
#include <vector>

// Every line logged since the last ClearLog, oldest first; an error line (sent through
// LogError rather than LogMessage) is marked with a leading "! ".
const std::vector<std::string>& LoggedTexts();
void ClearLog();

// Where recorded lines also go, for programs that show them too; none by default.
using LogForwarder = void (*)(const char* format, std::va_list args);
inline LogForwarder g_logForwarder = nullptr;
