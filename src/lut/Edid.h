#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// What stays with a monitor wherever it is plugged in: its maker and product, and its
// serial when the EDID carries one.
struct MonitorIdentity {
    std::string model;   // maker id and product code, as in hardware ids: "DEL40F3"
    std::string serial;  // the serial text, else the serial number in decimal; "" when neither

    // "DEL40F3:7XK2M13", or "DEL40F3" without a serial.
    std::string Text() const { return serial.empty() ? model : model + ":" + serial; }
};

// What a monitor's EDID says of it: who it is and the name it gives itself ("" when
// none).
struct EdidFacts {
    MonitorIdentity identity;
    std::string name;
};

// Reads the base block of an EDID; nothing when it is shorter than 128 bytes, or its
// header, checksum or maker id is wrong.
std::optional<EdidFacts> ParseEdid(std::span<const std::uint8_t> edid);
