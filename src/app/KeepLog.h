#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <string>

// The keeper's log: one line per re-apply. When the file would grow past kKeepLogCap
// it becomes KEEP.1 (replacing the one before) and a new file starts, so the two
// never hold much more than twice the cap; when KEEP.1 cannot be replaced, the file
// starts anew in place.
inline constexpr std::size_t kKeepLogCap = 256 * 1024;

// "2026-12-07 03:04:05 display 0 (DEL40F3:7XK2M13): re-applied after resume (largest
// difference 12345)", local time: the display's number now and its monitor's name.
std::string FormatKeepLogLine(std::time_t when, int displayIndex, const std::string& monitor, const char* cause,
                              int largestDifference);
// "... display 0 (DEL40F3:7XK2M13): another program keeps changing the ramp: re-applying
// less often", when the keeper starts to give way (see KeepBackOff).
std::string FormatKeepGiveWayLine(std::time_t when, int displayIndex, const std::string& monitor);

// Appends the line and a line end; false when the file cannot be written. Only a
// plain file is written, and opening it never waits (a FIFO put in its place would
// otherwise hold the keeper for good). The folder must exist.
bool AppendKeepLogLine(const std::filesystem::path& path, const std::string& line, std::size_t cap = kKeepLogCap);
