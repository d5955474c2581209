#include "base/UserFolders.h"

#include <windows.h>

namespace {

// The variable's value as the system holds it (wide, so that no character is lost);
// nullopt when it is not set or empty.
std::optional<std::wstring> Variable(const wchar_t* name)
{
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (length == 0)
            return std::nullopt;
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length);  // the size asked for, terminator included
    }
}

} // namespace

std::optional<std::filesystem::path> ProgramFolder(UserFolder kind)
{
    if (kind == UserFolder::Runtime)
        return std::nullopt;
    const std::optional<std::wstring> base = Variable(kind == UserFolder::Config ? L"APPDATA" : L"LOCALAPPDATA");
    if (!base)
        return std::nullopt;
    return std::filesystem::path(*base) / L"Rampwise";
}
