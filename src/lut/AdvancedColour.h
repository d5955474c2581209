#pragma once

#include <cstdint>
#include <optional>

// The colour mode that Windows reports as active on a display (the values of the
// platform's own enumeration).
enum class AdvancedColourMode : std::uint32_t { Sdr = 0, WideColour = 1, Hdr = 2 };

// What the older advanced-colour query says of a display.
struct AdvancedColourState {
    bool enabled = false;
    bool wideColourEnforced = false;
    bool forceDisabled = false;
};

// What the two advanced-colour queries answered for a display; nothing from a query
// that this Windows lacks or that failed.
struct AdvancedColourAnswers {
    std::optional<AdvancedColourMode> activeMode;  // the newer query
    std::optional<AdvancedColourState> state;      // the older query
};

// Whether the display shows HDR, where its gamma ramp has no defined effect.
bool InHdrMode(const AdvancedColourAnswers& answers);
