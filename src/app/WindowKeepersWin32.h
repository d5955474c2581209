#pragma once

#include <map>
#include <string>

#include "ui/StartupCommands.h"

// What the window asks of the keepers.

// Keep loaded's keeper: started as "PROGRAM /pt SOURCE DISPLAY /keep", as the log-on
// entry starts it, without waiting for it; or ended as "/release DISPLAY" ends it.
// True when it started, or ended.
bool SwitchKeeper(const KeepToggle& toggle, const std::string& program);

// By display number, the source that each running keeper of this user keeps, as its
// status says. A keeper whose monitor is away keeps no display now.
std::map<int, std::string> KeptSources();
