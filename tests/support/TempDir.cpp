#include "support/TempDir.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

TempDir::TempDir()
{
    static std::atomic<unsigned> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    m_path = fs::temp_directory_path() / ("rampwise-test-" + std::to_string(stamp) + "-" + std::to_string(serial++));
    fs::create_directories(m_path);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string TempDir::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
{
    std::ofstream(FullPath(name), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return PathOf(name);
}

std::vector<std::uint8_t> TempDir::Read(const std::string& name) const
{
    std::ifstream in(FullPath(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> TempDir::Files() const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(m_path))
        if (!entry.is_directory())
            names.push_back(entry.path().lexically_relative(m_path).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}
