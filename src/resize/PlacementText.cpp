#include "resize/PlacementText.h"

#include <algorithm>
#include <array>
#include <limits>

#include "base/DecimalText.h"

namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();

// One %d conversion at pos: at least one digit. A number outside the 32-bit range,
// which sscanf leaves undefined, fails the conversion.
std::optional<std::int32_t> ScanNumber(std::string_view text, std::size_t& pos)
{
    const DecimalNumber number = ScanDecimal(text, pos);
    if (number.digits == 0 || number.value < kMin || number.value > kMax)
        return std::nullopt;
    return static_cast<std::int32_t>(number.value);
}

std::int32_t Saturate(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp(value, kMin, kMax));
}

bool IsEmpty(const LayoutRect& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

bool Overlaps(const LayoutRect& a, const LayoutRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The gap between two intervals, 0 when they touch or overlap.
std::int64_t Gap(std::int64_t lo1, std::int64_t hi1, std::int64_t lo2, std::int64_t hi2)
{
    return std::max<std::int64_t>({0, lo2 - hi1, lo1 - hi2});
}

// The start of an interval of this length moved into [lo, hi) as far as it fits;
// one longer than the range starts at lo.
std::int64_t Fit(std::int64_t start, std::int64_t length, std::int64_t lo, std::int64_t hi)
{
    if (length >= hi - lo)
        return lo;
    return std::clamp(start, lo, hi - length);
}

} // namespace

std::string FormatPlacement(const StoredPlacement& placement)
{
    const std::array<std::int32_t, 6> values = {placement.normal.left, placement.normal.top,
                                                placement.normal.right, placement.normal.bottom,
                                                placement.showCommand, placement.flags};
    std::string text;
    for (const std::int32_t value : values) {
        if (!text.empty())
            text += ',';
        text += std::to_string(value);
    }
    return text;
}

// As the scan of the format: no white space is skipped before a comma, so " ," stops
// it after the number before the blank.
std::optional<StoredPlacement> ScanPlacement(std::string_view text)
{
    std::array<std::int32_t, 6> values{};
    std::size_t pos = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != ',')
                return std::nullopt;
            ++pos;
        }
        const std::optional<std::int32_t> value = ScanNumber(text, pos);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    return StoredPlacement{{values[0], values[1], values[2], values[3]}, values[4], values[5]};
}

bool IsRestorableShowCommand(std::int32_t showCommand)
{
    return showCommand == kShowNormal || showCommand == kShowMinimized || showCommand == kShowMaximized;
}

// Nearest means the smallest horizontal plus vertical gap; the first of equally near
// areas wins. The rectangle keeps its size and lies inside the area where it fits,
// else starts at the area's left or top edge so that its caption can be reached.
LayoutRect BringOntoWorkArea(const LayoutRect& normal, std::span<const LayoutRect> workAreas)
{
    const LayoutRect* nearest = nullptr;
    std::int64_t nearestGap = 0;
    for (const LayoutRect& area : workAreas) {
        if (IsEmpty(area))
            continue;
        if (Overlaps(normal, area))
            return normal;
        const std::int64_t gap = Gap(normal.left, normal.right, area.left, area.right) +
                                 Gap(normal.top, normal.bottom, area.top, area.bottom);
        if (!nearest || gap < nearestGap) {
            nearest = &area;
            nearestGap = gap;
        }
    }
    if (!nearest)
        return normal;

    const std::int64_t width = std::int64_t{normal.right} - normal.left;
    const std::int64_t height = std::int64_t{normal.bottom} - normal.top;
    const std::int64_t left = Fit(normal.left, width, nearest->left, nearest->right);
    const std::int64_t top = Fit(normal.top, height, nearest->top, nearest->bottom);
    return {Saturate(left), Saturate(top), Saturate(left + width), Saturate(top + height)};
}
