#include "app/RampwiseApp.h"

#include <windows.h>
#include <commctrl.h>

#include "app/SilentApply.h"

bool CRampwiseApp::RunStartup()
{
    InitCommonControls();
    InitApplication();
    SetRegistryKey("Quelmark");

    // Colour management on for the screen. The context stays with the process.
    SetICMMode(GetDC(nullptr), ICM_ON);

    ParseCommandLine(std::make_unique<LaunchArguments>());
    const LaunchArguments& arguments = *GetLaunchArguments();

    if (arguments.IsSilentApply())
        RunSilentApply(arguments);
    // Without a LUT source the program ends here until it has a main dialog.
    return false;
}
