#include "lut/DisplayAccess.h"

#include <windows.h>

#include <cstring>

#include "base/AsciiText.h"
#include "base/Log.h"
#include "base/WinHandles.h"
#include "lut/Edid.h"
#include "lut/LutFile.h"
#include "lut/MonitorEdidWin32.h"

namespace {

// Enumerates afresh and opens the display's device context; logs what failed and
// returns an empty holder then.
DeviceContext OpenDisplay(int displayIndex)
{
    DISPLAY_DEVICEA device{};
    device.cb = sizeof(device);
    // A negative index reaches the platform as a very large unsigned one, which
    // names no display.
    if (!EnumDisplayDevicesA(nullptr, static_cast<DWORD>(displayIndex), &device, 0)) {
        LogError("ERROR: EnumDisplayDevices falied %i", static_cast<int>(GetLastError()));
        return {};
    }
    DeviceContext dc(CreateDCA("DISPLAY", device.DeviceName, nullptr, nullptr));
    if (!dc)
        LogError("ERROR: CreateDC falied %i", static_cast<int>(GetLastError()));
    return dc;
}

} // namespace

namespace {

// The two gamma calls on an open display context; each logs its own failure.
bool ReadRamp(DeviceContext& dc, GammaRamp& ramp)
{
    if (GetDeviceGammaRamp(dc.Get(), ramp.entries.data()))
        return true;
    // Taken before the release, which may set its own code.
    const int errorCode = static_cast<int>(GetLastError());
    dc.Reset();
    LogError("ERROR: GetDeviceGammaRamp falied %i", errorCode);
    return false;
}

bool WriteRamp(DeviceContext& dc, const GammaRamp& ramp)
{
    // The platform takes a non-const pointer but does not write through it.
    if (SetDeviceGammaRamp(dc.Get(), const_cast<std::uint16_t*>(ramp.entries.data())))
        return true;
    const int errorCode = static_cast<int>(GetLastError());
    dc.Reset();
    LogError("ERROR: SetDeviceGammaRamp falied %i", errorCode);
    return false;
}

} // namespace

bool ReadDisplayRamp(int displayIndex, GammaRamp& ramp)
{
    DeviceContext dc = OpenDisplay(displayIndex);
    return dc && ReadRamp(dc, ramp);
}

bool WriteDisplayRamp(int displayIndex, const GammaRamp& ramp)
{
    DeviceContext dc = OpenDisplay(displayIndex);
    return dc && WriteRamp(dc, ramp);
}

std::optional<RampDifference> WriteDisplayRampAndCompare(int displayIndex, const GammaRamp& ramp)
{
    DeviceContext dc = OpenDisplay(displayIndex);
    GammaRamp shown;
    if (!dc || !WriteRamp(dc, ramp) || !ReadRamp(dc, shown))
        return std::nullopt;
    return CompareWithRamp({shown.Channel(0), shown.Channel(1), shown.Channel(2)}, ramp);
}

std::string GetDisplayProfilePath(int displayIndex)
{
    const DeviceContext dc = OpenDisplay(displayIndex);
    if (!dc)
        return {};
    char path[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    if (!GetICMProfileA(dc.Get(), &size, path))
        return {};
    path[MAX_PATH] = '\0';
    return path;
}

bool LoadDisplayProfile(int displayIndex, GammaRamp& ramp, std::string* name)
{
    const std::string path = GetDisplayProfilePath(displayIndex);
    if (name)
        *name = path.substr(path.find_last_of("\\/") + 1);
    return LoadLutSource(ramp, path);
}

std::vector<DisplayListing> ListDisplays()
{
    // The platform fills fixed arrays; a full one has no terminator.
    const auto text = [](const auto& field) { return std::string(field, strnlen(field, sizeof(field))); };
    std::vector<DisplayListing> displays;
    std::vector<MonitorEdid> edids;
    for (DWORD i = 0;; ++i) {
        DISPLAY_DEVICEA adapter{};
        adapter.cb = sizeof(adapter);
        if (!EnumDisplayDevicesA(nullptr, i, &adapter, 0))
            break;
        DISPLAY_DEVICEA monitor{};
        monitor.cb = sizeof(monitor);
        if (!EnumDisplayDevicesA(adapter.DeviceName, 0, &monitor, 0))
            continue;
        DisplayListing& display = displays.emplace_back();
        display.index = static_cast<int>(i);
        display.adapter = text(adapter.DeviceString);
        display.monitor = text(monitor.DeviceString);
        display.connector = text(adapter.DeviceName);
        display.tableSize = static_cast<int>(GammaRamp::kChannelSize);
        // The monitors' EDIDs are read once, when the first display has a monitor.
        if (edids.empty() && displays.size() == 1)
            edids = ReadMonitorEdids();
        const std::string driverKey = DriverKeyOfMonitorId(text(monitor.DeviceID));
        for (const MonitorEdid& edid : edids)
            if (!driverKey.empty() && EqualsIgnoringAsciiCase(edid.driverKey, driverKey))
                display.edid = ParseEdid(edid.edid);
    }
    return displays;
}

std::optional<RampDifference> CompareDisplayRamp(int displayIndex, const GammaRamp& ramp)
{
    GammaRamp shown;
    if (!ReadDisplayRamp(displayIndex, shown))
        return std::nullopt;
    return CompareWithRamp({shown.Channel(0), shown.Channel(1), shown.Channel(2)}, ramp);
}
