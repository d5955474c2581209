#pragma once

#include <windows.h>

#include <utility>

// Owns one GDI object (pen, brush, region, bitmap) and deletes it. Move-only, so a
// handle is never deleted twice.
template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : m_handle(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    // Gives up ownership, for a handle that the window system takes over.
    Handle Release() { return std::exchange(m_handle, nullptr); }
    void Reset()
    {
        if (m_handle)
            DeleteObject(m_handle);
        m_handle = nullptr;
    }

private:
    Handle m_handle = nullptr;
};

using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Region = GdiObject<HRGN>;
using Bitmap = GdiObject<HBITMAP>;

// Selects an object into a device context and puts the previous one back, so that an
// object is never deleted while selected. Declare it after the object it selects.
class SelectGuard {
public:
    SelectGuard(HDC hdc, HGDIOBJ object) : m_hdc(hdc), m_previous(SelectObject(hdc, object)) {}
    ~SelectGuard()
    {
        if (m_previous)
            SelectObject(m_hdc, m_previous);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_previous;
};

// A memory device context compatible with the screen, deleted with the holder.
class MemoryDC {
public:
    MemoryDC() : m_hdc(CreateCompatibleDC(nullptr)) {}
    ~MemoryDC()
    {
        if (m_hdc)
            DeleteDC(m_hdc);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    HDC Get() const { return m_hdc; }

private:
    HDC m_hdc;
};

// The device context of a window's client area, released with the holder.
class ClientDC {
public:
    explicit ClientDC(HWND hwnd) : m_hwnd(hwnd), m_hdc(GetDC(hwnd)) {}
    ~ClientDC()
    {
        if (m_hdc)
            ReleaseDC(m_hwnd, m_hdc);
    }
    ClientDC(const ClientDC&) = delete;
    ClientDC& operator=(const ClientDC&) = delete;

    HDC Get() const { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};
