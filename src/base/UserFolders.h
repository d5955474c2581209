#pragma once

#include <filesystem>
#include <optional>
#include <string>

#ifndef _WIN32
#include "base/FileDescriptor.h"
#endif

enum class UserFolder { Runtime, State, Cache, Config };

// The program's own folder of that kind for the user, not created. On Linux, under the
// XDG base folders: $XDG_RUNTIME_DIR/rampwise (no stand-in when it is not set),
// $XDG_STATE_HOME/rampwise else ~/.local/state/rampwise, $XDG_CACHE_HOME/rampwise else
// ~/.cache/rampwise, $XDG_CONFIG_HOME/rampwise else ~/.config/rampwise. On Windows:
// %LOCALAPPDATA%\Rampwise for state and cache, %APPDATA%\Rampwise for settings, and no
// runtime folder. nullopt when there is none.
std::optional<std::filesystem::path> ProgramFolder(UserFolder kind);

#ifndef _WIN32
// Opens the folder when it is the user's alone: owned by them, mode 0700, not a
// symbolic link. No one else can then plant, swap or read a file in it. A missing
// folder (and a missing parent) is made that way. Holds nothing otherwise, with why
// saying why.
FileDescriptor OpenPrivateFolder(const std::filesystem::path& folder, std::string& why);
#endif
