#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "app/KeepCore.h"
#include "app/KeepLog.h"
#include "app/SilentApply.h"
#include "base/Log.h"
#include "base/ProcessNames.h"
#include "base/UserFolders.h"
#include "lut/DisplayAccess.h"

// What every system's keeper does alike: the source and the display through the
// silent apply's steps and the display access, the log, rule and status files and the
// running programs. Each system adds
// the take-over, the wait and how it names its displays.
class DisplayKeepPort : public KeepPort {
public:
    DisplayKeepPort() : m_logFolder(ProgramFolder(UserFolder::State)) {}

    bool LoadSource(const LaunchArguments& arguments, int displayIndex, GammaRamp& ramp) override
    {
        return LoadLaunchSourceOrSayWhy(arguments, displayIndex, ramp);
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
    // keep.log in the program's state folder, made when missing. A line that cannot
    // be written is dropped, and said so of once: the keeper goes on keeping.
    std::vector<std::string> RunningPrograms(bool fresh) override { return m_programs.Names(fresh); }
    // The rule file is looked at once a check, read only when its time or size changed.
    std::optional<std::string> ChangedRules() override;
    bool InHdrMode(int) override { return false; }
    // Into the status file that the system's port names, replaced whole.
    void Publish(const KeepStatus& status) override;
    void Log(const std::string& line) override
    {
        if (!m_logFolder)
            return;
        std::error_code error;
        std::filesystem::create_directories(*m_logFolder, error);
        const std::filesystem::path file = *m_logFolder / "keep.log";
        if (!AppendKeepLogLine(file, line) && !std::exchange(m_saidUnwritable, true))
            LogError("rampwise: %s cannot be written: the keeper goes on without its log", file.string().c_str());
    }

protected:
    std::optional<std::filesystem::path> m_statusFile;

private:
    std::optional<std::filesystem::path> m_logFolder;
    ProcessNames m_programs;
    struct RulesFileState {
        std::filesystem::file_time_type time;
        std::uintmax_t size = 0;
        bool operator==(const RulesFileState&) const = default;
    };
    std::optional<std::optional<RulesFileState>> m_rulesSeen;  // nothing: never looked at
    bool m_saidUnwritable = false;
};
