#include "ui/StartupRegistry.h"

#include <vector>

#include "base/TextWin32.h"
#include "framework/RegistryKey.h"
#include "framework/WinApp.h"

namespace {

// The size of the buffer the menu state reads an entry into, terminator included.
constexpr DWORD kEntryBufferBytes = 260;

} // namespace

HKEY StartupRootKey(StartupScope scope)
{
    return scope == StartupScope::AllUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// A value that is no plain string (REG_EXPAND_SZ included) is Absent; a string too
// long for the buffer is still an entry and is classified by its whole text.
StartupEntryKind ReadStartupEntryKind(StartupScope scope, const std::string& valueName, const char* keyPath)
{
    RegistryKey key;
    if (key.Open(StartupRootKey(scope), keyPath, KEY_READ) != ERROR_SUCCESS)
        return StartupEntryKind::Absent;

    char buffer[kEntryBufferBytes];
    DWORD size = sizeof(buffer);
    LONG status = key.ReadString(valueName.c_str(), buffer, size);
    if (status == ERROR_SUCCESS)
        return ClassifyStartupEntry(buffer);
    if (status == ERROR_MORE_DATA) {
        std::string text;
        if (key.ReadString(valueName.c_str(), text) == ERROR_SUCCESS)
            return ClassifyStartupEntry(text);
    }
    return StartupEntryKind::Absent;
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
