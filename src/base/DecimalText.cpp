#include "base/DecimalText.h"

#include <limits>

namespace {

constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

DecimalNumber ScanDecimal(std::string_view text, std::size_t& pos)
{
    while (pos < text.size() && IsCSpace(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    DecimalNumber number;
    std::int64_t magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        // Capped past the 32-bit range in both directions, so no number of digits
        // can overflow the accumulator.
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > kLimit)
            magnitude = kLimit;
        ++number.digits;
    }
    number.value = negative ? -magnitude : magnitude;
    return number;
}
