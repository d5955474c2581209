#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh, empty folder for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Names and paths are in UTF-8, the code page of the Windows program and its tests;
    // the files get their names through the wide calls, whatever the code page.
    std::string PathOf(const std::string& name) const { return FullPath(name).string(); }
    // Writes the file and returns its path.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    std::vector<std::uint8_t> Read(const std::string& name) const;
    // Every file below the folder by its relative path with '/' between the names, sorted.
    std::vector<std::string> Files() const;

private:
    std::filesystem::path FullPath(const std::string& name) const { return m_path / std::u8string(name.begin(), name.end()); }

    std::filesystem::path m_path;
};
