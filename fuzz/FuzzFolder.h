#pragma once

// A private folder for the files the fuzz targets read and write: made once per
// process in $TMPDIR (or /tmp) and removed with everything in it when the process
// ends normally. A run that crashes leaves it behind; scripts/fuzz points TMPDIR at
// its own work folder, which its next run clears.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

class FuzzFolder {
public:
    FuzzFolder()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/rampwise-fuzz-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (!mkdtemp(name.data())) {
            std::perror("rampwise fuzz: no folder for the files");
            std::abort();
        }
        m_path = name.data();
    }
    ~FuzzFolder() { std::filesystem::remove_all(m_path); }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    std::string PathOf(const char* name) const { return m_path + "/" + name; }

    // Replaces the file with the bytes and returns its path; a file that cannot be
    // written ends the run, since nothing read from it would then mean anything.
    std::string Write(const char* name, const std::uint8_t* data, std::size_t size) const
    {
        // Rewritten in place and cut to size: a file truncated to nothing and written
        // again is flushed to disk on close by some file systems, a hundred times slower.
        const std::string path = PathOf(name);
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        const bool written = fd >= 0 && write(fd, data, size) == static_cast<ssize_t>(size) &&
                             ftruncate(fd, static_cast<off_t>(size)) == 0;
        if (fd < 0 || close(fd) != 0 || !written) {
            std::perror(path.c_str());
            std::abort();
        }
        return path;
    }

private:
    std::string m_path;
};
