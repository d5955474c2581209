#include "app/LaunchDisplay.h"

#include <utility>
#include <vector>

#include "lut/DisplayAccess.h"

DisplayChoice ChooseLaunchDisplay(const LaunchArguments& arguments)
{
    const DisplayName name = ReadDisplayName(arguments.displayParameter);
    if (name.kind == DisplayName::Kind::Number)
        return {name.number, {}};
    return ChooseDisplay(name, ListDisplays());
}

std::optional<std::string> NoDisplayWithNumber(const LaunchArguments& arguments)
{
    const DisplayName name = ReadDisplayName(arguments.displayParameter);
    if (name.kind != DisplayName::Kind::Number)
        return std::nullopt;
    const std::vector<DisplayListing> displays = ListDisplays();
    // No display at all: the server could not be asked, and the step has said why.
    DisplayChoice choice = ChooseDisplay(name, displays);
    if (displays.empty() || choice.index)
        return std::nullopt;
    return std::move(choice.why);
}

bool SayNoDisplayWithNumber(const LaunchArguments& arguments, LogHold& hold)
{
    const std::optional<std::string> line = NoDisplayWithNumber(arguments);
    if (!line)
        return false;
    hold.Drop();
    LogError("%s", line->c_str());
    return true;
}
