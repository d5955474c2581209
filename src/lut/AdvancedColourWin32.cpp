#include "lut/AdvancedColourWin32.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "lut/AdvancedColour.h"

namespace {

// The newer advanced-colour query (Windows 11 24H2) is missing from the mingw-w64
// headers: its request type and answer as Windows lays them out. The bit fields
// after the header are not read; the active colour mode takes the values of
// AdvancedColourMode.
constexpr auto kGetAdvancedColourInfo2 = static_cast<DISPLAYCONFIG_DEVICE_INFO_TYPE>(15);
struct AdvancedColourInfo2 {
    DISPLAYCONFIG_DEVICE_INFO_HEADER header;
    UINT32 flags;
    DISPLAYCONFIG_COLOR_ENCODING colorEncoding;
    UINT32 bitsPerColorChannel;
    UINT32 activeColorMode;
};
static_assert(sizeof(AdvancedColourInfo2) == sizeof(DISPLAYCONFIG_DEVICE_INFO_HEADER) + 16);

// Fills the request's header and asks; false when this Windows does not know the
// request or the path has gone.
template <class Packet>
bool Ask(Packet& packet, DISPLAYCONFIG_DEVICE_INFO_TYPE type, LUID adapter, UINT32 id)
{
    packet.header.type = type;
    packet.header.size = sizeof(Packet);
    packet.header.adapterId = adapter;
    packet.header.id = id;
    return DisplayConfigGetDeviceInfo(&packet.header) == ERROR_SUCCESS;
}

// The active paths from displays to monitors; none when Windows cannot say.
std::vector<DISPLAYCONFIG_PATH_INFO> ActivePaths()
{
    std::vector<DISPLAYCONFIG_PATH_INFO> paths;
    std::vector<DISPLAYCONFIG_MODE_INFO> modes;
    // A monitor that comes or goes between the two calls makes the arrays too small:
    // ask again, a few times.
    for (int attempt = 0; attempt < 3; ++attempt) {
        UINT32 pathCount = 0;
        UINT32 modeCount = 0;
        if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS ||
            pathCount == 0)
            return {};
        paths.resize(pathCount);
        modes.resize(modeCount);
        const LONG result =
            QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount, modes.data(), nullptr);
        if (result == ERROR_SUCCESS) {
            paths.resize(pathCount);
            return paths;
        }
        if (result != ERROR_INSUFFICIENT_BUFFER)
            break;
    }
    return {};
}

// Whether the source of a path is the GDI display device: "\\.\DISPLAY1" in both
// forms, case-blind. Both arrays may be full without a terminator.
bool IsDevice(const DISPLAY_DEVICEA& device, const DISPLAYCONFIG_SOURCE_DEVICE_NAME& source)
{
    const std::size_t size = strnlen(device.DeviceName, sizeof(device.DeviceName));
    if (size != wcsnlen(source.viewGdiDeviceName, CCHDEVICENAME))
        return false;
    const auto lower = [](unsigned c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    for (std::size_t i = 0; i < size; ++i)
        if (lower(static_cast<unsigned char>(device.DeviceName[i])) != lower(source.viewGdiDeviceName[i]))
            return false;
    return true;
}

// What the monitor at the end of a path answers. The older query is asked only when
// the newer one has no answer, since then the newer one decides.
AdvancedColourAnswers AskMonitor(const DISPLAYCONFIG_PATH_TARGET_INFO& target)
{
    AdvancedColourAnswers answers;
    AdvancedColourInfo2 newer{};
    if (Ask(newer, kGetAdvancedColourInfo2, target.adapterId, target.id)) {
        answers.activeMode = static_cast<AdvancedColourMode>(newer.activeColorMode);
        return answers;
    }
    DISPLAYCONFIG_GET_ADVANCED_COLOR_INFO older{};
    if (Ask(older, DISPLAYCONFIG_DEVICE_INFO_GET_ADVANCED_COLOR_INFO, target.adapterId, target.id))
        answers.state = AdvancedColourState{older.advancedColorEnabled != 0, older.wideColorEnforced != 0,
                                            older.advancedColorForceDisabled != 0};
    return answers;
}

} // namespace

bool DisplayInHdrMode(int displayIndex)
{
    DISPLAY_DEVICEA device{};
    device.cb = sizeof(device);
    if (!EnumDisplayDevicesA(nullptr, static_cast<DWORD>(displayIndex), &device, 0))
        return false;
    for (const DISPLAYCONFIG_PATH_INFO& path : ActivePaths()) {
        DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
        if (!Ask(source, DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME, path.sourceInfo.adapterId, path.sourceInfo.id) ||
            !IsDevice(device, source))
            continue;
        // A display shown on several monitors at once sends its ramp to all of them:
        // one in HDR mode is enough.
        if (InHdrMode(AskMonitor(path.targetInfo)))
            return true;
    }
    return false;
}
