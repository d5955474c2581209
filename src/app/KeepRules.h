#pragma once

#include <string>
#include <string_view>
#include <vector>

// What a keeper does while a program runs. The user's rules come from a text file, one
// rule a line: "PROGRAM ACTION", where ACTION is "pause" (write nothing), "linear"
// (keep the identity ramp), "keep" (never stand down for it) or else a SOURCE to keep
// meanwhile. '#' at the start of a word starts a comment; a program name with spaces
// is written in double quotes. The measuring and calibrating programs pause every
// keeper unless a rule says otherwise.
struct KeepRule {
    enum class Action { Pause, Linear, Source, Keep };
    std::string program;  // as ProgramKey makes it
    Action action = Action::Pause;
    std::string source;   // for Source
};

// How a system names its programs. On Windows a name compares case-blind and ".exe"
// may be left out; on Linux it compares exactly, as the kernel keeps it (cut to 15 bytes).
enum class ProgramNames { Windows, Linux };
#ifdef _WIN32
inline constexpr ProgramNames kSystemProgramNames = ProgramNames::Windows;
#else
inline constexpr ProgramNames kSystemProgramNames = ProgramNames::Linux;
#endif

// The name as rules and running programs are compared by.
std::string ProgramKey(std::string_view name, ProgramNames names);

struct KeepRules {
    std::vector<KeepRule> rules;           // the user's in file order, then the built-in ones
    std::vector<std::string> badLines;     // "line 3: WHY", for the log
    bool setsRamps = false;                // a rule sets a ramp of its own (linear, a source)
};

KeepRules ReadKeepRules(std::string_view text, ProgramNames names);

// What a keeper does now instead of keeping its calibration, and for which program.
struct StandDown {
    enum class Kind { None, Pause, Linear, Source, Hdr, Paused };  // Paused: by the user
    Kind kind = Kind::None;
    std::string program;
    std::string source;  // for Source

    bool operator==(const StandDown&) const = default;
};

// Of the rules that running programs match, a pause wins over linear and linear over a
// source, so that a measurement is never spoilt; among equals the first rule wins.
StandDown ChooseStandDown(const KeepRules& rules, const std::vector<std::string>& runningPrograms,
                          ProgramNames names);

// "while dispcal runs", "linear while myplayer runs", ... for the log and the status.
std::string DescribeStandDown(const StandDown& standDown);
