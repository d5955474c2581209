#include "lut/MonitorEdidWin32.h"

#include <windows.h>
#include <setupapi.h>

#include "base/UniqueHandle.h"

namespace {

// The setup class of monitors.
constexpr GUID kMonitorClass = {0x4d36e96e, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
// An EDID has at most 256 blocks of 128 bytes.
constexpr DWORD kMaxEdidBytes = 256 * 128;

struct DestroyDeviceList {
    void operator()(HDEVINFO list) const { SetupDiDestroyDeviceInfoList(list); }
};
struct NoDeviceList {
    static HDEVINFO Value() { return INVALID_HANDLE_VALUE; }
};
struct CloseKey {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
struct NoKey {
    static HKEY Value() { return static_cast<HKEY>(INVALID_HANDLE_VALUE); }
};
using DeviceList = UniqueHandle<HDEVINFO, DestroyDeviceList, NoDeviceList>;
using DeviceKey = UniqueHandle<HKEY, CloseKey, NoKey>;

std::string DriverKey(HDEVINFO list, SP_DEVINFO_DATA& device)
{
    char key[256] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(list, &device, SPDRP_DRIVER, &type, reinterpret_cast<BYTE*>(key),
                                           sizeof(key) - 1, nullptr) ||
        type != REG_SZ)
        return {};
    return key;
}

// The device key's EDID value; empty when it has none or it is no binary value.
std::vector<std::uint8_t> EdidOf(HDEVINFO list, SP_DEVINFO_DATA& device)
{
    const DeviceKey key(SetupDiOpenDevRegKey(list, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ));
    std::vector<std::uint8_t> edid(kMaxEdidBytes);
    DWORD type = 0, size = kMaxEdidBytes;
    if (!key || RegQueryValueExA(key.Get(), "EDID", nullptr, &type, edid.data(), &size) != ERROR_SUCCESS ||
        type != REG_BINARY)
        return {};
    edid.resize(size);
    return edid;
}

} // namespace

std::vector<MonitorEdid> ReadMonitorEdids()
{
    std::vector<MonitorEdid> monitors;
    const DeviceList list(SetupDiGetClassDevsA(&kMonitorClass, nullptr, nullptr, DIGCF_PRESENT));
    if (!list)
        return monitors;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; SetupDiEnumDeviceInfo(list.Get(), i, &device); ++i) {
        MonitorEdid monitor{DriverKey(list.Get(), device), EdidOf(list.Get(), device)};
        if (!monitor.driverKey.empty() && !monitor.edid.empty())
            monitors.push_back(std::move(monitor));
    }
    return monitors;
}

std::string DriverKeyOfMonitorId(const std::string& deviceId)
{
    const std::size_t first = deviceId.find('\\');
    const std::size_t second = first == std::string::npos ? first : deviceId.find('\\', first + 1);
    return second == std::string::npos ? std::string() : deviceId.substr(second + 1);
}
