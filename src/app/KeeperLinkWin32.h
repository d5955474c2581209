#pragma once

#include <windows.h>

#include <string>

#include "lut/GammaRamp.h"

// How the window, the keepers and "/release" find each other within one session. The
// keeper of a monitor M (named as KeptMonitorName names it) holds the mutex
// KeeperMutexName(M) for its whole life, ends when the event KeeperStopEventName(M) is
// set, and owns a hidden top-level window of the class kKeeperWindowClass titled
// KeeperWindowTitle(M). The shared memory KeeperClaimName(M) holds the process id of
// the last /keep that claimed M.
inline constexpr const char* kKeeperWindowClass = "RampwiseKeeper";
// Marks a WM_COPYDATA to a keeper whose data is a GammaRamp record, followed by the
// name of its source (none from the window).
inline constexpr ULONG_PTR kKeeperRampTag = 0x52574B52;
// The commands a keeper window takes as WM_COMMAND, from its notification icon's menu.
inline constexpr UINT kKeeperCommandOpen = 0x5201;     // opens the program's window
inline constexpr UINT kKeeperCommandReapply = 0x5202;  // writes the ramp now, as after an event
inline constexpr UINT kKeeperCommandPause = 0x5203;    // writes nothing until resumed
inline constexpr UINT kKeeperCommandResume = 0x5204;
inline constexpr UINT kKeeperCommandStop = 0x5205;     // ends the keeper
// A keeper window's title is this and the monitor's name.
inline constexpr const char* kKeeperWindowTitlePrefix = "Rampwise keeper ";

std::string KeeperWindowTitle(const std::string& monitor);
std::string KeeperMutexName(const std::string& monitor);
std::string KeeperStopEventName(const std::string& monitor);
std::string KeeperClaimName(const std::string& monitor);

// Hands the ramp to the keeper of the display's monitor, which keeps it from then on;
// false when it has no keeper or it did not answer. The window's ramp has no source.
bool OfferRampToKeeper(int displayIndex, const GammaRamp& ramp, const std::string& source);
inline bool OfferRampToKeeper(int displayIndex, const GammaRamp& ramp)
{
    return OfferRampToKeeper(displayIndex, ramp, {});
}
// The keeper's status file, where "/status" reads what it does.
std::string KeeperStatusFileName(const std::string& monitor);
