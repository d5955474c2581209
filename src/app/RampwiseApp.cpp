#include "app/RampwiseApp.h"

#include <windows.h>
#include <commctrl.h>

#include "app/ConsoleWin32.h"
#include "app/KeepLog.h"
#include "app/Keeper.h"
#include "app/KeeperLinkWin32.h"
#include "app/Launch.h"
#include "app/SilentApply.h"
#include "app/VerifyWin32.h"
#include "app/WindowKeepersWin32.h"
#include "base/LaunchArguments.h"
#include "framework/CommandLineWin32.h"
#include "lut/DisplayAccess.h"
#include "ui/RampwiseDlg.h"
#include "ui/StartupRegistry.h"

namespace {

// Keep loaded's keeper is this program, as the log-on entry names it.
bool SwitchOwnKeeper(const KeepToggle& toggle)
{
    const std::optional<std::string> program = ProgramPathForStartupEntry();
    return program && SwitchKeeper(toggle, *program);
}

} // namespace

bool CRampwiseApp::RunStartup()
{
    InitApplication();
    SetRegistryKey("Quelmark");

    // Colour management on for the screen. The context stays with the process.
    SetICMMode(GetDC(nullptr), ICM_ON);

    const LaunchArguments arguments = ParseLaunchArguments(GetProcessArguments());
    const LaunchAction action = ClassifyLaunch(arguments);
    // None of these shows a window. A script tells by the exit status whether the
    // display took (or, for /verify, holds) the ramp.
    switch (action) {
    case LaunchAction::Mistake: {
        std::vector<std::string> lines = UsageLines();
        lines.insert(lines.begin(), arguments.mistake);
        PrintLines(lines, ConsoleStream::Error);
        m_exitCode = kMistakeStatus;
        return false;
    }
    case LaunchAction::Help:
        PrintLines(UsageLines());
        m_exitCode = 0;
        return false;
    case LaunchAction::Version:
        PrintLines({VersionLine()});
        m_exitCode = 0;
        return false;
    case LaunchAction::Save:
        m_exitCode = RunSave(arguments) ? 0 : 1;
        return false;
    case LaunchAction::Verify:
        m_exitCode = RunVerifyToConsole(arguments);
        return false;
    case LaunchAction::Release:
        m_exitCode = ReleaseKeepers(arguments);
        return false;
    case LaunchAction::List: {
        std::vector<std::string> lines;
        for (const DisplayListing& display : ListDisplays())
            lines.push_back(FormatDisplayLine(display));
        PrintLines(lines);
        m_exitCode = 0;
        return false;
    }
    case LaunchAction::Keep:
        m_exitCode = RunKeeper(arguments);
        return false;
    case LaunchAction::Status:
        PrintLines(KeeperStatusLines());
        m_exitCode = 0;
        return false;
    case LaunchAction::Clear:
    case LaunchAction::SilentApply: {
        // "/clear" is a silent apply of the identity ramp, and hands it on alike.
        const bool identity = action == LaunchAction::Clear;
        AppliedRamp applied;
        const SilentApplyResult result = identity ? RunClear(arguments, &applied) : RunSilentApply(arguments, &applied);
        m_exitCode = result == SilentApplyResult::Applied ? 0 : 1;
        const std::string source = identity ? kIdentityRampName : arguments.lutSource;
        if (m_exitCode == 0 && HandRampToKeeper(applied.displayIndex, applied.ramp, source))
            PrintLines({FormatHandedLine(applied.displayIndex, source)});
        return false;
    }
    case LaunchAction::NoSource:
        break;
    }

    // Only the window needs the common controls; a silent apply never loads them.
    InitCommonControls();

    // The dialog is the main window from before it runs, so that the log calls reach
    // its log from its first line on.
    CRampwiseDlg dialog;
    dialog.SetKeeperHandoff(&OfferRampToKeeper);
    dialog.SetKeeperSwitch(&SwitchOwnKeeper);
    dialog.SetKeptSources(&KeptSources);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return false;
}
