#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/StartupCommands.h"
#include "ui/StartupEntry.h"

// The autostart entries on the real registry. keyPath exists for tests only: every
// caller in the program uses the Run key. The key is opened, never created.

// The Startup commands' entries in the Run keys, named by this program's own path.
class RegistryStartupStore final : public StartupStore {
public:
    explicit RegistryStartupStore(const char* keyPath = kStartupRunKeyPath) : m_keyPath(keyPath) {}

    std::string Read(StartupScope scope, const std::string& valueName) const override;
    std::vector<std::string> EntryNames(StartupScope scope) const override;
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
// The names of this program's entries in the scope's key (see IsStartupValueName).
std::vector<std::string> StartupEntryNames(StartupScope scope, const char* keyPath = kStartupRunKeyPath);

// Writes data as a REG_SZ value, replacing any value of that name in one step.
LONG WriteStartupEntry(StartupScope scope, const std::string& valueName, const std::string& data,
                       const char* keyPath = kStartupRunKeyPath);
// A value that does not exist counts as deleted (0); a key that cannot be opened does not.
LONG DeleteStartupEntry(StartupScope scope, const std::string& valueName,
                        const char* keyPath = kStartupRunKeyPath);

// The path exactly in the ANSI code page (see ExactAnsiFromWide), else its short (8.3)
// form when that converts exactly, else nullopt. codePage exists for tests.
std::optional<std::string> AnsiPathForStartupEntry(const wchar_t* path, UINT codePage = CP_ACP);
// The full path of this program's file for the entry's data, however it was started;
// nullopt when it has no exact ANSI form.
std::optional<std::string> ProgramPathForStartupEntry();
