#pragma once

#include <cstdint>
#include <span>
#include <string>

// Stores the colour profile that the display server holds for a display in the
// user's cache folder ($XDG_CACHE_HOME/rampwise, else ~/.cache/rampwise) as
// display-<index>.icc, so that the profile reader can open it as a file. Returns the
// file's path, or the empty string when it cannot be stored. The file appears whole
// or not at all.
std::string StoreDisplayProfile(int displayIndex, std::span<const std::uint8_t> bytes);
