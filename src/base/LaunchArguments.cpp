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

// What a known switch does to the mode: sets it, or (nullopt) leaves it as it is and
// may set a flag instead.
struct KnownSwitch {
    std::optional<Mode> mode;
    bool LaunchArguments::*flag = nullptr;
};

std::optional<KnownSwitch> LookUpSwitch(std::string_view name)
{
    if (name == "pt")
        return KnownSwitch{Mode::PrintTo};
    if (name == "clear")
        return KnownSwitch{Mode::Clear};
    if (name == "save")
        return KnownSwitch{Mode::Save};
    if (name == "help" || name == "?")
        return KnownSwitch{Mode::Help};
    if (name == "version")
        return KnownSwitch{Mode::Version};
    if (name == "quiet")
        return KnownSwitch{std::nullopt, &LaunchArguments::quiet};
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
        return KnownSwitch{std::nullopt, &LaunchArguments::keep};
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
    if (args.mode != Mode::PrintTo && args.mode != Mode::Verify && args.mode != Mode::Save)
        return;
    for (std::string* field : {&args.displayParameter, &args.secondParameter, &args.thirdParameter}) {
        if (field->empty()) {
            *field = argument;
            return;
        }
    }
}

// The line for a switch that lacks the argument it needs, or nothing.
std::string MissingArgument(const LaunchArguments& args)
{
    if (!args.lutSource.empty())
        return {};
    switch (args.mode) {
    case Mode::PrintTo:
        return "rampwise: /pt needs a SOURCE";
    case Mode::Verify:
        return "rampwise: /verify needs a SOURCE";
    case Mode::Save:
        return "rampwise: /save needs a FILE";
    case Mode::None:
        return args.keep ? "rampwise: /keep needs a SOURCE" : "";
    default:
        return {};
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
        else if (known && known->mode)
            args.mode = *known->mode;
        else if (known && known->flag)
            args.*known->flag = true;
        else if (!looksLikeSwitch)
            ApplyPlainArgument(argument, args);
        else if (!known && args.mistake.empty())
            args.mistake = "rampwise: unknown switch " + argument;
    }
    if ((args.mode == Mode::Release || args.mode == Mode::Clear) && args.displayParameter.empty())
        args.displayParameter = std::exchange(args.lutSource, {});
    if (args.mistake.empty())
        args.mistake = MissingArgument(args);
    return args;
}

bool IsKeepSwitch(std::string_view argument)
{
    const std::optional<KnownSwitch> known = SwitchOf(argument);
    return known && known->flag == &LaunchArguments::keep;
}

std::string KeepSwitch()
{
    std::string name(1, '/');
    return name.append(kKeepName);
}
