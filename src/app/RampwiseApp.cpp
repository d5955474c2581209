#include "app/RampwiseApp.h"

#include <windows.h>
#include <commctrl.h>

#include "app/KeeperWin32.h"
#include "app/SilentApply.h"
#include "app/VerifyWin32.h"
#include "base/LaunchArguments.h"
#include "framework/CommandLineWin32.h"
#include "ui/RampwiseDlg.h"

bool CRampwiseApp::RunStartup()
{
    InitApplication();
    SetRegistryKey("Quelmark");

    // Colour management on for the screen. The context stays with the process.
    SetICMMode(GetDC(nullptr), ICM_ON);

    const LaunchArguments arguments = ParseLaunchArguments(GetProcessArguments());

    // A script tells by the exit status whether the display holds the source's ramp.
    if (arguments.IsVerify()) {
        m_exitCode = RunVerifyToConsole(arguments);
        return false;
    }
    // A keeper stays without a window; "/release" ends keepers and shows none either.
    if (arguments.IsSilentApply() && arguments.keep) {
        m_exitCode = RunKeeper(arguments);
        return false;
    }
    if (arguments.IsRelease()) {
        m_exitCode = ReleaseKeepers(arguments);
        return false;
    }

    // A script or a scheduled task tells by the exit status whether the display took the ramp.
    if (arguments.IsSilentApply()) {
        m_exitCode = RunSilentApply(arguments) == SilentApplyResult::Applied ? 0 : 1;
        return false;
    }

    // Only the window needs the common controls; a silent apply never loads them.
    InitCommonControls();

    // The dialog is the main window from before it runs, so that the log calls reach
    // its log from its first line on.
    CRampwiseDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return false;
}
