#include "ui/StartupEntry.h"

#include <vector>

#include "base/CommandLineSplit.h"
#include "base/LaunchArguments.h"

namespace {

constexpr const char* kProductName = "Rampwise";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The arguments of the command that the program reads as the keep switch, where they
// stand in the command, in order. The program's name is no argument.
std::vector<CommandLineWord<char>> KeepSwitches(std::string_view text)
{
    std::vector<CommandLineWord<char>> found;
    std::vector<CommandLineWord<char>> words = SplitCommandLineWords(text);
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (IsKeepSwitch(words[i].text))
            found.push_back(std::move(words[i]));
    }
    return found;
}

// The arguments as the program, started with the entry's command, reads them.
LaunchArguments EntryArguments(std::string_view text)
{
    std::vector<std::string> words = SplitCommandLine(text);
    if (words.empty())
        return {};
    words.erase(words.begin());
    return ParseLaunchArguments(words);
}

} // namespace

const char* StartupScopeName(StartupScope scope)
{
    return scope == StartupScope::AllUsers ? "all users" : "current user";
}

std::string StartupValueName(int displayIndex)
{
    std::string name = kProductName;
    if (displayIndex >= 1) {
        name += '_';
        name += std::to_string(displayIndex);
    }
    return name;
}

bool IsStartupValueName(std::string_view name)
{
    const std::string_view product = kProductName;
    if (!name.starts_with(product))
        return false;
    const std::string_view number = name.substr(product.size());
    return number.empty() || (number.size() > 1 && number[0] == '_' &&
                              number.find_first_not_of("0123456789", 1) == std::string_view::npos);
}

std::optional<std::string> FormatStartupCommand(const std::string& programPath, const std::string& source,
                                                const std::string& display)
{
    if ((programPath + source + display).find('"') != std::string::npos || display.ends_with('\\'))
        return std::nullopt;
    const bool quoted = display.find_first_of(" \t") != std::string::npos;
    return "\"" + programPath + "\" /pt \"" + source + "\" " + (quoted ? "\"" + display + "\"" : display);
}

std::string StartupEntryDisplay(std::string_view text)
{
    return EntryArguments(text).displayParameter;
}

std::string StartupEntrySource(std::string_view text)
{
    return EntryArguments(text).lutSource;
}

bool StartupEntryKeeps(std::string_view text)
{
    return !KeepSwitches(text).empty();
}

std::string WithKeepSwitch(std::string_view text, bool keep)
{
    std::string result(text);
    const auto switches = KeepSwitches(text);
    // From the back, so that the earlier positions stay valid; each takes the blank
    // before it, if any (a switch may follow the program's quoted name directly).
    for (auto it = switches.rbegin(); it != switches.rend(); ++it) {
        const std::size_t from = it->start > 0 && IsBlank(text[it->start - 1]) ? it->start - 1 : it->start;
        result.erase(from, it->start + it->length - from);
    }
    while (!result.empty() && IsBlank(result.back()))
        result.pop_back();
    if (keep && !result.empty())
        result.append(1, ' ').append(KeepSwitch());
    return result;
}

StartupEntryKind ClassifyStartupEntry(std::string_view text)
{
    if (text.empty())
        return StartupEntryKind::Absent;
    if (text.find(kDefaultProfileKeyword) != std::string_view::npos)
        return StartupEntryKind::Default;
    return StartupEntryKind::File;
}

std::string StartupSetHeading(StartupScope scope)
{
    return std::string("* Startup LUT set for ") + StartupScopeName(scope) + " on:";
}

std::string StartupDeletedHeading(StartupScope scope)
{
    return std::string("* Startup LUT deleted for ") + StartupScopeName(scope) + " on:";
}

std::string StartupSetError(StartupScope scope, long status)
{
    return std::string("ERROR: Startup LUT could not be set for ") + StartupScopeName(scope) + ": " +
           std::to_string(status);
}

std::string StartupDeleteError(StartupScope scope, long status)
{
    return std::string("ERROR: Startup LUT could not be deleted for ") + StartupScopeName(scope) + ": " +
           std::to_string(status);
}

std::string StartupKeepHeading(StartupScope scope, bool keep)
{
    return std::string("* Keep loaded ") + (keep ? "set" : "removed") + " for " + StartupScopeName(scope) + " on:";
}
