#include "app/WindowKeepersWin32.h"

#include <windows.h>

#include <optional>

#include "app/KeepLog.h"
#include "app/Keeper.h"
#include "base/LaunchArguments.h"
#include "base/WinHandles.h"
#include "ui/StartupEntry.h"

namespace {

bool StartKeeper(const std::string& program, const std::string& source, const std::string& display)
{
    const std::optional<std::string> command = FormatStartupCommand(program, source, display);
    if (!command)
        return false;
    std::string line = *command + " " + KeepSwitch();
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    // A busy system now and then refuses a new process at the first try.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            const KernelObject started(process.hProcess), thread(process.hThread);
            return true;
        }
        Sleep(50);
    }
    return false;
}

} // namespace

bool SwitchKeeper(const KeepToggle& toggle, const std::string& program)
{
    if (toggle.keeps)
        return StartKeeper(program, toggle.source, toggle.display);
    LaunchArguments release;
    release.mode = LaunchArguments::Mode::Release;
    release.displayParameter = toggle.display;
    return ReleaseKeepers(release) == 0;
}

std::map<int, std::string> KeptSources()
{
    std::map<int, std::string> sources;
    for (const std::string& line : KeeperStatusLines()) {
        if (const auto kept = ReadKeptSource(line))
            sources.insert(*kept);
    }
    return sources;
}
