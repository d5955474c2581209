#pragma once

#include <cstdarg>
#include <string>
#include <vector>

struct LoggedLine {
    bool isError;  // sent through LogError rather than LogMessage
    std::string text;

    bool operator==(const LoggedLine&) const = default;
};

// Every line logged since the last ClearLog, oldest first.
const std::vector<LoggedLine>& LoggedLines();
// The same as text, each error line marked with a leading "! ".
std::vector<std::string> LoggedTexts();
void ClearLog();

// Where recorded lines also go, for programs that show them too; none by default.
using LogForwarder = void (*)(const char* format, std::va_list args);
void SetLogForwarder(LogForwarder forwarder);
