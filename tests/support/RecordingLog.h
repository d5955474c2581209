#pragma once

#include <string>
#include <vector>

struct LoggedLine {
    bool isError;  // sent through LogError rather than LogMessage
    std::string text;

    bool operator==(const LoggedLine&) const = default;
};

// Every line logged since the last ClearLog, oldest first.
const std::vector<LoggedLine>& LoggedLines();
void ClearLog();
