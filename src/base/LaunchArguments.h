#pragma once

#include <string>
#include <vector>

// What the command line asks for. Only a non-empty LUT source and, in print-to mode,
// the display parameter matter to this program.
struct LaunchArguments {
    enum class Mode { None, Print, PrintTo, Dde, Register, Unregister };

    Mode mode = Mode::None;
    std::string lutSource;
    std::string displayParameter;
    std::string secondParameter;
    std::string thirdParameter;

    bool IsSilentApply() const { return !lutSource.empty(); }
    int DisplayIndex() const;
};

inline constexpr const char* kDefaultProfileKeyword = "@default";

// Which arguments that start with "/" are switches. Where such an argument may also
// be an absolute path, only the switch names that the program knows are switches.
enum class SlashSwitches { All, KnownOnly };

// Parses the arguments that follow the program's own name.
LaunchArguments ParseLaunchArguments(const std::vector<std::string>& arguments,
                                     SlashSwitches slashSwitches = SlashSwitches::All);
