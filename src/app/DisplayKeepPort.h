#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/KeepCore.h"
#include "app/KeepLog.h"
#include "app/SilentApply.h"
#include "lut/DisplayAccess.h"

// What every system's keeper does alike: the source and the display through the
// silent apply's steps and the display access, and the log file. Each system adds
// the take-over, the wait and how it names its displays.
class DisplayKeepPort : public KeepPort {
public:
    // An empty path: the log lines are dropped.
    explicit DisplayKeepPort(std::filesystem::path logPath) : m_logPath(std::move(logPath)) {}

    bool LoadSource(const LaunchArguments& arguments, GammaRamp& ramp) override
    {
        return LoadLaunchSourceOrSayWhy(arguments, ramp);
    }
    bool Apply(int displayIndex, const GammaRamp& ramp) override
    {
        return ApplyRamp(displayIndex, ramp) == SilentApplyResult::Applied;
    }
    std::optional<RampDifference> Compare(int displayIndex, const GammaRamp& ramp) override
    {
        return CompareDisplayRamp(displayIndex, ramp);
    }
    bool Write(int displayIndex, const GammaRamp& ramp) override { return WriteDisplayRamp(displayIndex, ramp); }
    // The folder is made when missing; a line that cannot be written is dropped: the
    // keeper goes on keeping.
    void Log(const std::string& line) override
    {
        if (m_logPath.empty())
            return;
        std::error_code error;
        std::filesystem::create_directories(m_logPath.parent_path(), error);
        AppendKeepLogLine(m_logPath.string(), line);
    }

private:
    std::filesystem::path m_logPath;
};
