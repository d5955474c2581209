#include "ui/StartupEntry.h"

#include "base/LaunchArguments.h"

namespace {

constexpr const char* kProductName = "Rampwise";

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
