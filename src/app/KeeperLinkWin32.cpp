#include "app/KeeperLinkWin32.h"

std::string KeeperWindowTitle(int displayIndex)
{
    return "Rampwise keeper " + std::to_string(displayIndex);
}

// In the session's own namespace: each user's log-on has its own keepers.
std::string KeeperMutexName(int displayIndex)
{
    return "Local\\RampwiseKeeper." + std::to_string(displayIndex);
}

std::string KeeperStopEventName(int displayIndex)
{
    return "Local\\RampwiseKeeperStop." + std::to_string(displayIndex);
}

std::string KeeperClaimName(int displayIndex)
{
    return "Local\\RampwiseKeeperClaim." + std::to_string(displayIndex);
}

bool OfferRampToKeeper(int displayIndex, const GammaRamp& ramp)
{
    const HWND keeper = FindWindowA(kKeeperWindowClass, KeeperWindowTitle(displayIndex).c_str());
    if (!keeper)
        return false;
    COPYDATASTRUCT data{kKeeperRampTag, static_cast<DWORD>(sizeof(ramp.entries)),
                        const_cast<std::uint16_t*>(ramp.entries.data())};
    DWORD_PTR taken = 0;
    // A keeper that hangs must not hang the window with it.
    return SendMessageTimeoutA(keeper, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 2000,
                               &taken) != 0 &&
           taken != 0;
}
