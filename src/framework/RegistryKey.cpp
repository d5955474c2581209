#include "framework/RegistryKey.h"

#include <cstring>
#include <utility>

RegistryKey::~RegistryKey()
{
    Close();
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept : m_hKey(std::exchange(other.m_hKey, nullptr))
{
}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept
{
    if (this != &other) {
        Close();
        m_hKey = std::exchange(other.m_hKey, nullptr);
    }
    return *this;
}

LONG RegistryKey::Adopt(LONG status, HKEY opened)
{
    if (status != ERROR_SUCCESS)
        return status;
    LONG closed = Close();
    m_hKey = opened;
    return closed;
}

LONG RegistryKey::Open(HKEY root, const char* path, REGSAM access)
{
    HKEY opened = nullptr;
    LONG status = RegOpenKeyExA(root, path, 0, access, &opened);
    return Adopt(status, opened);
}

LONG RegistryKey::Create(HKEY root, const char* path, REGSAM access)
{
    HKEY opened = nullptr;
    LONG status =
        RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &opened, nullptr);
    return Adopt(status, opened);
}

LONG RegistryKey::Close()
{
    if (!m_hKey)
        return ERROR_SUCCESS;
    return RegCloseKey(std::exchange(m_hKey, nullptr));
}

// The stored bytes need not end in a zero (any program can write a REG_SZ value of
// any length), so the terminator is ours: appended when there is room, and a value
// that fills the whole buffer without one counts as too long.
LONG RegistryKey::ReadString(const char* name, char* buffer, DWORD& size) const
{
    const DWORD capacity = size;
    size = 0;
    if (capacity == 0)
        return ERROR_MORE_DATA;
    buffer[0] = '\0';

    DWORD type = REG_NONE;
    DWORD bytes = capacity;
    LONG status = RegQueryValueExA(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (status != ERROR_SUCCESS) {
        buffer[0] = '\0';
        return status;
    }
    if (type != REG_SZ) {
        buffer[0] = '\0';
        return ERROR_INVALID_DATA;
    }
    if (bytes > 0 && bytes <= capacity && buffer[bytes - 1] == '\0') {
        size = bytes;
        return ERROR_SUCCESS;
    }
    if (bytes < capacity) {
        buffer[bytes] = '\0';
        size = bytes + 1;
        return ERROR_SUCCESS;
    }
    buffer[0] = '\0';
    return ERROR_MORE_DATA;
}

// Reads a string of any length up to kMaxStringBytes; the text ends at the first zero.
LONG RegistryKey::ReadString(const char* name, std::string& text) const
{
    text.clear();
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    LONG status = RegQueryValueExA(m_hKey, name, nullptr, &type, nullptr, &bytes);
    if (status != ERROR_SUCCESS)
        return status;
    if (type != REG_SZ)
        return ERROR_INVALID_DATA;
    if (bytes > kMaxStringBytes)
        return ERROR_MORE_DATA;

    std::string buffer(bytes + 1, '\0');  // room for our terminator
    DWORD size = bytes + 1;
    status = ReadString(name, buffer.data(), size);
    if (status == ERROR_SUCCESS)
        text.assign(buffer.c_str());
    return status;
}

LONG RegistryKey::WriteString(const char* name, const char* text, DWORD type) const
{
    const std::size_t length = std::strlen(text);
    if (length >= MAXDWORD)
        return ERROR_INVALID_PARAMETER;
    return RegSetValueExA(m_hKey, name, 0, type, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(length + 1));
}

LONG RegistryKey::DeleteValue(const char* name) const
{
    return RegDeleteValueA(m_hKey, name);
}
