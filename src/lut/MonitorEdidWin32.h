#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The EDID of every monitor device present, as the system keeps it in the device's
// registry key, with the device's driver key ("{4d36e96e-...}\0001"): the device id
// that EnumDisplayDevices gives a monitor ends with it.
struct MonitorEdid {
    std::string driverKey;
    std::vector<std::uint8_t> edid;
};
std::vector<MonitorEdid> ReadMonitorEdids();

// The driver key within a monitor's device id ("MONITOR\DEL40F3\{4d36e96e-...}\0001"):
// what follows its second backslash.
std::string DriverKeyOfMonitorId(const std::string& deviceId);
