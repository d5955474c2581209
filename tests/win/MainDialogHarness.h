#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "DisplayTestSupport.h"
#include "ProfileBuilder.h"
#include "TempDir.h"
#include "app/LogRouting.h"
#include "framework/WinApp.h"
#include "support/RecordingLog.h"
#include "ui/RampwiseDlg.h"

using Lines = std::vector<std::string>;

class MainDialogTestApp : public CWinApp {
public:
    MainDialogTestApp() : CWinApp("RampwiseDlgTest") { InitApplication(); }
    bool RunStartup() override { return true; }
};

// The real main dialog from its template; `steps` run at the end of its initialisation,
// after which it ends unless `endAfterSteps` is off. Its file dialogs answer `answer`
// and are kept in `requests`.
class ScriptedDialog : public CRampwiseDlg {
public:
    std::function<void(ScriptedDialog&)> steps;
    bool endAfterSteps = true;
    std::optional<std::string> answer;
    std::vector<FileRequest> requests;

    ScriptedDialog()
    {
        SetFileChooser([this](const FileRequest& request, CWnd&) {
            requests.push_back(request);
            return answer;
        });
    }
    std::size_t LineCount() const { return static_cast<std::size_t>(Log().GetCount()); }
    Lines LinesSince(std::size_t first) const
    {
        Lines lines;
        for (std::size_t i = first; i < LineCount(); ++i)
            lines.push_back(Log().GetText(static_cast<int>(i)));
        return lines;
    }
    // The log lines the command adds.
    Lines Send(UINT command)
    {
        const std::size_t before = LineCount();
        SendMessageA(m_hWnd, WM_COMMAND, command, 0);
        return LinesSince(before);
    }

protected:
    bool OnInitDialog() override
    {
        CRampwiseDlg::OnInitDialog();
        if (steps)
            steps(*this);
        if (endAfterSteps)
            EndDialog(IDOK);
        return true;
    }
};

class MainDialog : public DisplayRampTest {
protected:
    void SetUp() override
    {
        DisplayRampTest::SetUp();
        app.SetRegistryKey(company.c_str());
        SetLogForwarder(&AddLogLineToMainDialog);
    }
    void TearDown() override
    {
        SetLogForwarder(nullptr);
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + company).c_str());
        DisplayRampTest::TearDown();
    }
    void Run(std::function<void(ScriptedDialog&)> steps, ScriptedDialog&& dialog = ScriptedDialog())
    {
        dialog.steps = std::move(steps);
        app.m_pMainWnd = &dialog;
        EXPECT_EQ(dialog.DoModal(), IDOK);
        app.m_pMainWnd = nullptr;
    }

    MainDialogTestApp app;
    const std::string company = "RampwiseTest" + std::to_string(GetCurrentProcessId());
    TempDir files;
};

// A ramp as Wine hands it back: it keeps the high byte of each entry.
inline GammaRamp AsWineKeepsIt(GammaRamp ramp)
{
    for (std::uint16_t& entry : ramp.entries)
        entry = static_cast<std::uint16_t>((entry >> 8) * 257);
    return ramp;
}

// Display 0's colour profile replaced, while it lives, by one with these calibration
// curves; Wine's own profile has none.
class CalibratedDisplayProfile {
public:
    explicit CalibratedDisplayProfile(const GammaRamp& curves)
    {
        std::ifstream in(m_path, std::ios::binary);
        m_original.assign(std::istreambuf_iterator<char>(in), {});
        const Bytes vcgt = VcgtTable(3, 256, 2, U16Bytes({curves.entries.begin(), curves.entries.end()}));
        const Bytes profile = ProfileBuilder().Tag(kVcgtTag, vcgt).Build();
        std::ofstream(m_path, std::ios::binary).write(reinterpret_cast<const char*>(profile.data()), profile.size());
    }
    ~CalibratedDisplayProfile() { std::ofstream(m_path, std::ios::binary).write(m_original.data(), m_original.size()); }

private:
    const std::string m_path = GetDisplayProfilePath(0);
    std::vector<char> m_original;
};
