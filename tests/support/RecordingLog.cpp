#include "support/RecordingLog.h"

#include <cstdarg>
#include <cstdio>

#include "base/Log.h"

namespace {

std::vector<LoggedLine>& Lines()
{
    static std::vector<LoggedLine> lines;
    return lines;
}

LogForwarder g_forwarder = nullptr;

void Record(bool isError, const char* format, std::va_list args)
{
    if (g_forwarder) {
        std::va_list forwarded;
        va_copy(forwarded, args);
        g_forwarder(format, forwarded);
        va_end(forwarded);
    }
    std::va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    Lines().push_back({isError, std::move(text)});
}

} // namespace

const std::vector<LoggedLine>& LoggedLines()
{
    return Lines();
}

void ClearLog()
{
    Lines().clear();
}

void SetLogForwarder(LogForwarder forwarder)
{
    g_forwarder = forwarder;
}

void LogMessage(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    Record(false, format, args);
    va_end(args);
}

void LogError(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    Record(true, format, args);
    va_end(args);
}
