#pragma once

#include <windows.h>

#include <string>

// Holds one open registry key, or none; move-only. Every status is the registry's
// own status code, ERROR_SUCCESS (0) for success.
class RegistryKey {
public:
    // The longest string value that ReadString(name, std::string&) accepts.
    static constexpr DWORD kMaxStringBytes = 64 * 1024;

    RegistryKey() = default;
    ~RegistryKey();
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Open an existing key / open or create one. On success the key held before is
    // closed and the result is that closing's status; on failure nothing changes.
    LONG Open(HKEY root, const char* path, REGSAM access);
    LONG Create(HKEY root, const char* path, REGSAM access);
    LONG Close();

    // size: in, the buffer's capacity in bytes; out, the bytes read, terminator
    // included. The buffer always holds a terminated string afterwards.
    LONG ReadString(const char* name, char* buffer, DWORD& size) const;
    LONG ReadString(const char* name, std::string& text) const;
    // Writes the text and its terminator as a value of the given string type.
    LONG WriteString(const char* name, const char* text, DWORD type = REG_SZ) const;
    LONG DeleteValue(const char* name) const;

    HKEY Get() const { return m_hKey; }
    bool IsOpen() const { return m_hKey != nullptr; }

private:
    LONG Adopt(LONG status, HKEY opened);

    HKEY m_hKey = nullptr;
};
