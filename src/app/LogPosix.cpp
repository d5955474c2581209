// The log calls of the command-line program: errors go to standard error, one per
// line; informational lines are dropped.

#include "base/Log.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "app/LogPosix.h"

// Control characters, which a file name or DISPLAY may hold, are written as escapes:
// a name must not start a line of its own that reads like another message, nor send
// commands to the terminal.
std::string EscapeControlCharacters(const std::string& text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F)
            out += c;
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else
            out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    }
    return out;
}

void LogMessage(const char*, ...) {}

void LogError(const char* format, ...)
{
    std::va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    if (LogHold::Take(text))
        return;
    // One write per line, so that lines of two programs sharing the stream stay whole.
    const std::string line = EscapeControlCharacters(text) + '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}
