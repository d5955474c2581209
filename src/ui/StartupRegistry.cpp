#include "ui/StartupRegistry.h"

#include <vector>

#include "base/TextWin32.h"
#include "framework/RegistryKey.h"
#include "framework/WinApp.h"

static_assert(kStartupPathNotRepresentable == ERROR_INVALID_PARAMETER);
static_assert(ERROR_SUCCESS == 0, "the Startup commands take 0 for done");

std::string RegistryStartupStore::Read(StartupScope scope, const std::string& valueName) const
{
    return ReadStartupEntry(scope, valueName, m_keyPath);
}

long RegistryStartupStore::Write(StartupScope scope, const std::string& valueName, const std::string& command)
{
    return WriteStartupEntry(scope, valueName, command, m_keyPath);
}

long RegistryStartupStore::Delete(StartupScope scope, const std::string& valueName)
{
    return DeleteStartupEntry(scope, valueName, m_keyPath);
}

std::vector<std::string> RegistryStartupStore::EntryNames(StartupScope scope) const
{
    return StartupEntryNames(scope, m_keyPath);
}

bool RegistryStartupStore::CanWrite(StartupScope scope) const
{
    return CanWriteStartupEntries(scope, m_keyPath);
}

std::optional<std::string> RegistryStartupStore::ProgramPath() const
{
    return ProgramPathForStartupEntry();
}

HKEY StartupRootKey(StartupScope scope)
{
    return scope == StartupScope::AllUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

std::string ReadStartupEntry(StartupScope scope, const std::string& valueName, const char* keyPath)
{
    RegistryKey key;
    std::string text;
    if (key.Open(StartupRootKey(scope), keyPath, KEY_READ) != ERROR_SUCCESS ||
        key.ReadString(valueName.c_str(), text) != ERROR_SUCCESS)
        return {};
    return text;
}

std::vector<std::string> StartupEntryNames(StartupScope scope, const char* keyPath)
{
    std::vector<std::string> names;
    RegistryKey key;
    if (key.Open(StartupRootKey(scope), keyPath, KEY_READ) != ERROR_SUCCESS)
        return names;
    // A value name has at most 16383 characters.
    char name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof(name);
        const LONG status = RegEnumValueA(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS || (status != ERROR_SUCCESS && status != ERROR_MORE_DATA))
            break;
        if (status == ERROR_SUCCESS && IsStartupValueName(std::string_view(name, length)))
            names.emplace_back(name, length);
    }
    return names;
}

bool CanWriteStartupEntries(StartupScope scope, const char* keyPath)
{
    RegistryKey key;
    return key.Open(StartupRootKey(scope), keyPath, KEY_WRITE) == ERROR_SUCCESS;
}

LONG WriteStartupEntry(StartupScope scope, const std::string& valueName, const std::string& data,
                       const char* keyPath)
{
    RegistryKey key;
    LONG status = key.Open(StartupRootKey(scope), keyPath, KEY_WRITE);
    if (status != ERROR_SUCCESS)
        return status;
    return key.WriteString(valueName.c_str(), data.c_str(), REG_SZ);
}

LONG DeleteStartupEntry(StartupScope scope, const std::string& valueName, const char* keyPath)
{
    RegistryKey key;
    LONG status = key.Open(StartupRootKey(scope), keyPath, KEY_WRITE);
    if (status != ERROR_SUCCESS)
        return status;
    status = key.DeleteValue(valueName.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

std::optional<std::string> AnsiPathForStartupEntry(const wchar_t* path, UINT codePage)
{
    if (std::optional<std::string> exact = ExactAnsiFromWide(path, codePage))
        return exact;

    DWORD length = GetShortPathNameW(path, nullptr, 0);
    if (length == 0)
        return std::nullopt;
    std::vector<wchar_t> shortPath(length);
    DWORD written = GetShortPathNameW(path, shortPath.data(), length);
    if (written == 0 || written >= length)
        return std::nullopt;
    return ExactAnsiFromWide(shortPath.data(), codePage);
}

// Not the command line's first word: started from a shell as "rampwise", that would
// name no file at the next log-on.
std::optional<std::string> ProgramPathForStartupEntry()
{
    const std::wstring path = GetModuleFilePath();
    if (path.empty())
        return std::nullopt;
    return AnsiPathForStartupEntry(path.c_str());
}
