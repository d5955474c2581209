#pragma once

#include <windows.h>

#include <string>

class CWnd;

// The application object. Exactly one exists, constructed during static
// initialisation; the program's entry point finds it through AfxGetApp and calls
// RunStartup once. A false result ends the program without a message loop.
class CWinApp {
public:
    // Without a name the application is named after the executable's file name.
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual bool RunStartup() = 0;
    // The message loop, run only when RunStartup returns true.
    virtual int Run();

    // The framework's own start-up step: instance handle and application name.
    void InitApplication();
    // Per-user settings then live under HKEY_CURRENT_USER\software\<company>\<application>.
    void SetRegistryKey(const char* company);
    // The per-user profile: string values, one key per section under the settings
    // root. Before SetRegistryKey there is no profile: reads give the default and
    // writes fail. A null value deletes the entry. (<windows.h> maps both names to
    // their "A" forms, the same way for every caller.)
    std::string GetProfileString(const char* section, const char* entry, const char* defaultValue = nullptr) const;
    bool WriteProfileString(const char* section, const char* entry, const char* value);

    const std::string& AppName() const { return m_appName; }
    const std::string& RegistryCompany() const { return m_registryCompany; }
    CWnd* GetMainWnd() const { return m_pMainWnd; }

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    // The program's exit status when RunStartup ends it without a message loop.
    int m_exitCode = 0;

private:
    std::string ProfileSectionPath(const char* section) const;

    std::string m_appName;
    std::string m_registryCompany;
};

// The one application object, or null before it is constructed.
CWinApp* AfxGetApp();

// The full path of the program's executable file; empty when the system cannot tell.
std::wstring GetModuleFilePath();
