#include "app/KeeperLinkWin32.h"

#include "app/KeepCore.h"
#include "lut/DisplayAccess.h"
#include "lut/DisplayNaming.h"

std::string KeeperWindowTitle(const std::string& monitor)
{
    return kKeeperWindowTitlePrefix + monitor;
}

// In the session's own namespace: each user's log-on has its own keepers. A name
// holds no backslash but the namespace's.
std::string KeeperMutexName(const std::string& monitor)
{
    return "Local\\RampwiseKeeper." + EscapedForName(monitor);
}

std::string KeeperStopEventName(const std::string& monitor)
{
    return "Local\\RampwiseKeeperStop." + EscapedForName(monitor);
}

std::string KeeperClaimName(const std::string& monitor)
{
    return "Local\\RampwiseKeeperClaim." + EscapedForName(monitor);
}

std::string KeeperStatusFileName(const std::string& monitor)
{
    return "keep-" + EscapedForName(monitor) + ".status";
}

bool OfferRampToKeeper(int displayIndex, const GammaRamp& ramp, const std::string& source)
{
    const std::string monitor = KeptMonitorName(std::to_string(displayIndex), ListDisplays());
    const HWND keeper = FindWindowA(kKeeperWindowClass, KeeperWindowTitle(monitor).c_str());
    if (!keeper)
        return false;
    std::string record(reinterpret_cast<const char*>(ramp.entries.data()), sizeof(ramp.entries));
    record += source;
    COPYDATASTRUCT data{kKeeperRampTag, static_cast<DWORD>(record.size()), record.data()};
    DWORD_PTR taken = 0;
    // A keeper that hangs must not hang the window with it.
    return SendMessageTimeoutA(keeper, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 2000,
                               &taken) != 0 &&
           taken != 0;
}
