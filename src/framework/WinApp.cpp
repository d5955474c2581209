#include "framework/WinApp.h"

#include "framework/CommandLineWin32.h"

namespace {

CWinApp* g_app = nullptr;

std::string ExecutableBaseName()
{
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length < MAX_PATH ? length : MAX_PATH);
    std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

} // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

CWinApp::CWinApp(const char* appName)
{
    if (appName)
        m_appName = appName;
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::InitApplication()
{
    m_hInstance = GetModuleHandleA(nullptr);
    if (m_appName.empty())
        m_appName = ExecutableBaseName();
}

void CWinApp::SetRegistryKey(const char* company)
{
    m_registryKey = company ? company : "";
}

void CWinApp::ParseCommandLine(std::unique_ptr<LaunchArguments> arguments)
{
    m_launchArguments = std::move(arguments);
    *m_launchArguments = ParseLaunchArguments(GetProcessArguments());
}

int CWinApp::Run()
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
