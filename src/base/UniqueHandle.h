#pragma once

#include <utility>

// Says which value of a handle type holds nothing: null for most handles. A handle
// type whose "none" is another value (a descriptor's -1, a file's
// INVALID_HANDLE_VALUE) names its own.
template <class Handle>
struct NullHandle {
    static constexpr Handle Value() { return Handle{}; }
};

// Owns one handle and frees it with Free when the holder goes away. Move-only, so a
// handle is never freed twice.
template <class Handle, class Free, class Empty = NullHandle<Handle>>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Empty::Value(); }
    // Gives up ownership, for a handle that the window system or a stream takes over.
    Handle Release() { return std::exchange(m_handle, Empty::Value()); }
    // Frees the handle held, if any, and holds the one given.
    void Reset(Handle handle = Empty::Value())
    {
        const Handle old = std::exchange(m_handle, handle);
        if (old != Empty::Value())
            Free{}(old);
    }

private:
    Handle m_handle = Empty::Value();
};
