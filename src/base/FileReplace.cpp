#include "base/FileReplace.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <random>

namespace {

constexpr std::string_view kTemporaryStart = ".~rw";
constexpr std::string_view kHexDigits = "0123456789abcdef";
constexpr std::size_t kTemporaryDigits = 8;

} // namespace

std::string TemporaryFileName()
{
    // The random device alone may be predictable on some runtimes: the clock and a
    // counter keep names apart within one run, the exclusive create does the rest.
    static std::atomic<std::uint32_t> serial{0};
    const auto ticks = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint32_t value = std::random_device{}() ^ static_cast<std::uint32_t>(ticks ^ (ticks >> 32)) ^
                          (serial++ * 0x9E3779B9u);
    std::string name = std::string(kTemporaryStart) + std::string(kTemporaryDigits, '0');
    for (std::size_t i = name.size(); value != 0; value >>= 4)
        name[--i] = kHexDigits[value & 0xF];
    return name;
}

bool IsTemporaryFileName(std::string_view name)
{
    return name.size() == kTemporaryStart.size() + kTemporaryDigits && name.starts_with(kTemporaryStart) &&
           name.find_first_not_of(kHexDigits, kTemporaryStart.size()) == std::string_view::npos;
}
