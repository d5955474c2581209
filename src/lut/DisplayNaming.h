#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lut/Edid.h"

// A display that shows a picture: its index in the platform's display enumeration,
// the adapter that drives it and the monitor attached to it as the platform names
// them, where the monitor is plugged in and what its EDID says.
struct DisplayListing {
    int index = 0;
    std::string adapter;
    std::string monitor;
    std::string connector;          // the X output or the display device: "DP-1", "\\.\DISPLAY2"
    std::optional<EdidFacts> edid;  // none without a readable EDID
    int tableSize = 0;              // entries per channel of its gamma table
};

// How a DISPLAY argument names a display: by its number in the list (as atoi reads
// it, so "" is 0), by the monitor's identity ("DEL40F3" or "DEL40F3:SERIAL", letters
// case-blind), or by its connector (case-blind). A text that starts like a number is
// a number; one shaped like an identity is an identity; anything else a connector.
struct DisplayName {
    enum class Kind { Number, Identity, Connector };
    Kind kind = Kind::Number;
    int number = 0;    // when a Number
    std::string text;  // the identity or connector as given

    // The name as lines and lock names give it: the number or the text.
    std::string Text() const { return kind == Kind::Number ? std::to_string(number) : text; }
};
DisplayName ReadDisplayName(std::string_view argument);

// The listed display that the name picks; when none, the line that says why: no such
// display, a monitor that is not connected, or an identity that more than one of the
// connected monitors carries (a connector always picks one).
struct DisplayChoice {
    std::optional<int> index;
    std::string why;
};
DisplayChoice ChooseDisplay(const DisplayName& name, const std::vector<DisplayListing>& displays);

// The name that finds the display's monitor again wherever it goes: its identity with
// the serial, when no other listed monitor carries it; else its connector.
DisplayName LastingName(const DisplayListing& display, const std::vector<DisplayListing>& displays);
// The lasting name of the listed display at the index; nothing when none is there.
std::optional<DisplayName> LastingNameAt(std::optional<int> index, const std::vector<DisplayListing>& displays);

// The text with every character but ASCII letters, digits, '.', '_' and '-' written
// as %XX: fit to be part of a file's or a system object's name.
std::string EscapedForName(std::string_view text);

// The line that "/list" prints for the display: number, identity ("-" without one),
// connector, the monitor's name in quotes (its own, else the system's) and the size
// of its gamma table: 0 DEL40F3:7XK2M13 DP-1 "DELL U2720Q" 256
std::string FormatDisplayLine(const DisplayListing& display);
