#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "base/WinHandles.h"
#include "lut/DisplayAccess.h"
#include "lut/GammaRamp.h"
#include "support/Eventually.h"
#include "support/RecordingLog.h"
#include "support/TestRamps.h"
#include "ui/StartupRegistry.h"

// Wine keeps 8 bits per ramp entry, so these ramps have every entry a multiple of 257:
// entry i of a channel is 257 * round(255 * (i / 255) ^ exponent).
inline GammaRamp CurveRamp(double red, double green, double blue)
{
    const double exponents[] = {red, green, blue};
    GammaRamp ramp;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ramp.entries[i] = static_cast<std::uint16_t>(
            257 * std::lround(255.0 * std::pow((i % 256) / 255.0, exponents[i / 256])));
    return ramp;
}

// Display 0's colour profile replaced, while it lives, by one whose calibration curves
// are these; Wine's own profile has none.
class CalibratedDisplayProfile {
public:
    explicit CalibratedDisplayProfile(const GammaRamp& curves)
    {
        m_original << std::ifstream(m_path, std::ios::binary).rdbuf();
        const Bytes profile = CalibrationProfile(curves);
        std::ofstream(m_path, std::ios::binary).write(reinterpret_cast<const char*>(profile.data()), profile.size());
    }
    ~CalibratedDisplayProfile() { std::ofstream(m_path, std::ios::binary) << m_original.str(); }

private:
    const std::string m_path = GetDisplayProfilePath(0);
    std::stringstream m_original;
};

// Display 0's ramp now.
inline GammaRamp CurrentRamp()
{
    GammaRamp ramp;
    EXPECT_TRUE(ReadDisplayRamp(0, ramp));
    return ramp;
}

// Tests that change the ramp of display 0 put back the ramp they found; the log starts empty.
class DisplayRampTest : public ::testing::Test {
protected:
    DisplayRampTest() { ClearLog(); }
    ~DisplayRampTest() override { WriteDisplayRamp(0, m_saved); }

    GammaRamp m_saved = CurrentRamp();
};

// The scope's entry for display 0 in the real Run key, or "" when it holds no plain string.
inline std::string StoredEntry(StartupScope scope) { return ReadStartupEntry(scope, "Rampwise"); }

// A program started with this command line, ended when the object goes if it still
// runs. A bare "rampwise" is the program next to the test program.
class ChildProcess {
public:
    // With `captureOutput`, the program's standard output and error go to a pipe, as a
    // script that redirects them would get them; TakeOutput reads it once the program
    // has ended.
    explicit ChildProcess(std::string commandLine, bool captureOutput = false)
    {
        SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        HANDLE output = nullptr;
        if (captureOutput && CreatePipe(&output, &startup.hStdOutput, &inherited, 0)) {
            startup.hStdError = startup.hStdOutput;
            startup.dwFlags = STARTF_USESTDHANDLES;
        }
        m_output = KernelObject(output);
        const KernelObject programsEnd(startup.hStdOutput);  // the program's copy alone keeps the pipe open
        PROCESS_INFORMATION process{};
        // Under load Wine now and then fails to start a process at the first try.
        EXPECT_TRUE(Eventually([&] {
            return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, captureOutput, 0, nullptr, nullptr,
                                  &startup, &process) != 0;
        }, 600)) << commandLine << " (error " << GetLastError() << ')';
        m_process = KernelObject(process.hProcess);
        CloseHandle(process.hThread);
    }
    ~ChildProcess() { TerminateProcess(m_process.Get(), 1); }

    // The exit code once it has ended, waiting up to ms; STILL_ACTIVE while it runs.
    DWORD ExitCode(DWORD ms = 0) const
    {
        DWORD code = STILL_ACTIVE;
        WaitForSingleObject(m_process.Get(), ms);
        GetExitCodeProcess(m_process.Get(), &code);
        return code;
    }
    std::string TakeOutput() const
    {
        std::string output;
        char text[512];
        for (DWORD read = 0; m_output && ReadFile(m_output.Get(), text, sizeof(text), &read, nullptr) && read > 0;)
            output.append(text, read);
        return output;
    }

private:
    KernelObject m_process, m_output;
};
