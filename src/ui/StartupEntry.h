#pragma once

#include <optional>
#include <string>
#include <string_view>

// Autostart entries: one string value per display in the platform's Run key, under
// the machine-wide root or the current user's root. Its data is a command line that
// starts this program in silent mode with a LUT source and a display: its monitor's
// identity, or its number.

enum class StartupScope { AllUsers, CurrentUser };

// The scope's name in log lines: "all users" or "current user".
const char* StartupScopeName(StartupScope scope);

// Below either root; the key is only ever opened, never created.
inline constexpr const char* kStartupRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// "Rampwise" for display index 0 (and below), "Rampwise_<n>" for n >= 1.
std::string StartupValueName(int displayIndex);
// Whether a value of the Run key has a name of this program's entries.
bool IsStartupValueName(std::string_view name);

// "<programPath>" /pt "<source>" <display>, the display in quotes when it holds a
// blank. A file path never ends in a backslash, so the arguments survive the splitter
// as given; nothing when one holds a quote, which would end it early and change the
// command, or the display ends in a backslash.
std::optional<std::string> FormatStartupCommand(const std::string& programPath, const std::string& source,
                                                const std::string& display);
// The DISPLAY argument that the program reads from the entry's command ("" for none).
std::string StartupEntryDisplay(std::string_view text);
// The SOURCE that the program reads from the entry's command ("" for none).
std::string StartupEntrySource(std::string_view text);

enum class StartupEntryKind { Absent, Default, File };

// Empty text: Absent; text containing "@default" anywhere (case-sensitive): Default;
// anything else: File.
StartupEntryKind ClassifyStartupEntry(std::string_view text);

// Whether the program, started with the entry's command, would see the keep switch:
// "/keep" inside a quoted source path does not count, a quoted "/keep" does.
bool StartupEntryKeeps(std::string_view text);
// The entry with every keep switch removed and, when keep is set, "/keep" added at the
// end; the rest of the command stays as it was.
std::string WithKeepSwitch(std::string_view text, bool keep);

// The log lines of the set and delete commands, without the display and source lines.
std::string StartupSetHeading(StartupScope scope);      // "* Startup LUT set for <scope> on:"
std::string StartupDeletedHeading(StartupScope scope);  // "* Startup LUT deleted for <scope> on:"
std::string StartupSetError(StartupScope scope, long status);
std::string StartupDeleteError(StartupScope scope, long status);
// "* Keep loaded set for <scope> on:" or "* Keep loaded removed for <scope> on:".
std::string StartupKeepHeading(StartupScope scope, bool keep);
