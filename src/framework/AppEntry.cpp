// The program's entry point: hands control to the one application object.

#include <windows.h>

#include <exception>

#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    // Nothing may unwind out of the program: an error that escapes start-up (a file
    // that fails while it is read) ends the program with status 1, as nothing was done.
    try {
        if (app->RunStartup())
            return app->Run();
    } catch (const std::exception&) {
        return 1;
    }
    return app->m_exitCode;
}
