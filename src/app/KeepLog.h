#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

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
// "... display 0 (DEL40F3:7XK2M13): stands down while dispcal runs", when what the
// keeper does changes (see DescribeStandDown).
std::string FormatKeepDoingLine(std::time_t when, int displayIndex, const std::string& monitor,
                                const std::string& doing);
// "2026-12-07 03:04:05 rules line 3 ignored: \"myplayer\" has no action".
std::string FormatKeepRuleLine(std::time_t when, const std::string& badLine);

// "display 0 is kept on other.cal": what "/pt" says when it handed its ramp to the
// display's keeper.
std::string FormatHandedLine(int displayIndex, const std::string& source);

// What a keeper tells "/status" of itself.
struct KeepStatus {
    std::string named;         // the DISPLAY as its command line gave it
    std::string monitor;       // the monitor's lasting name
    std::optional<int> index;  // the display's number now; nothing while the monitor is away
    std::string source;
    std::time_t since = 0;     // when it started keeping the source
    std::time_t lastReapply = 0;  // 0 before the first
    std::string lastCause;
    std::string doing;         // "keeps its calibration", "stands down while dispcal runs", ...

    bool operator==(const KeepStatus&) const = default;
};
// "0 (display 0 now, DEL40F3:7): office.icc since 2026-12-07 03:04:05; last re-apply
// 2026-12-07 04:00:00 after resume; keeps its calibration", local time; "no re-apply
// yet" before the first, "away" for the number while the monitor is.
std::string FormatKeepStatus(const KeepStatus& status);
// The keeper icon's tooltip, at most 127 characters: "Rampwise, display 0 (DEL40F3:7):
// keeps its calibration; last re-apply 2026-12-07 04:00:00 after resume".
std::string FormatKeepTooltip(const KeepStatus& status);
// The display's number and the source of such a line; nothing while the monitor is
// away, or for a line of another form.
std::optional<std::pair<int, std::string>> ReadKeptSource(std::string_view statusLine);

// Appends the line and a line end; false when the file cannot be written. Only a
// plain file is written, and opening it never waits (a FIFO put in its place would
// otherwise hold the keeper for good). The folder must exist.
bool AppendKeepLogLine(const std::filesystem::path& path, const std::string& line, std::size_t cap = kKeepLogCap);
