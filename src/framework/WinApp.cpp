#include "framework/WinApp.h"

#include "base/TextWin32.h"
#include "framework/RegistryKey.h"

namespace {

CWinApp* g_app = nullptr;

std::string ExecutableBaseName()
{
    const std::wstring path = GetModuleFilePath();
    const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    return AnsiFromWide(name.substr(0, name.find_last_of(L'.')));
}

} // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

// The path may be longer than MAX_PATH, and in UTF-8 take more bytes than characters.
std::wstring GetModuleFilePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
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
