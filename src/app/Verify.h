#pragma once

#include <optional>
#include <string>

#include "base/LaunchArguments.h"
#include "lut/RampComparison.h"

// The answer to "/verify SOURCE [DISPLAY]": does the display hold the ramp that SOURCE
// gives? Nothing is written.
struct VerifyOutcome {
    enum class Result { Holds, Differs, NotLoaded, NotRead };

    Result result = Result::NotRead;
    RampDifference difference;   // when the display was read
    std::string why;             // when NotRead because DISPLAY names no display now
    std::optional<int> display;  // the index that DISPLAY names, when it names one
    std::string profile;         // for "@default", what names the profile compared

    // 0 when the display holds the ramp, 1 when it differs, 2 when the source or the
    // display cannot be read.
    int ExitStatus() const;
};

// Loads the source as the silent apply does and compares the display's table with it.
// A number that names no display gives NotRead with the line that says so as `why`.
VerifyOutcome RunVerify(const LaunchArguments& arguments);

// The line that answers: "display 0 holds office.icc", or "display 0 differs from
// office.icc: largest difference 12345 at green entry 128"; when the source or the
// display cannot be read, a line that says which. The source and the display are
// named as given; "@default" with its profile: "display 0 holds @default (office.icc)".
std::string FormatVerifyLine(const LaunchArguments& arguments, const VerifyOutcome& outcome);

// The line that follows the answer when the display shows HDR: "display 0 is in HDR
// mode: its ramp has no defined effect there", the display named as given.
std::string FormatHdrLine(const LaunchArguments& arguments);
