#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DisplayTestSupport.h"
#include "TempDir.h"
#include "app/LogRouting.h"
#include "framework/WinApp.h"
#include "support/RecordingLog.h"
#include "ui/RampwiseDlg.h"

// The real main dialog in the test program: created from its template, with the log
// calls routed to it and the display's ramp put back after each test.


class MainDialogTestApp : public CWinApp {
public:
    MainDialogTestApp() : CWinApp("RampwiseDlgTest") { InitApplication(); }
    bool RunStartup() override { return true; }
};

// The real main dialog, created from its template, with the test's steps run at the
// end of its initialisation. It ends right after them, so it is never shown unless a
// step shows it.
class ScriptedDialog : public CRampwiseDlg {
public:
    std::function<void(ScriptedDialog&)> steps;
    // Off: the dialog runs its message loop until something it was sent ends it.
    bool endAfterSteps = true;

    std::vector<std::string> LogLines() const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < Log().GetCount(); ++i)
            lines.push_back(Log().GetText(i));
        return lines;
    }
    // The lines added by the commands that run after this call.
    std::vector<std::string> NewLines(std::size_t since) const
    {
        std::vector<std::string> lines = LogLines();
        lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(since, lines.size())));
        return lines;
    }
    std::size_t LineCount() const { return static_cast<std::size_t>(Log().GetCount()); }
    void Send(UINT command) { SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(command, 0), 0); }

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

// Answers the file dialogs for the user and keeps what was asked.
struct ScriptedChooser {
    std::optional<std::string> answer;
    std::vector<FileRequest> requests;

    FileChooser Chooser()
    {
        return [this](const FileRequest& request, CWnd&) {
            requests.push_back(request);
            return answer;
        };
    }
};

class MainDialog : public testing::Test {
protected:
    void SetUp() override
    {
        company = "RampwiseTest" + std::to_string(GetCurrentProcessId());
        app.SetRegistryKey(company.c_str());
        ReadDisplayRamp(0, savedRamp);
        SetLogForwarder(&AddLogLineToMainDialog);
        ClearLog();
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        SetLogForwarder(nullptr);
        WriteDisplayRamp(0, savedRamp);
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + company).c_str());
    }

    void Run(ScriptedDialog& dialog)
    {
        app.m_pMainWnd = &dialog;
        ASSERT_EQ(dialog.DoModal(), IDOK);
        app.m_pMainWnd = nullptr;
    }

    MainDialogTestApp app;
    std::string company;
    GammaRamp savedRamp;
    TempDir files;
};

// A ramp as Wine hands it back: it keeps the high byte of each entry.
inline GammaRamp AsWineKeepsIt(GammaRamp ramp)
{
    for (std::uint16_t& entry : ramp.entries)
        entry = static_cast<std::uint16_t>((entry >> 8) * 257);
    return ramp;
}

inline GammaRamp Linear()
{
    GammaRamp ramp;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ramp.entries[i] = static_cast<std::uint16_t>((i % 256) * 256);
    return ramp;
}

inline GammaRamp OnDisplay()
{
    GammaRamp ramp;
    ReadDisplayRamp(0, ramp);
    return ramp;
}
