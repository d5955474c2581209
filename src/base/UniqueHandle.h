#pragma once

#include <utility>

// Owns one handle and frees it with Free when the holder goes away. Move-only, so a
// handle is never freed twice.
template <class Handle, class Free>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    // Gives up ownership, for a handle that the window system takes over.
    Handle Release() { return std::exchange(m_handle, nullptr); }
    void Reset()
    {
        if (m_handle)
            Free{}(std::exchange(m_handle, nullptr));
    }

private:
    Handle m_handle = nullptr;
};
