#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the command line asks for. Only a non-empty LUT source and, in print-to mode,
// the display parameter matter to this program.
struct LaunchArguments {
    enum class Mode {
        None, Print, PrintTo, Dde, Register, Unregister, Verify, Release, List, Status, Clear, Save, Help, Version
    };

    Mode mode = Mode::None;
    std::string lutSource;  // for "/save FILE", the file
    std::string displayParameter;
    std::string secondParameter;
    std::string thirdParameter;
    // "/keep": after the silent apply, stay and keep the display on the ramp.
    bool keep = false;
    // "/quiet" after "/keep": a Windows keeper without its notification icon.
    bool quiet = false;
    // What is wrong with the command line, as the line that says so: an unknown switch,
    // or a switch without the argument it needs. Empty when nothing is.
    std::string mistake;

    // "/verify SOURCE [DISPLAY]" compares, "/release [DISPLAY]" ends keepers; neither
    // is a silent apply. "/release" takes no source: its argument is the display.
    bool IsSilentApply() const
    {
        return !lutSource.empty() && (mode == Mode::None || mode == Mode::Print || mode == Mode::PrintTo ||
                                      mode == Mode::Dde || mode == Mode::Register || mode == Mode::Unregister);
    }
    bool IsVerify() const { return mode == Mode::Verify && !lutSource.empty(); }
    bool IsRelease() const { return mode == Mode::Release; }
    // "/list": the displays, one line each.
    bool IsList() const { return mode == Mode::List; }
    // "/status": one line per running keeper.
    bool IsStatus() const { return mode == Mode::Status; }
    // "/release" without a display: every keeper of this user.
    bool ReleasesAll() const { return IsRelease() && displayParameter.empty(); }
};

inline constexpr const char* kDefaultProfileKeyword = "@default";

// Which arguments that start with "/" are switches. Where such an argument may also
// be an absolute path, only the switch names that the program knows are switches.
enum class SlashSwitches { All, KnownOnly };

// Parses the arguments that follow the program's own name.
LaunchArguments ParseLaunchArguments(const std::vector<std::string>& arguments,
                                     SlashSwitches slashSwitches = SlashSwitches::All);

// Whether the program reads the argument as "/keep" (also written "-keep").
bool IsKeepSwitch(std::string_view argument);
// "/keep", as a command that asks for a keeper carries it.
std::string KeepSwitch();
