#include "ui/StartupRegistry.h"

#include <vector>

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

std::optional<std::string> ExactAnsiFromWide(const wchar_t* text, UINT codePage)
{
    if (!text[0])
        return std::string();
    // UTF-8 (the program's code page from Windows 10 1903 on) takes neither flag; it
    // holds every valid character.
    const UINT page = codePage == CP_ACP ? GetACP() : codePage;
    const bool utf8 = page == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;

    int size = WideCharToMultiByte(page, flags, text, -1, nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 1 || usedDefault)
        return std::nullopt;
    std::string narrow(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(page, flags, text, -1, narrow.data(), size, nullptr, usedDefaultOut) != size ||
        usedDefault)
        return std::nullopt;
    narrow.resize(static_cast<std::size_t>(size - 1));
    return narrow;
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
