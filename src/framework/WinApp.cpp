#include "framework/WinApp.h"

#include "framework/RegistryKey.h"

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
    m_registryCompany = company ? company : "";
}

std::string CWinApp::ProfileSectionPath(const char* section) const
{
    return "Software\\" + m_registryCompany + "\\" + m_appName + "\\" + section;
}

// A missing key or entry, a value that is not a string and one longer than the
// holder accepts all read as "not there".
std::string CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue) const
{
    std::string fallback = defaultValue ? defaultValue : "";
    if (m_registryCompany.empty())
        return fallback;
    RegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, ProfileSectionPath(section).c_str(), KEY_READ) != ERROR_SUCCESS)
        return fallback;
    std::string text;
    if (key.ReadString(entry, text) != ERROR_SUCCESS)
        return fallback;
    return text;
}

bool CWinApp::WriteProfileString(const char* section, const char* entry, const char* value)
{
    if (m_registryCompany.empty())
        return false;
    RegistryKey key;
    if (key.Create(HKEY_CURRENT_USER, ProfileSectionPath(section).c_str(), KEY_WRITE) != ERROR_SUCCESS)
        return false;
    if (!value) {
        LONG status = key.DeleteValue(entry);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    return key.WriteString(entry, value) == ERROR_SUCCESS;
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
