#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// A decimal number read the way the C library reads one: white space, an optional
// sign, then digits up to the first non-digit.
struct DecimalNumber {
    // Exact inside the 32-bit range; a number outside it is kept just outside it, so
    // callers can tell and decide whether to saturate or refuse.
    std::int64_t value = 0;
    std::size_t digits = 0;
};

// Reads from pos and leaves pos after the last character read.
DecimalNumber ScanDecimal(std::string_view text, std::size_t& pos);
