#include "app/KeepLog.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/DisplayIndex.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// "2026-12-07 03:04:05", local time.
std::string LocalTime(std::time_t when)
{
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    char stamp[32] = "";
    std::strftime(stamp, sizeof(stamp), "%Y-%m-%d %H:%M:%S", &local);
    return stamp;
}

// "2026-12-07 03:04:05 display 0 (DEL40F3:7XK2M13)".
std::string LinePrefix(std::time_t when, int displayIndex, const std::string& monitor)
{
    return LocalTime(when) + " display " + std::to_string(displayIndex) + " (" + monitor + ")";
}

} // namespace

std::string FormatKeepLogLine(std::time_t when, int displayIndex, const std::string& monitor, const char* cause,
                              int largestDifference)
{
    return LinePrefix(when, displayIndex, monitor) + ": re-applied after " + cause + " (largest difference " +
           std::to_string(largestDifference) + ")";
}

std::string FormatKeepGiveWayLine(std::time_t when, int displayIndex, const std::string& monitor)
{
    return LinePrefix(when, displayIndex, monitor) +
           ": another program keeps changing the ramp: re-applying less often";
}

std::string FormatKeepDoingLine(std::time_t when, int displayIndex, const std::string& monitor,
                                const std::string& doing)
{
    return LinePrefix(when, displayIndex, monitor) + ": " + doing;
}

std::string FormatKeepRuleLine(std::time_t when, const std::string& badLine)
{
    const std::size_t colon = badLine.find(':');
    return LocalTime(when) + " rules " + badLine.substr(0, colon) + " ignored" + badLine.substr(colon);
}

std::string FormatHandedLine(int displayIndex, const std::string& source)
{
    return "display " + std::to_string(displayIndex) + " is kept on " + source;
}

std::string FormatKeepStatus(const KeepStatus& status)
{
    std::string line = status.named + " (" +
                       (status.index ? "display " + std::to_string(*status.index) + " now" : std::string("away"));
    if (status.monitor != status.named)
        line += ", " + status.monitor;
    line += "): " + status.source + " since " + LocalTime(status.since) + "; ";
    line += status.lastReapply ? "last re-apply " + LocalTime(status.lastReapply) + " after " + status.lastCause
                               : std::string("no re-apply yet");
    return line + "; " + status.doing;
}

std::string FormatKeepTooltip(const KeepStatus& status)
{
    std::string tip = "Rampwise, display " + (status.index ? std::to_string(*status.index) : std::string("away")) +
                      " (" + status.monitor + "): " + status.doing;
    if (status.lastReapply)
        tip += "; last re-apply " + LocalTime(status.lastReapply) + " after " + status.lastCause;
    return tip.substr(0, 127);
}

// "NAMED (display N now...): SOURCE since TIME; ...". The source ends at the first
// " since " that a time and "; " follow: a source may hold either, but not both so.
std::optional<std::pair<int, std::string>> ReadKeptSource(std::string_view statusLine)
{
    constexpr std::string_view kDisplay = " (display ", kSince = " since ";
    constexpr std::size_t kTimeLength = 19;  // LocalTime's
    const std::size_t display = statusLine.find(kDisplay);
    if (display == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = statusLine.substr(display + kDisplay.size());
    const std::size_t digits = rest.find_first_not_of("0123456789"), from = rest.find("): ");
    if (digits == 0 || digits == std::string_view::npos || !rest.substr(digits).starts_with(" now") ||
        from == std::string_view::npos)
        return std::nullopt;
    for (std::size_t at = rest.find(kSince, from); at != std::string_view::npos; at = rest.find(kSince, at + 1)) {
        const std::size_t after = at + kSince.size() + kTimeLength;
        if (after <= rest.size() && rest.substr(after).starts_with("; "))
            return std::pair(ParseDisplayIndex(rest.substr(0, digits)), std::string(rest.substr(from + 3, at - from - 3)));
    }
    return std::nullopt;
}

bool AppendKeepLogLine(const std::filesystem::path& path, const std::string& line, std::size_t cap)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    bool anew = false;
    if (!error && size + line.size() + 1 > cap) {
        std::filesystem::path older = path;
        older += ".1";
        std::filesystem::rename(path, older, error);
        anew = static_cast<bool>(error);
    }
    const std::string text = line + "\n";
#ifdef _WIN32
    std::FILE* out = _wfopen(path.c_str(), anew ? L"wb" : L"ab");
    if (!out)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && written;
#else
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (anew ? O_TRUNC : O_APPEND),
                        0644);
    if (fd < 0)
        return false;
    struct stat status {};
    const bool written = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                         write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    return close(fd) == 0 && written;
#endif
}
