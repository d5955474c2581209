#include "ui/StartupEntry.h"

#include <utility>
#include <vector>

#include "base/LaunchArguments.h"

namespace {

constexpr const char* kProductName = "Rampwise";
constexpr std::string_view kKeepSwitch = "/keep";

// The start and length of each argument of the command outside quotes that is the
// keep switch ("/keep" or "-keep", as the program reads it), in order.
std::vector<std::pair<std::size_t, std::size_t>> KeepSwitches(std::string_view text)
{
    std::vector<std::pair<std::size_t, std::size_t>> found;
    bool quoted = false;
    std::size_t start = 0;
    bool hadQuote = false;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        if (!end && text[i] == '"') {
            quoted = !quoted;
            hadQuote = true;
        }
        if (end || (!quoted && (text[i] == ' ' || text[i] == '\t'))) {
            const std::string_view argument = text.substr(start, i - start);
            if (!hadQuote && argument.size() == kKeepSwitch.size() && (argument[0] == '/' || argument[0] == '-') &&
                argument.substr(1) == kKeepSwitch.substr(1))
                found.emplace_back(start, i - start);
            start = i + 1;
            hadQuote = false;
        }
    }
    return found;
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

std::optional<std::string> FormatStartupCommand(const std::string& programPath, const std::string& source,
                                                int displayIndex)
{
    if ((programPath + source).find('"') != std::string::npos)
        return std::nullopt;
    return "\"" + programPath + "\" /pt \"" + source + "\" " + std::to_string(displayIndex);
}

bool StartupEntryKeeps(std::string_view text)
{
    return !KeepSwitches(text).empty();
}

std::string WithKeepSwitch(std::string_view text, bool keep)
{
    std::string result(text);
    const auto switches = KeepSwitches(text);
    // From the back, so that the earlier positions stay valid; each takes the blank before it.
    for (auto it = switches.rbegin(); it != switches.rend(); ++it) {
        const std::size_t from = it->first > 0 ? it->first - 1 : 0;
        result.erase(from, it->first + it->second - from);
    }
    while (!result.empty() && (result.back() == ' ' || result.back() == '\t'))
        result.pop_back();
    if (keep && !result.empty())
        result += std::string(" ") + std::string(kKeepSwitch);
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
