#include "base/ProcessNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/FileDescriptor.h"

namespace {

struct FolderCloser {
    void operator()(DIR* folder) const { closedir(folder); }
};

} // namespace

std::vector<unsigned long> ProcessNames::ProcessIds()
{
    std::vector<unsigned long> pids;
    const std::unique_ptr<DIR, FolderCloser> folder(opendir("/proc"));
    while (const dirent* entry = folder ? readdir(folder.get()) : nullptr) {
        char* end = nullptr;
        const unsigned long pid = std::strtoul(entry->d_name, &end, 10);
        if (end != entry->d_name && *end == '\0')
            pids.push_back(pid);
    }
    return pids;
}

// From /proc/PID/comm.
std::string ProcessNames::ReadName(unsigned long pid)
{
    char path[48] = "";
    std::snprintf(path, sizeof(path), "/proc/%lu/comm", pid);
    const FileDescriptor file(open(path, O_RDONLY | O_CLOEXEC));
    char name[32] = "";
    const ssize_t size = file ? read(file.Get(), name, sizeof(name) - 1) : -1;
    std::string text(name, size > 0 ? static_cast<std::size_t>(size) : 0);
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

// The last field of /proc/loadavg: "0.00 0.01 0.05 1/123 4567".
unsigned long ProcessNames::LastProcessId()
{
    const FileDescriptor file(open("/proc/loadavg", O_RDONLY | O_CLOEXEC));
    char text[128] = "";
    const ssize_t size = file ? read(file.Get(), text, sizeof(text) - 1) : -1;
    const char* last = size > 0 ? std::strrchr(text, ' ') : nullptr;
    return last ? std::strtoul(last + 1, nullptr, 10) : 0;
}
