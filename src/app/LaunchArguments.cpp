#include "app/LaunchArguments.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/DisplayIndex.h"

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

void ApplySwitch(std::string_view name, LaunchArguments& args)
{
    using Mode = LaunchArguments::Mode;
    if (name == "pt")
        args.mode = Mode::PrintTo;
    else if (name == "p")
        args.mode = Mode::Print;
    else if (name == "dde")
        args.mode = Mode::Dde;
    else if (EqualsIgnoringCase(name, "Register") || EqualsIgnoringCase(name, "Regserver"))
        args.mode = Mode::Register;
    else if (EqualsIgnoringCase(name, "Unregister") || EqualsIgnoringCase(name, "Unregserver"))
        args.mode = Mode::Unregister;
    // "Embedding", "Automation" and every other name leave the mode as it is.
}

void ApplyPlainArgument(const std::string& argument, LaunchArguments& args)
{
    if (args.lutSource.empty()) {
        args.lutSource = argument;
        return;
    }
    if (args.mode != LaunchArguments::Mode::PrintTo)
        return;
    for (std::string* field : {&args.displayParameter, &args.secondParameter, &args.thirdParameter}) {
        if (field->empty()) {
            *field = argument;
            return;
        }
    }
}

} // namespace

int LaunchArguments::DisplayIndex() const
{
    return ParseDisplayIndex(displayParameter);
}

LaunchArguments ParseLaunchArguments(const std::vector<std::string>& arguments)
{
    LaunchArguments args;
    for (const std::string& argument : arguments) {
        if (!argument.empty() && (argument[0] == '-' || argument[0] == '/'))
            ApplySwitch(std::string_view(argument).substr(1), args);
        else
            ApplyPlainArgument(argument, args);
    }
    return args;
}
