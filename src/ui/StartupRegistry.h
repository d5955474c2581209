#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ui/StartupCommands.h"
#include "ui/StartupEntry.h"

// The autostart entries on the real registry. keyPath exists for tests only: every
// caller in the program uses the Run key. The key is opened, never created.

// The Startup commands' entries in the Run keys, named by this program's own path.
class RegistryStartupStore final : public StartupStore {
public:
    explicit RegistryStartupStore(const char* keyPath = kStartupRunKeyPath) : m_keyPath(keyPath) {}

    std::string Read(StartupScope scope, const std::string& valueName) const override;
    long Write(StartupScope scope, const std::string& valueName, const std::string& command) override;
    long Delete(StartupScope scope, const std::string& valueName) override;
    bool CanWrite(StartupScope scope) const override;
    std::optional<std::string> ProgramPath() const override;

private:
    const char* m_keyPath;
};

HKEY StartupRootKey(StartupScope scope);

// The entry's command as stored, or "" when there is none (or it is no plain string).
std::string ReadStartupEntry(StartupScope scope, const std::string& valueName,
                             const char* keyPath = kStartupRunKeyPath);
bool CanWriteStartupEntries(StartupScope scope, const char* keyPath = kStartupRunKeyPath);

// Writes data as a REG_SZ value, replacing any value of that name in one step.
LONG WriteStartupEntry(StartupScope scope, const std::string& valueName, const std::string& data,
                       const char* keyPath = kStartupRunKeyPath);
// A value that does not exist counts as deleted (0); a key that cannot be opened does not.
LONG DeleteStartupEntry(StartupScope scope, const std::string& valueName,
                        const char* keyPath = kStartupRunKeyPath);

// The text in the ANSI code page when every character converts exactly (no best-fit
// look-alikes, no default character), else nullopt. codePage exists for tests: the
// program runs in UTF-8, but on systems before Windows 10 1903 in one like Windows-1252.
std::optional<std::string> ExactAnsiFromWide(const wchar_t* text, UINT codePage = CP_ACP);
// The path exactly in the ANSI code page, else its short (8.3) form when that converts
// exactly, else nullopt.
std::optional<std::string> AnsiPathForStartupEntry(const wchar_t* path, UINT codePage = CP_ACP);
// The full path of this program's file for the entry's data, however it was started;
// nullopt when it has no exact ANSI form.
std::optional<std::string> ProgramPathForStartupEntry();
