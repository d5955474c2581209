#include "app/KeepLog.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

std::string FormatKeepLogLine(std::time_t when, int displayIndex, const char* cause, int largestDifference)
{
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    char stamp[32] = "";
    std::strftime(stamp, sizeof(stamp), "%Y-%m-%d %H:%M:%S", &local);
    char line[160];
    std::snprintf(line, sizeof(line), "%s display %d: re-applied after %s (largest difference %d)", stamp,
                  displayIndex, cause, largestDifference);
    return line;
}

bool AppendKeepLogLine(const std::filesystem::path& path, const std::string& line, std::size_t cap)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size + line.size() + 1 > cap) {
        std::filesystem::path older = path;
        older += ".1";
        std::filesystem::rename(path, older, error);
    }
#ifdef _WIN32
    std::FILE* out = _wfopen(path.c_str(), L"ab");
#else
    std::FILE* out = std::fopen(path.c_str(), "ab");
#endif
    if (!out)
        return false;
    const bool written = std::fprintf(out, "%s\n", line.c_str()) > 0;
    return std::fclose(out) == 0 && written;
}
