#pragma once

#include <cstdint>
#include <span>

// Keeps a copy of the colour profile that the display server holds for a display in
// the user's cache folder ($XDG_CACHE_HOME/rampwise, else ~/.cache/rampwise) as
// display-<index>.icc, for the user to look at; the program never reads it back. The
// folder must be the user's alone (owned by them, mode 0700); the copy appears whole
// or not at all. False, with a line through LogError saying why, when no copy was kept.
bool StoreDisplayProfile(int displayIndex, std::span<const std::uint8_t> bytes);
