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
    // None of these shows a window. A script tells by the exit status whether the
    // display took (or, for /verify, holds) the ramp.
    switch (ClassifyLaunch(arguments)) {
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
    case LaunchAction::SilentApply: {
        AppliedRamp applied;
        m_exitCode = RunSilentApply(arguments, &applied) == SilentApplyResult::Applied ? 0 : 1;
        if (m_exitCode == 0 && HandRampToKeeper(applied.displayIndex, applied.ramp, arguments.lutSource))
            PrintLines({FormatHandedLine(applied.displayIndex, arguments.lutSource)});
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
