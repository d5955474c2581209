#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "resize/AnchorMath.h"

// The saved window placement as one line of text, "%d,%d,%d,%d,%d,%d": the normal
// rectangle (workspace coordinates), the show command and the placement flags.

inline constexpr char kPlacementEntry[] = "WindowPlacement";

inline constexpr std::int32_t kShowNormal = 1;     // SW_SHOWNORMAL
inline constexpr std::int32_t kShowMinimized = 2;  // SW_SHOWMINIMIZED
inline constexpr std::int32_t kShowMaximized = 3;  // SW_SHOWMAXIMIZED

struct StoredPlacement {
    LayoutRect normal;
    std::int32_t showCommand = kShowNormal;
    std::int32_t flags = 0;
    bool operator==(const StoredPlacement&) const = default;
};

std::string FormatPlacement(const StoredPlacement& placement);

// Reads the text as sscanf reads "%d,%d,%d,%d,%d,%d"; nothing unless all six numbers
// convert. Text after the sixth number is ignored.
std::optional<StoredPlacement> ScanPlacement(std::string_view text);

// Only these show commands are applied: anything else would restore a hidden window.
bool IsRestorableShowCommand(std::int32_t showCommand);

// The normal rectangle moved onto the nearest work area when it overlaps none of them.
LayoutRect BringOntoWorkArea(const LayoutRect& normal, std::span<const LayoutRect> workAreas);
