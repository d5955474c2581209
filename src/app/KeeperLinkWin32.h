#pragma once

#include <windows.h>

#include <string>

#include "lut/GammaRamp.h"

// How the window, the keepers and "/release" find each other within one session. A
// keeper of display N holds the mutex KeeperMutexName(N) for its whole life, ends when
// the event KeeperStopEventName(N) is set, and owns a hidden top-level window of the
// class kKeeperWindowClass titled KeeperWindowTitle(N). The shared memory
// KeeperClaimName(N) holds the process id of the last /keep that claimed display N.
inline constexpr const char* kKeeperWindowClass = "RampwiseKeeper";
// Marks a WM_COPYDATA to a keeper whose data is a GammaRamp record.
inline constexpr ULONG_PTR kKeeperRampTag = 0x52574B52;

std::string KeeperWindowTitle(int displayIndex);
std::string KeeperMutexName(int displayIndex);
std::string KeeperStopEventName(int displayIndex);
std::string KeeperClaimName(int displayIndex);

// Hands the ramp to the keeper of the display, which keeps it from then on; false when
// the display has no keeper or it did not answer.
bool OfferRampToKeeper(int displayIndex, const GammaRamp& ramp);
