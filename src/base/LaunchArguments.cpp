#include "base/LaunchArguments.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "base/AsciiText.h"

namespace {

using Mode = LaunchArguments::Mode;

constexpr std::string_view kKeepName = "keep";

// What a known switch does to the mode: sets it, or (nullopt) leaves it as it is.
struct KnownSwitch {
    std::optional<Mode> mode;
    bool keep = false;
};

std::optional<KnownSwitch> LookUpSwitch(std::string_view name)
{
    if (name == "pt")
        return KnownSwitch{Mode::PrintTo};
    if (name == "p")
        return KnownSwitch{Mode::Print};
    if (name == "verify")
        return KnownSwitch{Mode::Verify};
    if (name == "release")
        return KnownSwitch{Mode::Release};
    if (name == "list")
        return KnownSwitch{Mode::List};
    if (name == "status")
        return KnownSwitch{Mode::Status};
    if (name == kKeepName)
        return KnownSwitch{std::nullopt, true};
    if (name == "dde")
        return KnownSwitch{Mode::Dde};
    if (EqualsIgnoringAsciiCase(name, "Register") || EqualsIgnoringAsciiCase(name, "Regserver"))
        return KnownSwitch{Mode::Register};
    if (EqualsIgnoringAsciiCase(name, "Unregister") || EqualsIgnoringAsciiCase(name, "Unregserver"))
        return KnownSwitch{Mode::Unregister};
    if (EqualsIgnoringAsciiCase(name, "Embedding") || EqualsIgnoringAsciiCase(name, "Automation"))
        return KnownSwitch{std::nullopt};
    return std::nullopt;
}

std::optional<KnownSwitch> SwitchOf(std::string_view argument)
{
    const bool looksLikeSwitch = !argument.empty() && (argument[0] == '-' || argument[0] == '/');
    return looksLikeSwitch ? LookUpSwitch(argument.substr(1)) : std::nullopt;
}

void ApplyPlainArgument(const std::string& argument, LaunchArguments& args)
{
    if (args.lutSource.empty()) {
        args.lutSource = argument;
        return;
    }
    if (args.mode != Mode::PrintTo && args.mode != Mode::Verify)
        return;
    for (std::string* field : {&args.displayParameter, &args.secondParameter, &args.thirdParameter}) {
        if (field->empty()) {
            *field = argument;
            return;
        }
    }
}

} // namespace

LaunchArguments ParseLaunchArguments(const std::vector<std::string>& arguments, SlashSwitches slashSwitches)
{
    LaunchArguments args;
    for (const std::string& argument : arguments) {
        const bool looksLikeSwitch = !argument.empty() && (argument[0] == '-' || argument[0] == '/');
        const std::optional<KnownSwitch> known = SwitchOf(argument);
        if (looksLikeSwitch && argument[0] == '/' && !known && slashSwitches == SlashSwitches::KnownOnly)
            ApplyPlainArgument(argument, args);  // an absolute path
        else if (looksLikeSwitch && known && known->mode)
            args.mode = *known->mode;
        else if (IsKeepSwitch(argument))
            args.keep = true;
        else if (!looksLikeSwitch)
            ApplyPlainArgument(argument, args);
        // Any other switch is ignored.
    }
    if (args.mode == Mode::Release && args.displayParameter.empty())
        args.displayParameter = std::exchange(args.lutSource, {});
    return args;
}

bool IsKeepSwitch(std::string_view argument)
{
    const std::optional<KnownSwitch> known = SwitchOf(argument);
    return known && !known->mode && known->keep;
}

std::string KeepSwitch()
{
    std::string name(1, '/');
    return name.append(kKeepName);
}
