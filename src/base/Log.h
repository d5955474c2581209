#pragma once

#include <string>
#include <vector>

// The program's message log. Code that holds no reference to the main dialog writes
// to it through these two calls; the program that links the core defines them.
// Without a main dialog the Windows program prints errors where the one who started
// it reads them and drops informational lines.
#if defined(__GNUC__) || defined(__clang__)
#define RAMPWISE_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define RAMPWISE_PRINTF_FORMAT(fmt, args)
#endif

void LogMessage(const char* format, ...) RAMPWISE_PRINTF_FORMAT(1, 2);
void LogError(const char* format, ...) RAMPWISE_PRINTF_FORMAT(1, 2);

// While one lives, this thread's LogError lines wait in it instead of being written,
// so that a caller can put one clearer line in their place (Drop, then LogError).
// What it still holds when it ends is written then, in order.
class LogHold {
public:
    LogHold();
    ~LogHold();
    LogHold(const LogHold&) = delete;
    LogHold& operator=(const LogHold&) = delete;

    void Drop() { m_lines.clear(); }

    // For the definitions of LogError: true when a hold took the line.
    static bool Take(const std::string& line);

private:
    LogHold* m_outer;
    std::vector<std::string> m_lines;
};
